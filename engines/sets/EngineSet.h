// CEngineSet: the engines of one search term. The set holds one clone of every engine of the
// database, with that engine's results and submission history, and is stored in the document
// file through the framework's archive.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "foundation/core/LibString.h"
#include "framework/core/Object.h"
#include "framework/core/String.h"

class CArchive;
class CEngineList;
class CSearchEngine;

// Steps of storing and loading a set, told to the progress callback with the engine (or null),
// a number (an engine count or index) and the user value.
enum EngineSetProgress {
  kSetStoreBegin = 1,    // number: engine count
  kSetStoreEnd = 2,      // number: engine count
  kSetStoreEngine = 3,   // engine and its index, before its record
  kSetStoredEngine = 4,  // engine and its index, after its record
  kSetLoadBegin = 5,     // number: 0
  kSetLoadEnd = 6,       // number: clones in the set
  kSetLoadEngine = 7,    // index, before the record is read
  kSetLoadedEngine = 8,  // the clone (null for a record of an engine the set lacks) and index
};
using EngineSetProgressFn = void (*)(int step, CSearchEngine* engine, int number, intptr_t user);
using EngineSetCallback = void (*)(CSearchEngine* engine, intptr_t user);

// The site address of the open document. The document reads it from its file before its sets
// and publishes this function, so that engines loaded from a set record look for that site.
using DocumentSiteFn = CLibString (*)();
void SetDocumentSiteSource(DocumentSiteFn function);

class CEngineSet : public CObject {
  DECLARE_SERIAL(CEngineSet)
 public:
  // Engine names compare without regard to case; the set's order is this order.
  struct NoCaseLess {
    bool operator()(const std::string& a, const std::string& b) const {
      return _stricmp(a.c_str(), b.c_str()) < 0;
    }
  };
  using EngineMap = std::map<std::string, CSearchEngine*, NoCaseLess>;

  // For the archive: no database, inactive, no name, no engines.
  CEngineSet();
  // Clones every engine of the database.
  CEngineSet(CEngineList* database, int32_t active, const CString& name);
  // For reading a set of a document that is not shown yet: its clones wait until something first
  // asks for its engines (a look-up, a count, a walk, a reclone, storing it). What its records
  // say of each engine is kept until then and given to the clones as a read would have; the
  // database's enabled flags take the records at once, as they do when a set is read.
  enum ClonesWait { kClonesWait };
  CEngineSet(CEngineList* database, ClonesWait);
  ~CEngineSet() override;
  CEngineSet(const CEngineSet&) = delete;
  CEngineSet& operator=(const CEngineSet&) = delete;

  // One clone per prototype, in the database's order, with no rank recorded. A database without
  // engines is reported once per process.
  void CloneAll();
  // Each clone takes the enabled flag of its prototype.
  void RefreshEnabledFlags();
  void ForEachEngine(EngineSetCallback callback, intptr_t user) const;

  // Replaces every enabled clone (or the named one) by a fresh clone of its prototype. With
  // keep set, the fresh clone records the old one's rank for the site (0 when it had results
  // and none matched) and takes over its submission history.
  void RecloneEnabledEngines(const CLibString& siteUrls, int32_t keep);
  void RecloneEngine(const CLibString& name, const CLibString& siteUrls, int32_t keep);

  CSearchEngine* FindEngine(const CLibString& name) const;
  int CountEnabled() const;
  int GetEngineCount() const {
    Ready();
    return static_cast<int>(m_engines.size());
  }
  const EngineMap& GetEngines() const {
    Ready();
    return m_engines;
  }
  // True while the clones of a set read with kClonesWait are not made yet.
  bool ClonesWaiting() const { return m_waiting.load(std::memory_order_acquire); }

  void SetProgressCallback(EngineSetProgressFn callback, intptr_t user);
  // Stores version 2 of the set record; loads versions 2 and 1.
  void Serialize(CArchive& ar) override;

  CString GetName() const { return m_name; }

  // ---- fields, in this order ----
  int32_t m_active = 0;               // the term takes part in runs over all active sets
  CString m_name;                     // the search term
  CEngineList* m_database = nullptr;  // not owned
  EngineMap m_engines;                // owned clones; read through the functions above
  intptr_t m_progressUser = -1;
  EngineSetProgressFn m_progressCallback = nullptr;

  // A record of an engine the database does not know (an engine taken out of a newer database,
  // or one a damaged engines.dat lost): kept as read and stored again, so that opening and
  // saving a document never erases the history of an engine.
  struct KeptRecord {
    struct Result {
      CString title, url;
      int32_t index = 0, page = 0, position = 0, matched = 0;
    };
    CString name, response;
    int32_t enabled = 0, previousRank = -1, maxResults = 0, firstSubmit = 0, lastSubmit = 0,
            submitCount = 0, lastVisit = 0;
    BYTE submitted = 0;
    std::vector<Result> results;
  };
  using KeptMap = std::map<std::string, KeptRecord, NoCaseLess>;
  const KeptMap& GetKeptRecords() const {
    Ready();
    return m_kept;
  }

 private:
  KeptMap m_kept;
  void StoreKept(CArchive& ar, const KeptRecord& record) const;
  struct EngineRecord;
  struct WaitingRecords;
  // Makes the waiting clones (once, whichever thread asks first); nothing for a set that has them.
  void Ready() const;
  void MakeWaitingClones();
  CSearchEngine* FindClone(const CLibString& name) const;
  EngineRecord ReadRecord(CArchive& ar, int version) const;
  // What a record says of the engine: to the database's enabled flags, and to its clone.
  void RecordToDatabase(const EngineRecord& record, const CSearchEngine* clone) const;
  static void RecordToClone(const EngineRecord& record, CSearchEngine& clone,
                            const CLibString& keywords, const CLibString* site);
  // Keeps the record of an engine the set has no clone of, as read.
  void KeepRecord(const EngineRecord& record);
  void Progress(int step, CSearchEngine* engine, int number) const;
  // Puts the engine under its name, deleting a clone it replaces.
  void Put(CSearchEngine* engine);
  // A fresh clone for old, or null (old stays) when its prototype is gone.
  CSearchEngine* Reclone(CSearchEngine* old, const CLibString& siteUrls, int32_t keep);
  void StoreEngine(CArchive& ar, CSearchEngine& engine) const;
  void LoadEngine(CArchive& ar, int version, int index);

  mutable std::atomic<bool> m_waiting{false};
  mutable std::mutex m_readyLock;
  std::unique_ptr<WaitingRecords> m_records;  // while the clones wait
};

// Forgets that the "no engines" notice was shown (tests).
void ResetNoEnginesNotice();
