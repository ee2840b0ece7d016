#include "toolkit/ToolkitData.h"

CTkToolkitData& ToolkitData() {
  static CTkToolkitData data;
  return data;
}
