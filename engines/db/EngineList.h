// CEngineList: the engine database. Loading reads the engine definitions file into EngineKeyList
// and makes one prototype engine per enabled definition; the engine sets clone the prototypes.
// The directory categories file is read on demand, through a process-wide cache.
#pragma once

#include <windows.h>

#include <functional>

#include "engines/db/SearchEngine.h"
#include "foundation/core/LibString.h"
#include "foundation/core/LinkedList.h"
#include "foundation/core/NVList.h"

// The key of the data-file coder when the caller gives none.
extern const char kDefaultEngineDataKey[];

// Told the loading position, 0 to 100.
using EngineLoadProgress = std::function<void(int position)>;

class CEngineList {
 public:
  CEngineList() = default;
  ~CEngineList();
  CEngineList(const CEngineList&) = delete;
  CEngineList& operator=(const CEngineList&) = delete;

  // Loads the language module (a message box when there is none) and then the definitions from
  // engines.dat in the program's folder; the key is kept for the categories file. progress: a
  // progress control that gets PBM_SETPOS, or null. Returns the number of prototypes.
  int Load(HWND progress, const char* key);

  // path null: engines.dat in the program's folder (or the debug options' alternate file);
  // key null: the default key. A file that does not open leaves the list as it is. Returns the
  // number of prototypes in the list.
  int LoadEnginesFile(const char* path, const char* key, HWND progress);
  int LoadEnginesFile(const char* path, const char* key, const EngineLoadProgress& progress);

  // Fills output with the entries of one section of the categories file: entry text -> group
  // text. path null: categories.dat in the program's folder; key null: the key kept by Load.
  // Returns the number of entries.
  static int LoadCategoriesFile(const char* path, const char* key, CNVList& output,
                                const CLibString& section);
  // Forgets the decoded categories files (tests; a changed file is noticed by itself).
  static void ClearCategoriesCache();

  // The key kept by Load for the categories file; empty before.
  static CLibString GetDataKey();

  void AddKeys(const CNVList& list);
  // Deletes every prototype and frees the language module; the process-wide prototype map
  // forgets them too, so that the database can be loaded again.
  void Free();
  // A clone of the first prototype of exactly that name, with its enabled flag; null when there
  // is none or the clone fails.
  CSearchEngine* CloneEngine(const CLibString& name) const;

  CLinkedList& GetEngines() { return m_engines; }
  const CLinkedList& GetEngines() const { return m_engines; }
  int GetCount() const { return static_cast<int>(m_engines.GetCount()); }
  CNVList& GetKeys() { return m_keys; }
  // True when a definitions file read looks cut short or changed (CDataFile::LooksDamaged) or
  // held more engines than kMaxEngines: engines may be missing that the documents know.
  bool IsDamaged() const { return m_damaged; }
  // Far more engines than any definitions file holds; each costs an engine object per search
  // term of a document, so a file past it is taken as damaged and the rest is not read.
  static constexpr int kMaxEngines = 10000;

  static CSearchEngine* EngineOf(const CListNode* node) {
    return static_cast<CSearchEngine*>(node->Payload());
  }

 private:
  CLinkedList m_engines;  // owned prototypes in file order
  CNVList m_keys;         // the database's own keys
  bool m_damaged = false;
};

// The file of that name in the folder of the data files: the running program's folder, or the
// folder set by SetEngineDataFolder (tests; an empty folder restores the program's).
CLibString ProgramFolderFile(const char* name);
void SetEngineDataFolder(const char* folder);
