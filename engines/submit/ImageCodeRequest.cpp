#include "engines/submit/ImageCodeRequest.h"

CImageCodeRequest::CImageCodeRequest(const CLibString& engineName, const CLibString& imagePath,
                                     int timeoutSeconds)
    : m_engineName(engineName),
      m_imagePath(imagePath),
      m_timeout(timeoutSeconds > 0 ? timeoutSeconds : kDefaultTimeout) {
  InitializeCriticalSection(&m_lock);
}

CImageCodeRequest::~CImageCodeRequest() {
  // The image was only ever a temporary copy for the user to read.
  if (m_imagePath.GetLength() > 0) DeleteFileA(m_imagePath.c_str());
  DeleteCriticalSection(&m_lock);
}

void CImageCodeRequest::AddRef() {
  m_references.fetch_add(1);
}

void CImageCodeRequest::Release() {
  if (m_references.fetch_sub(1) == 1) delete this;
}

void CImageCodeRequest::SetAnswer(const CLibString& code) {
  EnterCriticalSection(&m_lock);
  if (!m_done.load()) {
    m_answer = code;
    m_done = 1;
  }
  LeaveCriticalSection(&m_lock);
}

CLibString CImageCodeRequest::GetAnswer() const {
  EnterCriticalSection(&m_lock);
  CLibString answer = m_done.load() ? m_answer : CLibString();
  LeaveCriticalSection(&m_lock);
  return answer;
}
