#include "framework/files/Archive.h"

#include <cstring>

#include "framework/core/OleDateTime.h"

namespace {
// Object and class tags. A 16-bit tag is a back reference to the object of that index, or with
// the class bit a reference to a known class; 0xFFFF introduces a new class; 0x7FFF says that a
// 32-bit tag follows for indexes that do not fit.
const WORD kNullTag = 0;
const WORD kNewClassTag = 0xFFFF;
const WORD kClassTag = 0x8000;
const DWORD kBigClassTag = 0x80000000;
const WORD kBigObjectTag = 0x7FFF;
const DWORD kMaxMapCount = 0x3FFFFFFE;
const int kMaxClassName = 64;
// No string the programs store comes near this; a larger length is a damaged file.
const DWORD kMaxStringLength = 16 * 1024 * 1024;
}  // namespace

CArchive::CArchive(CFile* pFile, UINT nMode, int nBufSize, void* lpBuf)
    : m_pFile(pFile), m_nMode(nMode), m_nBufSize(nBufSize < 128 ? 128 : nBufSize) {
  m_bUserBuf = lpBuf != nullptr;
  m_lpBufStart = m_bUserBuf ? static_cast<BYTE*>(lpBuf) : new BYTE[m_nBufSize];
  m_lpBufCur = m_lpBufStart;
  m_lpBufMax = IsLoading() ? m_lpBufStart : m_lpBufStart + m_nBufSize;
  if (m_pFile) m_strFileName = m_pFile->GetFilePath();
}

CArchive::~CArchive() {
  if (m_pFile && IsStoring() && !(m_nMode & bNoFlushOnDelete)) {
    try {
      Flush();
    } catch (const CException&) {
      // A destructor cannot report; Close is the way to hear of a failed write.
    }
  }
  m_pFile = nullptr;
  if (!m_bUserBuf) delete[] m_lpBufStart;
}

void CArchive::Throw(int cause) const {
  throw CArchiveException(cause, m_strFileName);
}

BOOL CArchive::FillBuffer() {
  UINT n = m_pFile->Read(m_lpBufStart, m_nBufSize);
  m_lpBufCur = m_lpBufStart;
  m_lpBufMax = m_lpBufStart + n;
  return n > 0;
}

UINT CArchive::Read(void* lpBuf, UINT nMax) {
  if (!IsLoading()) Throw(CArchiveException::writeOnly);
  if (!m_pFile) Throw(CArchiveException::genericException);
  BYTE* out = static_cast<BYTE*>(lpBuf);
  UINT done = 0;
  while (done < nMax) {
    if (m_lpBufCur == m_lpBufMax && !FillBuffer()) break;
    UINT chunk = static_cast<UINT>(m_lpBufMax - m_lpBufCur);
    if (chunk > nMax - done) chunk = nMax - done;
    std::memcpy(out + done, m_lpBufCur, chunk);
    m_lpBufCur += chunk;
    done += chunk;
  }
  return done;
}

void CArchive::Write(const void* lpBuf, UINT nMax) {
  if (!IsStoring()) Throw(CArchiveException::readOnly);
  if (!m_pFile) Throw(CArchiveException::genericException);
  const BYTE* in = static_cast<const BYTE*>(lpBuf);
  while (nMax > 0) {
    UINT room = static_cast<UINT>(m_lpBufMax - m_lpBufCur);
    if (room == 0) {
      Flush();
      continue;
    }
    UINT chunk = nMax < room ? nMax : room;
    std::memcpy(m_lpBufCur, in, chunk);
    m_lpBufCur += chunk;
    in += chunk;
    nMax -= chunk;
  }
}

void CArchive::Flush() {
  if (!IsStoring() || !m_pFile) return;
  UINT n = static_cast<UINT>(m_lpBufCur - m_lpBufStart);
  // Reset first: a failed write must not be written again by the destructor.
  m_lpBufCur = m_lpBufStart;
  if (n) m_pFile->Write(m_lpBufStart, n);
}

void CArchive::Close() {
  if (m_pFile && IsStoring()) Flush();
  m_pFile = nullptr;
}

void CArchive::Abort() {
  m_lpBufCur = m_lpBufStart;
  m_pFile = nullptr;
}

CArchive& CArchive::Put(const void* p, UINT n) {
  Write(p, n);
  return *this;
}

CArchive& CArchive::Get(void* p, UINT n) {
  if (Read(p, n) != n) Throw(CArchiveException::endOfFile);
  return *this;
}

void CArchive::WriteCount(DWORD_PTR dwCount) {
  if (dwCount < 0xFFFF) {
    *this << static_cast<WORD>(dwCount);
  } else {
    *this << static_cast<WORD>(0xFFFF) << static_cast<DWORD>(dwCount);
  }
}

DWORD_PTR CArchive::ReadCount() {
  WORD w;
  *this >> w;
  if (w != 0xFFFF) return w;
  DWORD dw;
  *this >> dw;
  return dw;
}

CArchive& CArchive::operator<<(const CString& s) {
  DWORD length = static_cast<DWORD>(s.GetLength());
  if (length < 0xFF) {
    *this << static_cast<BYTE>(length);
  } else if (length < 0xFFFE) {
    *this << static_cast<BYTE>(0xFF) << static_cast<WORD>(length);
  } else {
    *this << static_cast<BYTE>(0xFF) << static_cast<WORD>(0xFFFF) << length;
  }
  Write(s.GetString(), length);
  return *this;
}

CArchive& CArchive::operator>>(CString& s) {
  DWORD length;
  BYTE by;
  *this >> by;
  if (by < 0xFF) {
    length = by;
  } else {
    WORD w;
    *this >> w;
    if (w == 0xFFFE) Throw(CArchiveException::genericException);  // a wide string: never written
    if (w < 0xFFFE) {
      length = w;
    } else {
      *this >> length;
    }
  }
  if (length > kMaxStringLength) Throw(CArchiveException::badIndex);
  // Read in pieces, so that a damaged length runs into the end of the file instead of asking
  // for gigabytes up front.
  CString result;
  const DWORD kPiece = 65536;
  for (DWORD done = 0; done < length;) {
    DWORD piece = length - done < kPiece ? length - done : kPiece;
    char* p = result.GetBufferSetLength(static_cast<int>(done + piece)) + done;
    Get(p, piece);
    done += piece;
  }
  s = result;
  return *this;
}

CArchive& CArchive::operator<<(const COleDateTime& dt) {
  return *this << static_cast<LONG>(dt.m_status) << dt.m_dt;
}

CArchive& CArchive::operator>>(COleDateTime& dt) {
  LONG status;
  double value;
  *this >> status >> value;
  dt.m_status = static_cast<COleDateTime::DateTimeStatus>(status);
  dt.m_dt = value;
  return *this;
}

void CArchive::WriteTag(DWORD index, bool isClass) {
  if (index < kBigObjectTag) {
    *this << static_cast<WORD>(isClass ? (kClassTag | index) : index);
  } else {
    *this << kBigObjectTag << static_cast<DWORD>(isClass ? (kBigClassTag | index) : index);
  }
}

void CArchive::WriteClass(const CRuntimeClass* pClass) {
  if (pClass->m_wSchema == 0xFFFF) Throw(CArchiveException::badClass);
  auto found = m_storeMap.find(pClass);
  if (found != m_storeMap.end()) {
    WriteTag(found->second, true);
    return;
  }
  WORD nameLength = static_cast<WORD>(std::strlen(pClass->m_lpszClassName));
  *this << kNewClassTag << static_cast<WORD>(pClass->m_wSchema) << nameLength;
  Write(pClass->m_lpszClassName, nameLength);
  DWORD index = static_cast<DWORD>(m_storeMap.size()) + 1;
  if (index > kMaxMapCount) Throw(CArchiveException::badIndex);
  m_storeMap.emplace(pClass, index);
}

void CArchive::WriteObject(const CObject* pOb) {
  if (!IsStoring()) Throw(CArchiveException::readOnly);
  if (!pOb) {
    *this << kNullTag;
    return;
  }
  auto found = m_storeMap.find(pOb);
  if (found != m_storeMap.end()) {
    WriteTag(found->second, false);
    return;
  }
  WriteClass(pOb->GetRuntimeClass());
  DWORD index = static_cast<DWORD>(m_storeMap.size()) + 1;
  if (index > kMaxMapCount) Throw(CArchiveException::badIndex);
  // Entered before its members are written, so that a member pointing back at it becomes a
  // back reference instead of an endless recursion.
  m_storeMap.emplace(pOb, index);
  const_cast<CObject*>(pOb)->Serialize(*this);
}

CObject* CArchive::ReadObject(const CRuntimeClass* pClassRefRequested) {
  if (!IsLoading()) Throw(CArchiveException::writeOnly);
  if (m_loadArray.empty()) m_loadArray.push_back({nullptr, false});  // index 0: null

  WORD tag;
  *this >> tag;
  DWORD objTag;
  if (tag == kBigObjectTag) {
    *this >> objTag;
  } else {
    objTag = (static_cast<DWORD>(tag & kClassTag) << 16) | (tag & ~kClassTag);
  }

  const CRuntimeClass* pClass = nullptr;
  if (tag == kNewClassTag) {
    WORD schema, nameLength;
    *this >> schema >> nameLength;
    if (nameLength == 0 || nameLength > kMaxClassName) Throw(CArchiveException::badClass);
    char name[kMaxClassName + 1];
    Get(name, nameLength);
    name[nameLength] = '\0';
    pClass = CRuntimeClass::FromName(name);
    if (!pClass || pClass->m_wSchema == 0xFFFF) Throw(CArchiveException::badClass);
    if (pClass->m_wSchema != schema) Throw(CArchiveException::badSchema);
    if (m_loadArray.size() > kMaxMapCount) Throw(CArchiveException::badIndex);
    m_loadArray.push_back({const_cast<CRuntimeClass*>(pClass), true});
  } else if (objTag & kBigClassTag) {
    DWORD index = objTag & ~kBigClassTag;
    if (index == 0 || index >= m_loadArray.size() || !m_loadArray[index].isClass) {
      Throw(CArchiveException::badIndex);
    }
    pClass = static_cast<const CRuntimeClass*>(m_loadArray[index].p);
  } else {
    // A reference to an object read before, or null.
    if (objTag >= m_loadArray.size() || m_loadArray[objTag].isClass) {
      Throw(CArchiveException::badIndex);
    }
    CObject* pOb = static_cast<CObject*>(m_loadArray[objTag].p);
    if (pOb && pClassRefRequested && !pOb->IsKindOf(pClassRefRequested)) {
      Throw(CArchiveException::badClass);
    }
    return pOb;
  }

  if (pClassRefRequested && !pClass->IsDerivedFrom(pClassRefRequested)) {
    Throw(CArchiveException::badClass);
  }
  CObject* pOb = pClass->CreateObject();
  if (!pOb) Throw(CArchiveException::badClass);
  if (m_loadArray.size() > kMaxMapCount) {
    delete pOb;
    Throw(CArchiveException::badIndex);
  }
  size_t index = m_loadArray.size();
  m_loadArray.push_back({pOb, false});
  try {
    pOb->Serialize(*this);
  } catch (...) {
    // The half-read object is nobody's: it never reached the caller.
    m_loadArray[index].p = nullptr;
    delete pOb;
    throw;
  }
  return pOb;
}
