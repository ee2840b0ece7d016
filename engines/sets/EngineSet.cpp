#include "engines/sets/EngineSet.h"

#include <atomic>
#include <string>
#include <utility>
#include <vector>

#include "engines/db/EngineList.h"
#include "engines/db/EnginePrototypes.h"
#include "engines/db/EngineServices.h"
#include "engines/sets/RankMatcher.h"
#include "engines/db/SearchEngine.h"
#include "framework/app/AfxResource.h"
#include "framework/files/Archive.h"
#include "framework/app/WinApp.h"

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

// One engine's record of a stored set, as read.
struct CEngineSet::EngineRecord {
  CLibString name;
  int32_t enabled = 0;
  bool hasUrlToFind = false;  // version 1 stores the address to find
  CLibString urlToFind;
  int32_t previousRank = -1;
  int32_t maxResults = 0;
  int32_t firstSubmit = 0;
  int32_t lastSubmit = 0;
  int32_t submitCount = 0;
  int32_t lastVisit = 0;
  BYTE submitted = 0;
  CLibString response;
  std::vector<CSearchResult> results;
  // The results' titles as stored: a clone's results leave them empty, a kept record keeps them.
  std::vector<CString> titles;
};

// What a set read with kClonesWait keeps for its clones: the records, and what a read would
// have taken from elsewhere at that moment (the prototypes' flags, the site, the term).
struct CEngineSet::WaitingRecords {
  std::vector<int32_t> flags;  // per database engine, in the database's order
  CLibString keywords;
  bool hasSite = false;
  CLibString site;
  std::vector<EngineRecord> records;
  // While reading: the database's engine names as the set's clones will carry them.
  std::map<std::string, CLibString, NoCaseLess> names;
};

CEngineSet::CEngineSet() = default;

CEngineSet::CEngineSet(CEngineList* database, int32_t active, const CString& name)
    : m_active(active), m_name(name), m_database(database) {
  CloneAll();
}

CEngineSet::CEngineSet(CEngineList* database, ClonesWait) : m_database(database) {
  if (!m_database || m_database->GetCount() == 0) {
    CloneAll();  // nothing to wait for; tells of the empty database as ever
    return;
  }
  m_records = std::make_unique<WaitingRecords>();
  m_waiting.store(true, std::memory_order_release);
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
  Ready();
  for (auto& entry : m_engines)
    entry.second->m_enabled = IsEngineEnabled(*m_database, entry.second->m_name);
}

void CEngineSet::ForEachEngine(EngineSetCallback callback, intptr_t user) const {
  Ready();
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
  Ready();
  for (auto& entry : m_engines) {
    if (!entry.second->m_enabled) continue;
    if (CSearchEngine* fresh = Reclone(entry.second, siteUrls, keep)) {
      delete entry.second;
      entry.second = fresh;
    }
  }
}

void CEngineSet::RecloneEngine(const CLibString& name, const CLibString& siteUrls, int32_t keep) {
  Ready();
  auto found = m_engines.find(name.c_str());
  if (found == m_engines.end()) return;
  if (CSearchEngine* fresh = Reclone(found->second, siteUrls, keep)) {
    delete found->second;
    found->second = fresh;
  }
}

CSearchEngine* CEngineSet::FindEngine(const CLibString& name) const {
  Ready();
  return FindClone(name);
}

CSearchEngine* CEngineSet::FindClone(const CLibString& name) const {
  auto found = m_engines.find(name.c_str());
  return found == m_engines.end() ? nullptr : found->second;
}

int CEngineSet::CountEnabled() const {
  Ready();
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
    Ready();
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
  if (m_records) {
    // What a read would take from elsewhere, as it is now.
    WaitingRecords& waiting = *m_records;
    waiting.keywords = LibText(m_name);
    if (DocumentSiteFn site = g_documentSite.load()) {
      waiting.hasSite = true;
      waiting.site = site();
    }
    waiting.flags.clear();
    for (CListNode* node = m_database->GetEngines().Head(); node; node = node->Next()) {
      const CLibString& name = CEngineList::EngineOf(node)->m_name;
      waiting.flags.push_back(IsEngineEnabled(*m_database, name));
      waiting.names[name.c_str()] = name;  // a later engine of the name replaces, as in CloneAll
    }
  }
  for (int index = 0; index < count; ++index) LoadEngine(ar, version, index);
  if (m_records) m_records->names.clear();
  Progress(kSetLoadEnd, nullptr, m_records ? count : GetEngineCount());
}

void CEngineSet::Ready() const {
  if (!m_waiting.load(std::memory_order_acquire)) return;
  std::lock_guard<std::mutex> hold(m_readyLock);
  if (!m_waiting.load(std::memory_order_relaxed)) return;
  const_cast<CEngineSet*>(this)->MakeWaitingClones();
  m_waiting.store(false, std::memory_order_release);
}

void CEngineSet::MakeWaitingClones() {
  std::unique_ptr<WaitingRecords> waiting = std::move(m_records);
  CloneAll();
  if (!waiting) return;
  // Each clone takes the flag its prototype had when the set was read; a database changed
  // since (an update) gives its own flags.
  if (waiting->flags.size() == static_cast<size_t>(m_database->GetCount())) {
    size_t index = 0;
    for (CListNode* node = m_database->GetEngines().Head(); node; node = node->Next(), ++index)
      if (CSearchEngine* clone = FindClone(CEngineList::EngineOf(node)->m_name))
        clone->m_enabled = waiting->flags[index];
  }
  for (const EngineRecord& record : waiting->records) {
    if (CSearchEngine* clone = FindClone(record.name))
      RecordToClone(record, *clone, waiting->keywords, waiting->hasSite ? &waiting->site : nullptr);
    else
      KeepRecord(record);
  }
}

void CEngineSet::KeepRecord(const EngineRecord& record) {
  KeptRecord& kept = m_kept[record.name.c_str()];
  kept = KeptRecord();
  kept.name = ArchiveText(record.name);
  kept.enabled = record.enabled;
  kept.previousRank = record.previousRank;
  kept.maxResults = record.maxResults;
  kept.firstSubmit = record.firstSubmit;
  kept.lastSubmit = record.lastSubmit;
  kept.submitCount = record.submitCount;
  kept.lastVisit = record.lastVisit;
  kept.submitted = record.submitted;
  kept.response = ArchiveText(record.response);
  for (size_t i = 0; i < record.results.size(); ++i) {
    const CSearchResult& result = record.results[i];
    kept.results.push_back({record.titles[i], ArchiveText(result.m_text), result.m_index,
                            result.m_page, result.m_position,
                            static_cast<int32_t>(result.m_matched)});
  }
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

CEngineSet::EngineRecord CEngineSet::ReadRecord(CArchive& ar, int version) const {
  EngineRecord record;
  record.name = ReadText(ar);
  record.enabled = ReadInt(ar);
  if (version == 1) {
    record.hasUrlToFind = true;
    record.urlToFind = ReadText(ar);
  } else {
    record.previousRank = ReadInt(ar);
    record.maxResults = ReadInt(ar);
  }
  record.firstSubmit = ReadInt(ar);
  record.lastSubmit = ReadInt(ar);
  record.submitCount = ReadInt(ar);
  record.lastVisit = ReadInt(ar);
  ar >> record.submitted;
  record.response = ReadText(ar);
  const int results = ReadInt(ar);
  for (int i = 0; i < results; ++i) {
    CString title;
    ar >> title;
    record.titles.push_back(title);
    CSearchResult result;
    result.m_index = ReadInt(ar);
    result.m_page = ReadInt(ar);
    result.m_position = ReadInt(ar);
    result.m_text = ReadText(ar);
    result.m_matched = static_cast<uint32_t>(ReadInt(ar));
    record.results.push_back(std::move(result));
  }
  return record;
}

void CEngineSet::RecordToDatabase(const EngineRecord& record, const CSearchEngine* clone) const {
  if (!m_database) return;
  // The document carries the engine selection, also for engines this set has no clone of. The
  // clone's own name finds the prototype when the stored name differs only in case.
  if (clone) {
    SetEngineEnabled(*m_database, clone->m_name, record.enabled);
    return;
  }
  if (m_records) {
    auto named = m_records->names.find(record.name.c_str());
    if (named != m_records->names.end()) {
      SetEngineEnabled(*m_database, named->second, record.enabled);
      return;
    }
  }
  SetEngineEnabled(*m_database, record.name, record.enabled);
}

void CEngineSet::RecordToClone(const EngineRecord& record, CSearchEngine& clone,
                               const CLibString& keywords, const CLibString* site) {
  clone.m_enabled = record.enabled;
  if (record.hasUrlToFind) {
    clone.m_urlToFind = record.urlToFind;
  } else {
    clone.m_previousRank = record.previousRank;
    clone.m_maxResults = record.maxResults;
    if (site) clone.m_urlToFind = *site;
  }
  clone.m_keywords = keywords;
  clone.m_firstSubmitDate = record.firstSubmit;
  clone.m_lastSubmitDate = record.lastSubmit;
  clone.m_submitCount = record.submitCount;
  clone.m_lastVisitDate = record.lastVisit;
  clone.m_submitted = record.submitted != 0 ? 1 : 0;
  clone.m_responseText = record.response;
  for (const CSearchResult& result : record.results) clone.AddResult(result);
}

void CEngineSet::LoadEngine(CArchive& ar, int version, int index) {
  Progress(kSetLoadEngine, nullptr, index);
  // A record of an engine the set lacks is still read to its end, so the next one lines up.
  EngineRecord record = ReadRecord(ar, version);
  if (m_records) {
    RecordToDatabase(record, nullptr);
    m_records->records.push_back(std::move(record));
    Progress(kSetLoadedEngine, nullptr, index);
    return;
  }
  CSearchEngine* clone = FindClone(record.name);
  RecordToDatabase(record, clone);
  if (clone) {
    CLibString site;
    DocumentSiteFn siteSource = g_documentSite.load();
    if (siteSource && !record.hasUrlToFind) site = siteSource();
    RecordToClone(record, *clone, LibText(m_name), siteSource ? &site : nullptr);
  } else {
    KeepRecord(record);
  }
  Progress(kSetLoadedEngine, clone, index);
}
