#include "engines/db/EngineList.h"

#include <commctrl.h>
#include <sys/stat.h>

#include <map>
#include <memory>
#include <mutex>
#include <new>
#include <string>
#include <vector>

#include "engines/db/DataFile.h"
#include "engines/query/DebugOptions.h"
#include "engines/db/EngineKeys.h"
#include "engines/db/EnginePrototypes.h"
#include "engines/db/EngineServices.h"

const char kDefaultEngineDataKey[] = "qorvzb";

namespace {

std::mutex g_keyLock;
std::string g_dataKey;     // the key Load was given, for the categories file
std::string g_dataFolder;  // set by tests; empty: the program's folder

// Decoded categories files by path and key. A file is decoded once; it is read again only when
// its size or time on disk changed.
struct CategoriesFile {
  long long size = -1;
  long long time = 0;
  std::vector<CLibString> lines;
};
std::mutex g_categoriesLock;
std::map<std::string, std::shared_ptr<const CategoriesFile>> g_categories;

bool FileStamp(const char* path, long long& size, long long& time) {
  struct _stat64 info;
  if (_stat64(path, &info) != 0) return false;
  size = info.st_size;
  time = info.st_mtime;
  return true;
}

std::shared_ptr<const CategoriesFile> GetCategoriesFile(const CLibString& path,
                                                        const CLibString& key) {
  long long size = 0, time = 0;
  if (!FileStamp(path.c_str(), size, time)) return nullptr;
  std::string id = std::string(path.c_str()) + '\n' + key.c_str();
  std::lock_guard<std::mutex> hold(g_categoriesLock);
  auto found = g_categories.find(id);
  if (found != g_categories.end() && found->second->size == size && found->second->time == time)
    return found->second;
  CDataFile file;
  if (!file.Open(path.c_str())) return nullptr;
  auto decoded = std::make_shared<CategoriesFile>();
  decoded->size = size;
  decoded->time = time;
  CLibString line;
  while (file.ReadLine(line, key.c_str())) decoded->lines.push_back(line);
  g_categories[id] = decoded;
  return decoded;
}

void DeleteEngines(CLinkedList& engines) {
  while (CListNode* node = engines.Head()) {
    delete CEngineList::EngineOf(node);
    engines.Remove(node, true);
  }
}

}  // namespace

void SetEngineDataFolder(const char* folder) {
  std::lock_guard<std::mutex> hold(g_keyLock);
  g_dataFolder = folder ? folder : "";
  if (!g_dataFolder.empty() && g_dataFolder.back() != '\\' && g_dataFolder.back() != '/')
    g_dataFolder += '\\';
}

CLibString ProgramFolderFile(const char* name) {
  {
    std::lock_guard<std::mutex> hold(g_keyLock);
    if (!g_dataFolder.empty()) return CLibString((g_dataFolder + name).c_str());
  }
  char path[MAX_PATH + 1] = {};
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, length);
  size_t slash = folder.find_last_of("\\/");
  folder = slash == std::string::npos ? std::string() : folder.substr(0, slash + 1);
  return CLibString((folder + name).c_str());
}

CEngineList::~CEngineList() {
  // Prototypes that Free did not take would otherwise stay behind in the process-wide index.
  if (m_engines.GetCount() > 0) {
    ResetEnginePrototypes();
    DeleteEngines(m_engines);
  }
  m_keys.RemoveAll();
}

int CEngineList::Load(HWND progress, const char* key) {
  if (!LoadLanguageModule())
    ShowEngineMessageBox(nullptr, "Failed loading resource DLL", "Error", MB_OK);
  {
    std::lock_guard<std::mutex> hold(g_keyLock);
    g_dataKey = key ? key : "";
  }
  return LoadEnginesFile(nullptr, key, progress);
}

int CEngineList::LoadEnginesFile(const char* path, const char* key, HWND progress) {
  EngineLoadProgress report;
  if (progress)
    report = [progress](int position) {
      SendMessageA(progress, PBM_SETPOS, static_cast<WPARAM>(position), 0);
    };
  return LoadEnginesFile(path, key, report);
}

int CEngineList::LoadEnginesFile(const char* path, const char* key,
                                 const EngineLoadProgress& progress) {
  CLibString filePath;
  if (IsDebugOn() && GetAlternateEnginesFile().GetLength() > 0)
    filePath = GetAlternateEnginesFile();
  else if (path)
    filePath = path;
  else
    filePath = ProgramFolderFile("engines.dat");
  const char* useKey = key ? key : kDefaultEngineDataKey;

  if (progress) progress(0);
  long long size = 0, time = 0;
  if (!FileStamp(filePath.c_str(), size, time)) size = 0;
  CDataFile file;
  if (!file.Open(filePath.c_str())) return GetCount();
  auto step = [&] {
    if (progress && size > 0) progress(static_cast<int>(file.GetPosition() * 100LL / size));
  };

  CLibString line;
  while (file.ReadLine(line, useKey)) {
    if (*line.c_str() == '[') {
      CLibString section = line;
      section.Remove("[");
      section.Remove("]");
      section.TrimLeft(' ');
      section.TrimRight(' ');
      // The engine is made from this section's own "enabled": a key left in EngineKeyList by an
      // earlier load must not revive a section that no longer has one.
      CLibString enabled;
      while (file.ReadLine(line, useKey) && line.GetLength() > 0) {
        ReplaceDataFileEscapes(line);
        if (*line.c_str() == '#') continue;
        CLibString name = line.NextToken("=");
        EngineKeyList.SetAt(section + "." + name, line);
        if (name == "enabled") enabled = line;
      }
      if (atoi(enabled.c_str()) != 0 && GetCount() >= kMaxEngines) {
        m_damaged = true;
        break;
      }
      if (atoi(enabled.c_str()) != 0) {
        CSearchEngine* engine = new (std::nothrow) CSearchEngine;
        if (engine) {
          engine->m_name = section;
          m_engines.Append(new CListNode(engine));
        }
      }
    }
    step();
  }
  if (file.LooksDamaged()) m_damaged = true;
  if (progress) progress(100);
  return GetCount();
}

int CEngineList::LoadCategoriesFile(const char* path, const char* key, CNVList& output,
                                    const CLibString& section) {
  output.RemoveAll();
  CLibString filePath = path ? CLibString(path) : ProgramFolderFile("categories.dat");
  CLibString useKey = key ? CLibString(key) : GetDataKey();
  if (useKey.GetLength() == 0) useKey = kDefaultEngineDataKey;
  std::shared_ptr<const CategoriesFile> file = GetCategoriesFile(filePath, useKey);
  if (!file) return 0;

  CLibString header = "[" + section + "]";
  size_t i = 0;
  const std::vector<CLibString>& lines = file->lines;
  while (i < lines.size() && !(lines[i].Find(header) > 0 && *lines[i].c_str() != '#')) ++i;
  for (++i; i < lines.size() && lines[i].GetLength() > 0; ++i) {
    CLibString text = lines[i];
    ReplaceDataFileEscapes(text);
    if (*text.c_str() == '#') continue;
    int tab = text.FindChar('\t');
    if (tab > 0)
      output.SetAt(text.Mid(tab, text.GetLength()), text.Left(tab - 1));
    else
      output.SetAt(text, CLibString());
  }
  return static_cast<int>(output.GetCount());
}

void CEngineList::ClearCategoriesCache() {
  std::lock_guard<std::mutex> hold(g_categoriesLock);
  g_categories.clear();
}

CLibString CEngineList::GetDataKey() {
  std::lock_guard<std::mutex> hold(g_keyLock);
  return CLibString(g_dataKey.c_str());
}

void CEngineList::AddKeys(const CNVList& list) {
  m_keys.Merge(list);
}

void CEngineList::Free() {
  m_damaged = false;
  ResetEnginePrototypes();
  ResetEngineIconCount();
  DeleteEngines(m_engines);
  FreeLanguageModule();
}

CSearchEngine* CEngineList::CloneEngine(const CLibString& name) const {
  for (CListNode* node = m_engines.Head(); node; node = node->Next()) {
    CSearchEngine* prototype = EngineOf(node);
    if (prototype->GetName() == name) {
      CSearchEngine* clone = prototype->Clone();
      if (clone) clone->m_enabled = prototype->m_enabled;
      return clone;
    }
  }
  return nullptr;
}
