// libFuzzer target for the update archives' reader. The input is taken as an archive: every
// header is parsed and every member decoded into a sink that checks it never gets more than the
// header allows. Any status may come back; a crash, a hang or a write out of bounds is the fault.
#include <cstdint>
#include <cstdlib>

#include "foundation/Crusher.h"
#include "foundation/update/ArqFormat.h"

namespace {

class BoundedSink : public ArqSink {
 public:
  explicit BoundedSink(uint32_t room) : room_(room) {}
  int Write(const void*, int size) override {
    if (size < 0 || static_cast<uint32_t>(size) > room_) std::abort();
    room_ -= static_cast<uint32_t>(size);
    return 0;
  }

 private:
  uint32_t room_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool ready = CrusherInit() == CRUSHER_OK;
  if (!ready) std::abort();
  ArqMemorySource finder(data, size);
  int64_t start = ArqFindStart(finder);
  ArqMemorySource source(data, size);
  if (start > 0) source.Skip(start);
  for (int i = 0; i < 64; ++i) {
    ArqMemberHeader h;
    if (ArqReadHeader(source, h) != ARQ_OK) break;
    ArqIsSafeName(h.name);
    BoundedSink sink(h.uncompressedSize);
    if (ArqDecodeMember(source, h, &sink) != ARQ_OK) break;
  }
  ArqMemorySource again(data, size);
  ArqTestArchive(again);
  return 0;
}
