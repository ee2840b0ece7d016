#include "app/document/ZubrinDoc.h"

#include <cstdio>
#include <utility>
#include <vector>

#include "app/program/NQCommandLineInfo.h"
#include "engines/query/DebugOptions.h"

#include "app/document/CrusherFile.h"
#include "app/document/DamagedFileException.h"
#include "app/settings/SearchProperties.h"
#include "app/program/StartupPhases.h"
#include "app/run/RunControl.h"
#include "app/run/RunFlags.h"
#include "engines/db/EngineDataKey.h"
#include "engines/db/EnginePrototypes.h"
#include "engines/sets/EngineSet.h"
#include "engines/db/ProfileFields.h"
#include "engines/sets/RankMatcher.h"
#include "engines/db/SearchEngine.h"
#include "engines/db/SearchResult.h"
#include "framework/files/Archive.h"
#include "framework/app/MessageBox.h"
#include "framework/exceptions/UserException.h"
#include "framework/app/WinApp.h"

IMPLEMENT_DYNCREATE(CZubrinDoc, CDocument)

CZubrinDoc* CZubrinDoc::s_document = nullptr;
CEngineList* CZubrinDoc::s_database = nullptr;
volatile LONG CZubrinDoc::s_busy = 0;

namespace {

DocumentProgressHooks g_progress;
HWND g_loadProgress = nullptr;

// The bar is a few hundred pixels wide, and every step of it is a round trip to the window
// system: a large document (15,000 engine records) steps it once per hundredth of the work,
// which moves it just as far.
const UINT kProgressSteps = 100;
UINT g_progressStride = 1;
UINT g_progressPending = 0;

void BeginProgress(UINT upper, UINT lower, UINT caption) {
  g_progressStride = upper > kProgressSteps ? upper / kProgressSteps : 1;
  g_progressPending = 0;
  if (g_progress.begin) g_progress.begin(upper / g_progressStride, lower, caption);
}
void StepProgress() {
  if (++g_progressPending < g_progressStride) return;
  g_progressPending = 0;
  if (g_progress.step) g_progress.step();
}
void EndProgress() {
  if (g_progress.end) g_progress.end();
}

// Steps the progress bar once per engine record stored or loaded.
void SetProgressStep(int step, CSearchEngine*, int, intptr_t) {
  if (step == kSetStoredEngine || step == kSetLoadedEngine) StepProgress();
}

CLibString DocumentSite() {
  CZubrinDoc* doc = CZubrinDoc::GetDocument();
  return doc ? CLibString(static_cast<LPCSTR>(doc->m_siteUrl)) : CLibString();
}

CString Setting(LPCSTR section, LPCSTR entry, LPCSTR fallback) {
  CWinApp* app = AfxGetApp();
  return app ? app->GetProfileString(section, entry, fallback) : CString(fallback);
}
int IntSetting(LPCSTR section, LPCSTR entry, int fallback) {
  CWinApp* app = AfxGetApp();
  return app ? static_cast<int>(app->GetProfileInt(section, entry, fallback)) : fallback;
}

// Sets the busy flag for the life of a new, open or save.
struct BusyScope {
  BusyScope() { InterlockedExchange(&CZubrinDoc::s_busy, 1); }
  ~BusyScope() { InterlockedExchange(&CZubrinDoc::s_busy, 0); }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;
};

// Serialize has told the user why the file cannot be taken; the open fails quietly.
[[noreturn]] void FailReported() {
  throw CUserException();
}

// A hash table size for about that many entries: odd, at least the map's own 17 and at most a
// few million buckets.
UINT CacheTableSize(UINT entries) {
  const UINT kLargest = 1u << 22;
  UINT size = entries < 17 ? 17 : (entries > kLargest ? kLargest : entries);
  return size | 1u;
}

// The framework's map keeps the table size it was given: a larger one means taking every
// entry out and putting it back.
void RehashEngineCache(CMapStringToOb& map, UINT size) {
  std::vector<std::pair<CString, CObject*>> entries;
  entries.reserve(static_cast<size_t>(map.GetCount()));
  POSITION position = map.GetStartPosition();
  while (position) {
    CString name;
    CObject* entry = nullptr;
    map.GetNextAssoc(position, name, entry);
    entries.emplace_back(name, entry);
  }
  map.RemoveAll();
  map.InitHashTable(size);
  for (auto& [name, entry] : entries) map.SetAt(name, entry);
}

}  // namespace

void SetDocumentProgressHooks(const DocumentProgressHooks& hooks) {
  g_progress = hooks;
}

const DocumentProgressHooks& GetDocumentProgressHooks() {
  return g_progress;
}

void CZubrinDoc::SetLoadProgressWindow(HWND progress) {
  g_loadProgress = progress;
}

CZubrinDoc::CZubrinDoc() : m_engineCache(10) {
  m_engineCache.InitHashTable(17);
  s_document = this;
  s_database = &m_database;
  SetDocumentSiteSource(DocumentSite);
  // A debug run dumps every page into its folder and may read another definitions file; both
  // must be known before the database loads.
  NQCommandLineInfo* commandLine = GetCommandLineInfo();
  CString dumpFolder = GetDirectoryField();
  if (commandLine && commandLine->m_bDebug && !dumpFolder.IsEmpty()) {
    CString enginesFile = commandLine->GetDebugOption("enginefile");
    SetDebugOptions(CLibString(static_cast<const char*>(dumpFolder)),
                    enginesFile.IsEmpty() ? nullptr : static_cast<const char*>(enginesFile));
  }
  CLibString key = BuildEngineDataKey();
  m_database.Load(g_loadProgress, key.c_str());
  MarkStartupPhase(startup::kDatabase);
}

CZubrinDoc::~CZubrinDoc() {
  m_runControl.reset();  // ends the run and its threads before the sets they use go
  m_currentSet = nullptr;
  m_manager.RemoveAll();
  ClearEngineCache();
  m_database.Free();
  if (s_document == this) {
    s_document = nullptr;
    s_database = nullptr;
    SetDocumentSiteSource(nullptr);
  }
}

void CZubrinDoc::ClearEngineCache() {
  m_engineCacheLock.Lock();
  POSITION position = m_engineCache.GetStartPosition();
  while (position) {
    CString name;
    CObject* entry = nullptr;
    m_engineCache.GetNextAssoc(position, name, entry);
    delete entry;
  }
  m_engineCache.RemoveAll();
  m_engineCacheLock.Unlock();
}

void CZubrinDoc::PrepareEngineCache(UINT entries) {
  ClearEngineCache();
  m_engineCache.InitHashTable(CacheTableSize(entries));
}

UINT CZubrinDoc::MaxSearchTerms(int engineCount) {
  UINT engines = engineCount > 1 ? static_cast<UINT>(engineCount) : 1;
  UINT byEntries = kMaxEngineEntries / engines;
  if (byEntries < 1) byEntries = 1;
  return byEntries < kMaxSearchTerms ? byEntries : kMaxSearchTerms;
}

void CZubrinDoc::ResetEngineCache() {
  PrepareEngineCache(static_cast<UINT>(m_database.GetCount()));
  for (CListNode* node = m_database.GetEngines().Head(); node; node = node->Next()) {
    CSearchEngine* engine = CEngineList::EngineOf(node);
    AddEngineCache(engine->m_name.c_str());
  }
}

CEngineCache* CZubrinDoc::FindEngineCache(const CString& name) const {
  CObject* entry = nullptr;
  return m_engineCache.Lookup(name, entry) ? static_cast<CEngineCache*>(entry) : nullptr;
}

CEngineCache* CZubrinDoc::AddEngineCache(const CString& name) {
  m_engineCacheLock.Lock();
  CEngineCache* entry = FindEngineCache(name);
  if (!entry) {
    entry = new CEngineCache;
    m_engineCache.SetAt(name, entry);
  }
  m_engineCacheLock.Unlock();
  return entry;
}

bool CZubrinDoc::IsEngineExcluded(const CString& name) const {
  m_engineCacheLock.Lock();
  const CEngineCache* entry = FindEngineCache(name);
  const bool excluded = entry && entry->m_excluded;
  m_engineCacheLock.Unlock();
  return excluded;
}

void CZubrinDoc::RecomputeEngineCache() {
  POSITION cachePosition = m_engineCache.GetStartPosition();
  while (cachePosition) {
    CString name;
    CObject* entry = nullptr;
    m_engineCache.GetNextAssoc(cachePosition, name, entry);
    CEngineCache* cache = static_cast<CEngineCache*>(entry);
    cache->m_excluded = 0;
    cache->m_total = 0;
    cache->m_latest = 0;
  }
  for (POSITION position = m_manager.GetHeadPosition(); position;) {
    CEngineSet* set = m_manager.GetNext(position);
    for (const auto& [name, engine] : set->GetEngines()) {
      CString key = engine->m_name.c_str();
      CEngineCache* cache = AddEngineCache(key);
      if (engine->m_submitCount > 0) cache->m_total += static_cast<uint32_t>(engine->m_submitCount);
      if (engine->m_submitted && engine->m_lastSubmitDate > 0 &&
          static_cast<uint32_t>(engine->m_lastSubmitDate) > cache->m_latest)
        cache->m_latest = static_cast<uint32_t>(engine->m_lastSubmitDate);
    }
  }
}

void CZubrinDoc::AddProfileKeys() {
  const SiteProfileField* fields = GetProfileFieldNames();
  for (int i = 0; i < kSiteProfileFieldCount; ++i) m_profile.SetAt(fields[i].key, "");
}

void CZubrinDoc::DeleteContents() {
  m_currentSet = nullptr;
  m_manager.RemoveAll();
  m_profile.RemoveAll();
  m_missing.RemoveAll();
}

BOOL CZubrinDoc::OnNewDocument() {
  BusyScope busy;
  MarkStartupPhase(startup::kWindowMade);
  if (!CDocument::OnNewDocument()) return FALSE;
  m_templateIndex = -1;
  m_templateName.Empty();
  m_readOnly = 0;
  m_siteUrl.Empty();
  m_lastRunUrl.Empty();
  m_lastRun = COleDateTime::GetCurrentTime();
  m_reportTo.Empty();
  m_emailCc = Setting("Defaults", "EmailCc", "");
  m_emailFrom = Setting("Defaults", "EmailFrom", "");
  m_emailSubject = Setting("Defaults", "EmailSubject", "Your web site Summary Report");
  m_emailBody = Setting("Defaults", "EmailBody", "");
  m_reportsDir = CSearchProperties::LoadReportsDir();
  m_submitAuto = IntSetting("Defaults", "SubmitAuto", 0);
  m_limitTo = IntSetting("Defaults", "LimitTo", 3);
  m_submitWhen = IntSetting("Defaults", "SubmitWhen", 0);
  m_submitPageNo = IntSetting("Defaults", "SubmitPageNo", 1);
  m_submitRanking = IntSetting("Defaults", "SubmitRanking", 10);
  m_submitNotListed = IntSetting("Defaults", "SubmitNotListed", 0);
  AddProfileKeys();
  m_currentSet = m_manager.CreateFirstSet(&m_database);
  ResetEngineCache();
  SetAllEnginesEnabled(m_database, 1);
  if (m_currentSet) m_currentSet->RefreshEnabledFlags();
  m_fresh = 1;
  MarkStartupPhase(startup::kSetsMade);
  UpdateAllViews(nullptr, HINT_DOC_NEW);
  MarkStartupPhase(startup::kViewsFilled);
  SetModifiedFlag(FALSE);
  return TRUE;
}

BOOL CZubrinDoc::OnOpenDocument(LPCSTR lpszPathName) {
  BOOL result;
  {
    BusyScope busy;
    MarkStartupPhase(startup::kWindowMade);
    m_templateIndex = -4;
    if (IntSetting("Properties", "IncludeNew", 1) == 0) SetAllEnginesEnabled(m_database, 0);
    result = CDocument::OnOpenDocument(lpszPathName);
    if (result) {
      CFileStatus status;
      m_readOnly = CFile::GetStatus(lpszPathName, status) && (status.m_attribute & CFile::readOnly);
      m_fresh = 0;
      MarkStartupPhase(startup::kSetsMade);
      UpdateAllViews(nullptr, HINT_DOC_OPENING);
      UpdateAllViews(nullptr, HINT_DOC_OPEN);
      MarkStartupPhase(startup::kViewsFilled);
      SetModifiedFlag(FALSE);
      return TRUE;
    }
  }
  // Nothing of the file is kept: the user goes on with a fresh, untitled document.
  OnNewDocument();
  return FALSE;
}

BOOL CZubrinDoc::OnSaveDocument(LPCSTR lpszPathName) {
  BusyScope busy;
  BOOL result = CDocument::OnSaveDocument(lpszPathName);
  UpdateAllViews(nullptr, HINT_DOC_SAVE);
  if (result) SetModifiedFlag(FALSE);
  return result;
}

CFile* CZubrinDoc::GetFile(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError) {
  CCrusherFile* file = nullptr;
  try {
    file = new CCrusherFile;
  } catch (const CUserException&) {
    return nullptr;
  }
  if (!file->Open(lpszFileName, nOpenFlags, pError)) {
    delete file;
    return nullptr;
  }
  return file;
}

void CZubrinDoc::Serialize(CArchive& ar) {
  if (ar.IsStoring()) {
    StoreFile(ar);
    return;
  }
  UINT version = 0;
  ar >> version;
  if (version < 6 || version > kFileVersion) {
    m_currentSet = m_manager.CreateFirstSet(&m_database);
    // Versions count up one by one; a number this far beyond ours is not a version at all but
    // the first bytes of some other file, and offering an update for it would mislead.
    if (version > kMaxPlausibleVersion) {
      CFile* file = ar.GetFile();
      throw CDamagedFileException(CFileException::invalidFile,
                                  file ? file->GetFilePath().GetString() : nullptr);
    }
    if (version < 6) {
      AfxMessageBox(IDP_DOC_OLD_VERSION, MB_OK | MB_ICONSTOP);
    } else if (AfxMessageBox(IDP_DOC_NEWER_VERSION, MB_YESNO | MB_ICONQUESTION) == IDYES &&
               g_progress.postCommand) {
      g_progress.postCommand(ID_START_UPDATE);
    }
    FailReported();
  }
  try {
    LoadFile(ar, version);
  } catch (const CException&) {
    EndProgress();
    throw;
  }
}

void CZubrinDoc::StoreFile(CArchive& ar) {
  UINT perSet = m_currentSet ? static_cast<UINT>(m_currentSet->GetEngineCount()) : 0;
  UINT total = perSet * static_cast<UINT>(m_manager.GetCount());
  BeginProgress(total, 1, IDS_DOC_WRITING);
  try {
    ar << static_cast<UINT>(kFileVersion) << total;
    ar << static_cast<UINT>(m_engineCache.GetCount());
    POSITION position = m_engineCache.GetStartPosition();
    while (position) {
      CString name;
      CObject* entry = nullptr;
      m_engineCache.GetNextAssoc(position, name, entry);
      const CEngineCache* cache = static_cast<const CEngineCache*>(entry);
      ar << name << static_cast<UINT>(cache->m_excluded) << static_cast<UINT>(cache->m_total)
         << static_cast<UINT>(cache->m_latest);
    }
    ar << m_siteUrl << m_lastRun << m_templateName;
    ar << m_reportTo << m_emailCc << m_emailFrom << m_emailSubject << m_emailBody << m_reportsDir;
    UINT count = m_profile.GetCount();
    ar << count;
    ar << m_submitAuto << m_limitTo << m_submitWhen << m_submitPageNo << m_submitRanking;
    ar << m_submitNotListed;
    CLibString name, value;
    for (UINT i = 0; i < count && m_profile.GetNext(name, value, i == 0); ++i)
      ar << CString(name.c_str()) << CString(value.c_str());
    ar << static_cast<UINT>(m_manager.GetCount());
    for (POSITION setPosition = m_manager.GetHeadPosition(); setPosition;) {
      CEngineSet* set = m_manager.GetNext(setPosition);
      set->SetProgressCallback(SetProgressStep, 0);
      set->Serialize(ar);
    }
  } catch (const CException&) {
    EndProgress();
    throw;
  }
  EndProgress();
}

void CZubrinDoc::LoadFile(CArchive& ar, UINT version) {
  UINT total = 0;
  ar >> total;
  BeginProgress(total, 1, IDS_DOC_READING);
  if (version >= 8) {
    m_currentSet = nullptr;
    m_manager.RemoveAll();
    ResetEngineCache();
  }
  if (version == 9) LoadEngineCache(ar);
  ar >> m_siteUrl;
  if (m_siteUrl.GetLength() > kMaxSiteUrlLength)
    RefuseFile(ar, IDP_DOC_LONG_SITE, kMaxSiteUrlLength);
  m_lastRunUrl = m_siteUrl;
  ar >> m_lastRun;
  if (version >= 8) ar >> m_templateName;
  ar >> m_reportTo >> m_emailCc >> m_emailFrom >> m_emailSubject >> m_emailBody >> m_reportsDir;
  UINT profileCount = 0;
  ar >> profileCount;
  ar >> m_submitAuto >> m_limitTo >> m_submitWhen >> m_submitPageNo >> m_submitRanking;
  if (version < 8) {
    UINT ignored = 0;
    ar >> ignored;
  }
  ar >> m_submitNotListed;
  AddProfileKeys();
  for (UINT i = 0; i < profileCount; ++i) {
    CString key, value;
    ar >> key >> value;
    m_profile.SetAt(static_cast<LPCSTR>(key), static_cast<LPCSTR>(value));
  }
  LoadSets(ar);
  if (version < 9) RecomputeEngineCache();
  EndProgress();
}

void CZubrinDoc::LoadEngineCache(CArchive& ar) {
  UINT count = 0;
  ar >> count;
  // The table grows with what is actually read: a count that lies costs nothing.
  UINT sized = m_engineCache.GetHashTableSize();
  for (UINT i = 0; i < count; ++i) {
    CString name;
    UINT excluded = 0, engineTotal = 0, latest = 0;
    ar >> name >> excluded >> engineTotal >> latest;
    CEngineCache* cache = FindEngineCache(name);
    if (!cache) {
      // At the largest table the chains grow instead: rehashing again would gain nothing.
      const UINT larger = CacheTableSize(sized * 4);
      if (static_cast<UINT>(m_engineCache.GetCount()) >= sized * 2 && larger > sized) {
        RehashEngineCache(m_engineCache, larger);
        sized = larger;
      }
      cache = new CEngineCache;
      m_engineCache.SetAt(name, cache);
    }
    cache->m_excluded = excluded;
    cache->m_total = engineTotal;
    cache->m_latest = latest;
  }
}

void CZubrinDoc::LoadSets(CArchive& ar) {
  UINT setCount = 0;
  ar >> setCount;
  const UINT most = MaxSearchTerms();
  if (setCount > most) RefuseFile(ar, IDP_DOC_TOO_MANY_TERMS, most, setCount);
  for (UINT i = 0; i < setCount; ++i) {
    // Only the set shown first is needed at once: the others make their clones (one engine each,
    // with its connection state) when the user or a run first turns to them.
    CEngineSet* set = m_currentSet ? new CEngineSet(&m_database, CEngineSet::kClonesWait)
                                   : new CEngineSet(&m_database, 0, CString());
    m_manager.AddSet(set);
    if (!m_currentSet) m_currentSet = set;
    set->SetProgressCallback(SetProgressStep, 0);
    set->Serialize(ar);
    if (set->m_name.GetLength() > kMaxSearchTermLength)
      RefuseFile(ar, IDP_DOC_LONG_TERM, kMaxSearchTermLength);
  }
}

void CZubrinDoc::TellLimit(UINT messageId, UINT limit) const {
  CString text;
  text.LoadString(messageId);
  char number[16];
  snprintf(number, sizeof number, "%u", limit);
  text.Replace("%1", number);
  snprintf(number, sizeof number, "%d", m_database.GetCount());
  text.Replace("%2", number);
  AfxMessageBox(text, MB_OK | MB_ICONINFORMATION);
}

void CZubrinDoc::RefuseFile(CArchive& ar, UINT messageId, UINT limit, UINT count) {
  EndProgress();
  CFile* file = ar.GetFile();
  CString text;
  text.LoadString(messageId);
  char number[16];
  // Replaced, not formatted: a path may hold a percent sign.
  snprintf(number, sizeof number, "%u", limit);
  text.Replace("%2", number);
  snprintf(number, sizeof number, "%u", count);
  text.Replace("%3", number);
  snprintf(number, sizeof number, "%d", m_database.GetCount());
  text.Replace("%4", number);
  text.Replace("%1", file ? file->GetFilePath().GetString() : "The document");
  AfxMessageBox(text, MB_OK | MB_ICONSTOP);
  FailReported();
}

void CZubrinDoc::SetEngineEnabledInAllSets(const CLibString& name, int32_t flag) {
  for (POSITION position = m_manager.GetHeadPosition(); position;) {
    CEngineSet* set = m_manager.GetNext(position);
    if (CSearchEngine* engine = set->FindEngine(name)) engine->m_enabled = flag;
  }
}

bool CZubrinDoc::FindSiteResult(const CLibString& engineName, CSearchResult& out) {
  CSearchEngine* engine = m_currentSet ? m_currentSet->FindEngine(engineName) : nullptr;
  if (!engine) return false;
  if (runflags::Read(m_running)) {
    // While a run goes, each worker flags its engine's results as its query ends and may still
    // be working on them: the flags and places are read here, nothing is written, and no text
    // is copied that the worker may be changing.
    for (CListNode* node = engine->m_results.Head(); node; node = node->Next()) {
      const auto* record = static_cast<const CSearchResult*>(node->Payload());
      if (!record->m_matched) continue;
      out.m_index = record->m_index;
      out.m_page = record->m_page;
      out.m_position = record->m_position;
      out.m_matched = 1;
      return true;
    }
    return false;
  }
  return FindMatchingResult(*engine, out, static_cast<LPCSTR>(m_siteUrl), GetMatchRestrict()) == 1;
}

bool CZubrinDoc::FollowedLinkMatches(CSearchEngine& engine, CSearchResult& record) {
  return ResultMatchesUrls(engine, record, static_cast<LPCSTR>(m_siteUrl), GetMatchRestrict());
}

void CZubrinDoc::RecloneCurrentSet() {
  if (m_currentSet) m_currentSet->RecloneEnabledEngines(static_cast<LPCSTR>(m_lastRunUrl), 1);
}

CString CZubrinDoc::GetSearchTerm() const {
  return m_currentSet ? m_currentSet->GetName() : CString();
}
