#include "toolkit/menus/TkMenuShared.h"

TkMenuShared& TkMenuState() {
  static TkMenuShared state;
  return state;
}
