// CCrusherFile: the document's file. Every buffer-full the archive writes is compressed by the
// block codec and stored as "ARQ32", the uncompressed and compressed lengths and the compressed
// bytes; a buffer that does not shrink is stored raw. Reading undoes this block by block, which
// works because the archive reads with the buffer size it wrote with.
#pragma once
#include <windows.h>

#include "framework/files/File.h"

class CCrusherFile : public CFile {
  DECLARE_DYNAMIC(CCrusherFile)
 public:
  static const UINT kMagicLength = 5;

  // Throws CUserException when the codec cannot be started.
  CCrusherFile();
  // Shuts the codec down when this file started it.
  ~CCrusherFile() override;

  void SetFilePath(LPCSTR lpszNewName) override;
  // A compressed block whose lengths do not fit the request, that is cut short or that does not
  // expand throws CDamagedFileException (invalidFile, or endOfFile when cut short).
  UINT Read(void* lpBuf, UINT nCount) override;
  void Write(const void* lpBuf, UINT nCount) override;

 private:
  // Reads exactly nCount bytes, or fewer only at the end of the file.
  UINT ReadFully(void* lpBuf, UINT nCount);
  bool m_bStartedCodec = false;
};
