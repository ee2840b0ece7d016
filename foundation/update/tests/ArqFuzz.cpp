// libFuzzer target for what the update program reads from the network. The first byte chooses:
//   even: an archive: every header is parsed and every member decoded into a sink that checks it
//         never gets more than the header allows;
//   odd:  a catalogue: parsed, and every listed name and archive name it yields must be safe.
// Any status may come back; a crash, a hang or a write out of bounds is the fault.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "foundation/codec/Crusher.h"
#include "foundation/update/ArqFormat.h"
#include "foundation/update/UpdateCatalog.h"

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

void FuzzCatalogue(const uint8_t* data, size_t size) {
  UpdateCatalog c = ParseUpdateCatalog(std::string(reinterpret_cast<const char*>(data), size));
  for (const CatalogueEntry& e : c.entries) {
    if (!ArqIsSafeName(e.name)) std::abort();
    std::string archive = LocalArchiveName(e.httpPath);
    if (IsDownloadableArchiveName(archive) && !ArqIsSafeName(archive, false)) std::abort();
  }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool ready = CrusherInit() == CRUSHER_OK;
  if (!ready) std::abort();
  if (size < 1) return 0;
  bool catalogue = data[0] & 1;
  ++data;
  --size;
  if (catalogue) {
    FuzzCatalogue(data, size);
    return 0;
  }
  ArqMemorySource finder(data, size);
  int64_t start = ArqFindStart(finder);
  ArqMemorySource source(data, size);
  if (start > 0) source.Skip(start);
  for (int i = 0; i < 64; ++i) {
    ArqMemberHeader h;
    if (ArqReadHeader(source, h) != ARQ_OK) break;
    ArqIsSafeName(h.name);
    BoundedSink sink(h.uncompressedSize);
    // Enciphered members are deciphered with a password: the cipher header and the rest.
    if (ArqDecodeMember(source, h, &sink, (h.flags & arq::kFlagEncrypted) ? "pw" : nullptr) !=
        ARQ_OK)
      break;
  }
  ArqMemorySource again(data, size);
  ArqTestArchive(again);
  ArqMemorySource withPassword(data, size);
  ArqTestArchive(withPassword, nullptr, nullptr, "pw");
  return 0;
}
