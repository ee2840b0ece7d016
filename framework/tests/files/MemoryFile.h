// A CFile held in memory for the archive tests; it records the size of every read request and
// of every write, so tests can see how the archive talks to its file.
#pragma once
#include <cstring>
#include <vector>

#include "framework/files/File.h"

class CTestMemoryFile : public CFile {
 public:
  CTestMemoryFile() { m_strFileName = "memory.bin"; }
  explicit CTestMemoryFile(std::vector<BYTE> data) : CTestMemoryFile() { bytes = std::move(data); }

  UINT Read(void* lpBuf, UINT nCount) override {
    readRequests.push_back(nCount);
    size_t n = bytes.size() - position < nCount ? bytes.size() - position : nCount;
    std::memcpy(lpBuf, bytes.data() + position, n);
    position += n;
    return static_cast<UINT>(n);
  }
  void Write(const void* lpBuf, UINT nCount) override {
    writes.push_back(nCount);
    const BYTE* p = static_cast<const BYTE*>(lpBuf);
    bytes.insert(bytes.end(), p, p + nCount);
  }
  ULONGLONG GetLength() const override { return bytes.size(); }
  ULONGLONG GetPosition() const override { return position; }

  std::vector<BYTE> bytes;
  size_t position = 0;
  std::vector<UINT> readRequests;
  std::vector<UINT> writes;
};
