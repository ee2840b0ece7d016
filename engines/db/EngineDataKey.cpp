#include "engines/db/EngineDataKey.h"

namespace {

// 20 characters; only the middle 14 (index 3 on) are the key. The characters around it keep the
// key from standing as a string of its own in the binary.
const char kDataConstant[] = "q#7Tv!Kp9ZrM4wx2Lh@b";
static_assert(sizeof(kDataConstant) == 21, "the data constant has 20 characters");

constexpr int kKeyStart = 3;
constexpr int kKeyLength = 14;

}  // namespace

CLibString BuildEngineDataKey() {
  return CLibString(kDataConstant).Mid(kKeyStart, kKeyLength);
}
