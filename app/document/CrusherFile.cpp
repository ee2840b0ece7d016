#include "app/document/CrusherFile.h"

#include <cstring>
#include <memory>
#include <new>

#include "app/document/DamagedFileException.h"
#include "foundation/codec/Crusher.h"
#include "framework/exceptions/MemoryException.h"
#include "framework/exceptions/UserException.h"

IMPLEMENT_DYNAMIC(CCrusherFile, CFile)

namespace {

const char kMagic[] = "ARQ32";

std::unique_ptr<BYTE[]> Allocate(UINT size) {
  std::unique_ptr<BYTE[]> buffer(new (std::nothrow) BYTE[size ? size : 1]);
  if (!buffer) throw CMemoryException();
  return buffer;
}

}  // namespace

CCrusherFile::CCrusherFile() {
  int status = CrusherInit();
  if (status == CRUSHER_OK)
    m_bStartedCodec = true;
  else if (status != CRUSHER_ALREADY_INITIALISED)
    throw CUserException();
}

CCrusherFile::~CCrusherFile() {
  if (m_bStartedCodec) CrusherShutdown();
}

void CCrusherFile::SetFilePath(LPCSTR lpszNewName) {
  m_strFileName = lpszNewName;
}

UINT CCrusherFile::ReadFully(void* lpBuf, UINT nCount) {
  UINT done = 0;
  while (done < nCount) {
    UINT got = CFile::Read(static_cast<BYTE*>(lpBuf) + done, nCount - done);
    if (got == 0) break;
    done += got;
  }
  return done;
}

void CCrusherFile::Write(const void* lpBuf, UINT nCount) {
  if (nCount == 0) return;
  std::unique_ptr<BYTE[]> output = Allocate(nCount);
  int result = CrusherCompress(lpBuf, output.get(), static_cast<int>(nCount));
  if (result > 0) {
    DWORD lengths[2] = {nCount, static_cast<DWORD>(result)};
    CFile::Write(kMagic, kMagicLength);
    CFile::Write(lengths, sizeof lengths);
    CFile::Write(output.get(), static_cast<UINT>(result));
  } else if (result == CRUSHER_NO_GAIN) {
    CFile::Write(lpBuf, nCount);
  } else {
    throw CMemoryException();
  }
}

UINT CCrusherFile::Read(void* lpBuf, UINT nCount) {
  if (nCount == 0) return 0;
  BYTE* out = static_cast<BYTE*>(lpBuf);
  UINT head = nCount < kMagicLength ? nCount : kMagicLength;
  UINT got = ReadFully(out, head);
  if (got < kMagicLength) return got;
  if (memcmp(out, kMagic, kMagicLength) != 0)
    return kMagicLength + ReadFully(out + kMagicLength, nCount - kMagicLength);

  DWORD lengths[2] = {};
  if (ReadFully(lengths, sizeof lengths) != sizeof lengths)
    throw CDamagedFileException(CFileException::endOfFile, m_strFileName);
  DWORD uncompressed = lengths[0];
  DWORD compressed = lengths[1];
  // The writer never stores a block larger than the buffer it was given, nor a compressed
  // block that did not shrink; anything else is damage, not a size to allocate or expand to.
  if (uncompressed > nCount || compressed > nCount || compressed == 0 || uncompressed == 0)
    throw CDamagedFileException(CFileException::invalidFile, m_strFileName);
  std::unique_ptr<BYTE[]> packed = Allocate(compressed);
  if (ReadFully(packed.get(), compressed) != compressed)
    throw CDamagedFileException(CFileException::endOfFile, m_strFileName);
  int status = CrusherDecompress(packed.get(), out, static_cast<int>(uncompressed),
                                 static_cast<int>(compressed), static_cast<int>(nCount));
  if (status == CRUSHER_NO_MEMORY) throw CMemoryException();
  if (status != CRUSHER_OK) throw CDamagedFileException(CFileException::invalidFile, m_strFileName);
  return uncompressed;
}
