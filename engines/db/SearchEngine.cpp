#include "engines/db/SearchEngine.h"

#include <cstdlib>
#include <new>

#include "engines/query/DebugOptions.h"
#include "engines/db/EngineKeys.h"

CSearchEngine::CSearchEngine() {
  Init();
}

CSearchEngine::~CSearchEngine() {
  delete m_forms;
  m_forms = nullptr;
  FreeResults();
}

void CSearchEngine::Init() {
  m_maxResults = 0;
  m_timeout = 0;
  m_pageIndex = 0;
  m_pageResults = 0;
  m_previousRank = 0;
  m_submitCount = 0;
  m_firstSubmitDate = 0;
  m_lastSubmitDate = 0;
  m_lastVisitDate = 0;
  m_submitted = 0;
  m_enabled = 1;
  delete m_forms;
  m_forms = new (std::nothrow) CFormRecord;
  m_pagesParsed = 0;
  m_firstPageResults = 0;
  m_nextLinkFound = 0;
  m_totalHits = 0;
  m_debug = IsDebugOn() ? 1 : 0;
}

void CSearchEngine::FreeResults() {
  while (CListNode* node = m_results.Head()) {
    delete static_cast<CSearchResult*>(node->Payload());
    m_results.Remove(node, true);
  }
}

CLibString CSearchEngine::GetKey(const char* key) const {
  return GetEngineKey(GetName(), key);
}

int CSearchEngine::GetKeyInt(const char* key) const {
  return atoi(GetKey(key).c_str());
}

CSearchEngine* CSearchEngine::Clone() const {
  CSearchEngine* clone = new (std::nothrow) CSearchEngine;
  if (!clone) return nullptr;
  if (!clone->m_forms) {
    delete clone;
    return nullptr;
  }
  clone->m_name = m_name;
  if (m_forms) *clone->m_forms = *m_forms;
  return clone;
}

int32_t CSearchEngine::RunQuery(const CLibString& keywords, int32_t maxResults,
                                int32_t timeoutSeconds) {
  RaiseEvent(kEngineQueryStart);
  m_keywords = keywords;
  m_maxResults = maxResults;
  m_timeout = timeoutSeconds;
  GetResults();
  RaiseEvent(kEngineQueryEnd, static_cast<uintptr_t>(m_connectionOk.load()));
  return GetResultCount();
}

void CSearchEngine::OnIdle() {
  CFormSubmitter::OnIdle();
  RaiseEvent(kEngineIdle);
}
