// CArchive: the framework's binary stream over a CFile, for loading or for storing. Numbers are
// little-endian; strings carry a 1-, 3- or 7-byte length prefix; objects go with their class
// (name and schema the first time, a class tag later) and an object met again is written as a
// back reference, so that a graph of CObjects reads back with its sharing intact.
//
// The file sees whole buffers only: every write is one buffer-full (the last may be shorter) and
// every read asks for one buffer-full, so a file class that transforms blocks (compression)
// gets back on loading exactly the blocks it was given on storing.
//
// Errors throw CArchiveException (reading past the end, a bad class, tag or schema) or the
// file's CFileException.
#pragma once
#include <windows.h>

#include <unordered_map>
#include <vector>

#include "framework/exceptions/ArchiveException.h"
#include "framework/files/File.h"
#include "framework/core/Object.h"
#include "framework/core/String.h"

class COleDateTime;

class CArchive {
 public:
  enum Mode { store = 0, load = 1, bNoFlushOnDelete = 2 };

  CArchive(CFile* pFile, UINT nMode, int nBufSize = 4096, void* lpBuf = nullptr);
  CArchive(const CArchive&) = delete;
  CArchive& operator=(const CArchive&) = delete;
  // A storing archive that was not closed is flushed (unless bNoFlushOnDelete); errors of that
  // flush are dropped, so Close is the way to learn of them.
  ~CArchive();

  BOOL IsLoading() const { return (m_nMode & load) != 0; }
  BOOL IsStoring() const { return (m_nMode & load) == 0; }
  CFile* GetFile() const { return m_pFile; }

  // Raw bytes: Read returns how many were there (fewer only at the end of the file).
  UINT Read(void* lpBuf, UINT nMax);
  void Write(const void* lpBuf, UINT nMax);
  void Flush();
  void Close();
  // Leaves the file without writing what is buffered.
  void Abort();

  // A count: 16 bits, or 0xFFFF followed by 32 bits from 0xFFFF on.
  void WriteCount(DWORD_PTR dwCount);
  DWORD_PTR ReadCount();

  // An object reference (null, back reference, or class and object). Reading creates the object
  // through its runtime class; with pClassRefRequested the object must be of that kind.
  void WriteObject(const CObject* pOb);
  CObject* ReadObject(const CRuntimeClass* pClassRefRequested);

  CArchive& operator<<(BYTE by) { return Put(&by, sizeof by); }
  CArchive& operator<<(char ch) { return Put(&ch, sizeof ch); }
  CArchive& operator<<(WORD w) { return Put(&w, sizeof w); }
  CArchive& operator<<(short w) { return Put(&w, sizeof w); }
  CArchive& operator<<(int i) { return Put(&i, sizeof i); }
  CArchive& operator<<(UINT u) { return Put(&u, sizeof u); }
  CArchive& operator<<(LONG l) { return Put(&l, sizeof l); }
  CArchive& operator<<(DWORD dw) { return Put(&dw, sizeof dw); }
  CArchive& operator<<(float f) { return Put(&f, sizeof f); }
  CArchive& operator<<(double d) { return Put(&d, sizeof d); }
  CArchive& operator<<(const CString& s);
  // The 32-bit status, then the 8-byte day count.
  CArchive& operator<<(const COleDateTime& dt);
  CArchive& operator<<(const CObject* pOb) {
    WriteObject(pOb);
    return *this;
  }

  CArchive& operator>>(BYTE& by) { return Get(&by, sizeof by); }
  CArchive& operator>>(char& ch) { return Get(&ch, sizeof ch); }
  CArchive& operator>>(WORD& w) { return Get(&w, sizeof w); }
  CArchive& operator>>(short& w) { return Get(&w, sizeof w); }
  CArchive& operator>>(int& i) { return Get(&i, sizeof i); }
  CArchive& operator>>(UINT& u) { return Get(&u, sizeof u); }
  CArchive& operator>>(LONG& l) { return Get(&l, sizeof l); }
  CArchive& operator>>(DWORD& dw) { return Get(&dw, sizeof dw); }
  CArchive& operator>>(float& f) { return Get(&f, sizeof f); }
  CArchive& operator>>(double& d) { return Get(&d, sizeof d); }
  CArchive& operator>>(CString& s);
  CArchive& operator>>(COleDateTime& dt);
  CArchive& operator>>(CObject*& pOb) {
    pOb = ReadObject(nullptr);
    return *this;
  }

 private:
  CArchive& Put(const void* p, UINT n);
  CArchive& Get(void* p, UINT n);
  // Reads the next buffer-full from the file; FALSE at its end.
  BOOL FillBuffer();
  [[noreturn]] void Throw(int cause) const;
  void WriteTag(DWORD index, bool isClass);
  void WriteClass(const CRuntimeClass* pClass);

  CFile* m_pFile;
  UINT m_nMode;
  UINT m_nBufSize;
  BYTE* m_lpBufStart;
  bool m_bUserBuf;
  BYTE* m_lpBufCur;
  BYTE* m_lpBufMax;  // end of the valid bytes (loading) or of the buffer (storing)
  CString m_strFileName;

  // Classes and objects share one index space, counted from 1 (0 is the null reference).
  std::unordered_map<const void*, DWORD> m_storeMap;
  struct LoadEntry {
    void* p;
    bool isClass;
  };
  std::vector<LoadEntry> m_loadArray;
};
