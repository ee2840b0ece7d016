// Writing an archive onto diskettes: the rewritten copy, made on a fixed drive, is copied onto
// the removable drive volume by volume, asking for a new formatted diskette whenever one is
// full.
#include <cstdint>
#include <limits>

#include "foundation/codec/Crusher.h"
#include "foundation/update/ArqFileTable.h"
#include "foundation/update/ArqSpan.h"
#include "updater/archive/ArchiveLayer.h"
#include "updater/archive/ArchiveState.h"

using namespace archive_layer;

namespace {

class CDisketteTarget : public ArqVolumeTarget {
 public:
  CDisketteTarget(int handle, const std::string& name)
      : m_handle(handle), m_name(name), m_folder(FolderOf(name)) {
    m_free = CurrentArchiveDrive().FreeBytes(m_folder);
  }

  int64_t Room() override {
    // A drive that cannot say how much room it has is taken as having enough.
    if (m_free < 0) return std::numeric_limits<int64_t>::max() / 2;
    return m_free - m_written;
  }

  int Write(const void* data, int size) override {
    int status = ArqHandleSink(m_handle).Write(data, size);
    if (status == 0) m_written += size;
    return status;
  }

  // The full diskette is closed first, so it can be taken out while the user is asked.
  int NextVolume(uint32_t volume) override {
    if (ArqFileSuspend(m_handle) < 0) return ARQ_BAD_FILE;
    CrusherArchiveState* state = CrusherGetArchiveState();
    if (state) state->volume = static_cast<int>(volume);
    for (int prompts = 1;; ++prompts) {
      if (prompts > arq::kMaxDiskettePrompts) return ARQ_GAVE_UP;
      if (state) state->prompts = prompts;
      if (Notify(ARCHIVE_EVENT_NEW_DISKETTE, volume + 1, m_name.c_str()) == kArchiveGiveUp)
        return ARQ_GAVE_UP;
      m_free = CurrentArchiveDrive().FreeBytes(m_folder);
      if (m_free > arq::kMinDisketteFree) break;
    }
    if (ArqDisketteClass(m_free) < 0) return ARQ_DISKETTE_TOO_SMALL;
    m_written = 0;
    return ArqFileResume(m_handle, true);
  }

 private:
  int m_handle;
  std::string m_name, m_folder;
  int64_t m_free = -1;
  int64_t m_written = 0;
};

}  // namespace

namespace archive_layer {

int WriteSpannedArchive(const std::string& from, const std::string& to) {
  int in = ArqFileOpen(from.c_str(), arq::kOpenRead);
  if (in < 0) return in;
  int out = ArqFileOpen(to.c_str(), arq::kOpenCreate | arq::kOpenRead);
  if (out < 0) {
    ArqFileClose(in);
    return out;
  }
  CDisketteTarget target(out, to);
  ArqHandleSource source(in);
  int status = ArqWriteSpanned(source, target);
  ArqFileClose(out);
  ArqFileClose(in);
  return status;
}

}  // namespace archive_layer
