#include "engines/EngineSet.h"

#include <atomic>
#include <string>

#include "engines/EngineList.h"
#include "engines/EnginePrototypes.h"
#include "engines/EngineServices.h"
#include "engines/RankMatcher.h"
#include "engines/SearchEngine.h"
#include "framework/AfxResource.h"
#include "framework/Archive.h"
#include "framework/WinApp.h"

IMPLEMENT_SERIAL(CEngineSet, CObject, 1)

namespace {

// The version of the set record this program writes; version 1 is still read.
const int kSetVersion = 2;
// Message of a database without engines.
const UINT kNoEnginesMessage = 273;

std::atomic<bool> g_noEnginesShown{false};
std::atomic<DocumentSiteFn> g_documentSite{nullptr};

CString ArchiveText(const CLibString& text) {
  return CString(text.c_str());
}

CLibString LibText(const CString& text) {
  return CLibString(text.GetString());
}

int32_t ReadInt(CArchive& ar) {
  int value = 0;
  ar >> value;
  return value;
}

CLibString ReadText(CArchive& ar) {
  CString text;
  ar >> text;
  return LibText(text);
}

}  // namespace

void SetDocumentSiteSource(DocumentSiteFn function) {
  g_documentSite = function;
}

void ResetNoEnginesNotice() {
  g_noEnginesShown = false;
}

CEngineSet::CEngineSet() = default;

CEngineSet::CEngineSet(CEngineList* database, int32_t active, const CString& name)
    : m_active(active), m_name(name), m_database(database) {
  CloneAll();
}

CEngineSet::~CEngineSet() {
  for (auto& entry : m_engines) delete entry.second;
  m_engines.clear();
}

void CEngineSet::Put(CSearchEngine* engine) {
  CSearchEngine*& slot = m_engines[engine->m_name.c_str()];
  if (slot != engine) delete slot;
  slot = engine;
}

void CEngineSet::CloneAll() {
  if (!m_database || m_database->GetCount() == 0) {
    if (!g_noEnginesShown.exchange(true)) {
      std::string text = AfxLoadString(kNoEnginesMessage);
      ShowEngineMessageBox(nullptr, text.c_str(), AfxGetAppName(), MB_OK | MB_ICONSTOP);
    }
    return;
  }
  for (CListNode* node = m_database->GetEngines().Head(); node; node = node->Next()) {
    CSearchEngine* clone = ClonePrototype(*m_database, CEngineList::EngineOf(node)->m_name);
    if (!clone) continue;
    clone->m_previousRank = -1;
    clone->m_maxResults = 0;
    Put(clone);
  }
}

void CEngineSet::RefreshEnabledFlags() {
  if (!m_database) return;
  for (auto& entry : m_engines)
    entry.second->m_enabled = IsEngineEnabled(*m_database, entry.second->m_name);
}

void CEngineSet::ForEachEngine(EngineSetCallback callback, intptr_t user) const {
  for (const auto& entry : m_engines) callback(entry.second, user);
}

CSearchEngine* CEngineSet::Reclone(CSearchEngine* old, const CLibString& siteUrls, int32_t keep) {
  if (!m_database) return nullptr;
  CSearchEngine* fresh = ClonePrototype(*m_database, old->m_name);
  if (!fresh) return nullptr;
  fresh->m_previousRank = -1;
  if (keep == 1) {
    int32_t rank = GetEngineRank(*old, siteUrls);
    if (rank > 0)
      fresh->m_previousRank = rank;
    else if (old->GetResultCount() > 0)
      fresh->m_previousRank = 0;
    fresh->m_submitCount = old->m_submitCount;
    fresh->m_firstSubmitDate = old->m_firstSubmitDate;
    fresh->m_lastSubmitDate = old->m_lastSubmitDate;
    fresh->m_lastVisitDate = old->m_lastVisitDate;
    fresh->m_submitted = old->m_submitted;
    fresh->m_responseText = old->m_responseText;
  }
  return fresh;
}

void CEngineSet::RecloneEnabledEngines(const CLibString& siteUrls, int32_t keep) {
  for (auto& entry : m_engines) {
    if (!entry.second->m_enabled) continue;
    if (CSearchEngine* fresh = Reclone(entry.second, siteUrls, keep)) {
      delete entry.second;
      entry.second = fresh;
    }
  }
}

void CEngineSet::RecloneEngine(const CLibString& name, const CLibString& siteUrls, int32_t keep) {
  auto found = m_engines.find(name.c_str());
  if (found == m_engines.end()) return;
  if (CSearchEngine* fresh = Reclone(found->second, siteUrls, keep)) {
    delete found->second;
    found->second = fresh;
  }
}

CSearchEngine* CEngineSet::FindEngine(const CLibString& name) const {
  auto found = m_engines.find(name.c_str());
  return found == m_engines.end() ? nullptr : found->second;
}

int CEngineSet::CountEnabled() const {
  int count = 0;
  for (const auto& entry : m_engines)
    if (entry.second->m_enabled) ++count;
  return count;
}

void CEngineSet::SetProgressCallback(EngineSetProgressFn callback, intptr_t user) {
  m_progressCallback = callback;
  m_progressUser = user;
}

void CEngineSet::Progress(int step, CSearchEngine* engine, int number) const {
  if (m_progressCallback) m_progressCallback(step, engine, number, m_progressUser);
}

void CEngineSet::Serialize(CArchive& ar) {
  if (ar.IsStoring()) {
    const int count = GetEngineCount();
    Progress(kSetStoreBegin, nullptr, count);
    ar << kSetVersion << static_cast<int>(m_active) << m_name
       << count + static_cast<int>(m_kept.size());
    int index = 0;
    for (const auto& entry : m_engines) {
      Progress(kSetStoreEngine, entry.second, index);
      StoreEngine(ar, *entry.second);
      Progress(kSetStoredEngine, entry.second, index);
      ++index;
    }
    for (const auto& entry : m_kept) StoreKept(ar, entry.second);
    Progress(kSetStoreEnd, nullptr, count);
    return;
  }

  const int version = ReadInt(ar);
  if (version != 1 && version != 2) return;
  m_kept.clear();
  Progress(kSetLoadBegin, nullptr, 0);
  m_active = ReadInt(ar);
  ar >> m_name;
  const int count = ReadInt(ar);
  for (int index = 0; index < count; ++index) LoadEngine(ar, version, index);
  Progress(kSetLoadEnd, nullptr, GetEngineCount());
}

void CEngineSet::StoreEngine(CArchive& ar, CSearchEngine& engine) const {
  ar << ArchiveText(engine.m_name) << static_cast<int>(engine.m_enabled)
     << static_cast<int>(engine.m_previousRank) << static_cast<int>(engine.m_maxResults)
     << static_cast<int>(engine.m_firstSubmitDate) << static_cast<int>(engine.m_lastSubmitDate)
     << static_cast<int>(engine.m_submitCount) << static_cast<int>(engine.m_lastVisitDate)
     << static_cast<BYTE>(engine.m_submitted) << ArchiveText(engine.m_responseText);
  ar << static_cast<int>(engine.GetResultCount());
  const bool dump = GetDumpResults();
  for (CListNode* node = engine.m_results.Head(); node; node = node->Next()) {
    const CSearchResult& result = *static_cast<const CSearchResult*>(node->Payload());
    // Only results that matched the site keep their address in the file.
    CString url = dump && !result.m_matched ? CString() : ArchiveText(result.m_text);
    ar << ArchiveText(result.m_title) << static_cast<int>(result.m_index)
       << static_cast<int>(result.m_page) << static_cast<int>(result.m_position) << url
       << static_cast<int>(result.m_matched);
  }
}

void CEngineSet::StoreKept(CArchive& ar, const KeptRecord& record) const {
  ar << record.name << static_cast<int>(record.enabled) << static_cast<int>(record.previousRank)
     << static_cast<int>(record.maxResults) << static_cast<int>(record.firstSubmit)
     << static_cast<int>(record.lastSubmit) << static_cast<int>(record.submitCount)
     << static_cast<int>(record.lastVisit) << record.submitted << record.response;
  ar << static_cast<int>(record.results.size());
  for (const KeptRecord::Result& result : record.results)
    ar << result.title << static_cast<int>(result.index) << static_cast<int>(result.page)
       << static_cast<int>(result.position) << result.url << static_cast<int>(result.matched);
}

void CEngineSet::LoadEngine(CArchive& ar, int version, int index) {
  Progress(kSetLoadEngine, nullptr, index);
  const CLibString name = ReadText(ar);
  // A record of an engine the set lacks is still read to its end, so the next one lines up.
  CSearchEngine* clone = FindEngine(name);
  const int32_t enabled = ReadInt(ar);
  CLibString urlToFind;
  int32_t previousRank = -1, maxResults = 0;
  if (version == 1) {
    urlToFind = ReadText(ar);
  } else {
    previousRank = ReadInt(ar);
    maxResults = ReadInt(ar);
  }
  const int32_t firstSubmit = ReadInt(ar);
  const int32_t lastSubmit = ReadInt(ar);
  const int32_t submitCount = ReadInt(ar);
  const int32_t lastVisit = ReadInt(ar);
  BYTE submitted = 0;
  ar >> submitted;
  const CLibString response = ReadText(ar);

  // The document carries the engine selection, also for engines this set has no clone of. The
  // clone's own name finds the prototype when the stored name differs only in case.
  if (m_database) SetEngineEnabled(*m_database, clone ? clone->m_name : name, enabled);
  if (clone) {
    clone->m_enabled = enabled;
    if (version == 1) {
      clone->m_urlToFind = urlToFind;
    } else {
      clone->m_previousRank = previousRank;
      clone->m_maxResults = maxResults;
      if (DocumentSiteFn site = g_documentSite.load()) clone->m_urlToFind = site();
    }
    clone->m_keywords = LibText(m_name);
    clone->m_firstSubmitDate = firstSubmit;
    clone->m_lastSubmitDate = lastSubmit;
    clone->m_submitCount = submitCount;
    clone->m_lastVisitDate = lastVisit;
    clone->m_submitted = submitted != 0 ? 1 : 0;
    clone->m_responseText = response;
  }
  KeptRecord* kept = nullptr;
  if (!clone) {
    kept = &m_kept[name.c_str()];
    *kept = KeptRecord();
    kept->name = ArchiveText(name);
    kept->enabled = enabled;
    kept->previousRank = previousRank;
    kept->maxResults = maxResults;
    kept->firstSubmit = firstSubmit;
    kept->lastSubmit = lastSubmit;
    kept->submitCount = submitCount;
    kept->lastVisit = lastVisit;
    kept->submitted = submitted;
    kept->response = ArchiveText(response);
  }

  const int results = ReadInt(ar);
  for (int i = 0; i < results; ++i) {
    CString title;
    ar >> title;
    CSearchResult record;
    record.m_index = ReadInt(ar);
    record.m_page = ReadInt(ar);
    record.m_position = ReadInt(ar);
    CString url;
    ar >> url;
    record.m_matched = static_cast<uint32_t>(ReadInt(ar));
    if (clone) {
      record.m_text = LibText(url);
      clone->AddResult(record);
    } else {
      kept->results.push_back({title, url, record.m_index, record.m_page, record.m_position,
                               static_cast<int32_t>(record.m_matched)});
    }
  }
  Progress(kSetLoadedEngine, clone, index);
}
