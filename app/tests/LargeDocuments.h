// Large or odd documents for the tests, written field by field through the document's own
// compressed file so that the files on disk stay small however far they expand. Shared by the
// document's tests and by those of ZBPro as a whole process.
#pragma once
#include <windows.h>
#include <psapi.h>

#include <functional>
#include <string>
#include <vector>

#include "app/document/CrusherFile.h"
#include "framework/files/Archive.h"
#include "framework/core/OleDateTime.h"

namespace largedoc {

// What the document's process holds privately, in bytes (the test's own process by default).
inline size_t PrivateBytes(HANDLE process = GetCurrentProcess()) {
  PROCESS_MEMORY_COUNTERS_EX counters = {};
  counters.cb = sizeof counters;
  if (!K32GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                               sizeof counters))
    return 0;
  return counters.PagefileUsage > counters.WorkingSetSize ? counters.PagefileUsage
                                                          : counters.WorkingSetSize;
}

// One engine record of a set, with results.
inline void EngineRecord(CArchive& ar, const CString& name, int results) {
  ar << name << 1 << -1 << 0 << 0 << 0 << 0 << 0 << static_cast<BYTE>(0) << CString();
  ar << results;
  for (int i = 0; i < results; ++i)
    ar << CString("title") << i + 1 << 1 << i + 1 << CString("http://r.example/") << 0;
}

inline void SetRecord(CArchive& ar, int active, const CString& term, int records,
                      const std::function<void(CArchive&, int)>& record) {
  ar << 2 << active << term << records;
  for (int i = 0; i < records; ++i) record(ar, i);
}

struct Case {
  const char* name;
  std::string site = "http://www.zb-testsite.com/";
  UINT cacheEntries = 0;  // of engines the database does not know
  UINT profileEntries = 0;
  UINT sets = 1;
  UINT activeSets = 1;  // the first ones; the rest take no part in a run
  std::function<CString(UINT set)> term = [](UINT) { return CString("blue widgets"); };
  int records = 0;  // per set
  std::function<void(CArchive&, int)> record = [](CArchive& ar, int i) {
    static const char* const kNames[] = {"Alpha", "Beta", "Gamma"};
    EngineRecord(ar, kNames[i % 3], 3);
  };
  // When the document must be refused: the limit its message names.
  const char* limit = nullptr;
};

// Writes the document of the case as the program writes version 9.
inline bool Write(const std::string& path, const Case& c) {
  try {
    CCrusherFile file;
    if (!file.Open(path.c_str(), CFile::modeCreate | CFile::modeWrite)) return false;
    CArchive ar(&file, CArchive::store);
    ar << 9u << c.sets * 3u << c.cacheEntries;
    for (UINT i = 0; i < c.cacheEntries; ++i) {
      CString name;
      name.Format("Unknown engine %u", i);
      ar << name << 0u << i << 0u;
    }
    ar << CString(c.site.c_str()) << COleDateTime(2026, 1, 2, 3, 4, 5) << CString();
    for (int i = 0; i < 6; ++i) ar << CString();
    ar << c.profileEntries << 0 << 3 << 0 << 1 << 10 << 0;
    for (UINT i = 0; i < c.profileEntries; ++i) {
      CString key;
      key.Format("KEY_%u", i);
      ar << key << CString("value");
    }
    ar << c.sets;
    for (UINT i = 0; i < c.sets; ++i)
      SetRecord(ar, i < c.activeSets ? 1 : 0, c.term(i), c.records, c.record);
    ar.Close();
    file.Close();
    return true;
  } catch (...) {
    return false;
  }
}

// Counted terms "t0", "t1"... for sets of their own.
inline CString NumberedTerm(UINT i) {
  CString term;
  term.Format("t%u", i);
  return term;
}

// The documents of the tests: those within the limits (the largest a limit lets through among
// them) and those past one, which are refused.
inline std::vector<Case> Cases() {
  std::vector<Case> cases;
  {
    Case c{"300,000 search terms without records"};
    c.sets = 300000;
    c.term = NumberedTerm;
    c.limit = "5000";
    cases.push_back(c);
  }
  {
    Case c{"5,000 search terms"};
    c.sets = 5000;
    c.term = NumberedTerm;
    cases.push_back(c);
  }
  {
    Case c{"5,001 search terms"};
    c.sets = 5001;
    c.term = NumberedTerm;
    c.limit = "5000";
    cases.push_back(c);
  }
  {
    Case c{"a site address of 256 KB"};
    c.site = "http://www.zb-testsite.com/" + std::string(256 << 10, 'a');
    c.limit = "4096";
    cases.push_back(c);
  }
  {
    Case c{"a site address of 4,096 characters"};
    c.site = "http://www.zb-testsite.com/" + std::string(4096 - 27, 'a');
    cases.push_back(c);
  }
  {
    Case c{"a site address of 4,097 characters"};
    c.site = "http://www.zb-testsite.com/" + std::string(4097 - 27, 'a');
    c.limit = "4096";
    cases.push_back(c);
  }
  {
    Case c{"a search term of 256 KB"};
    c.term = [](UINT) { return CString(std::string(256 << 10, 'w').c_str()); };
    c.limit = "1024";
    cases.push_back(c);
  }
  {
    Case c{"a search term of 1,024 characters"};
    c.term = [](UINT) { return CString(std::string(1024, 'w').c_str()); };
    c.records = 3;
    cases.push_back(c);
  }
  {
    Case c{"a later search term of 1,025 characters"};
    c.sets = 3;
    c.term = [](UINT i) { return CString(std::string(i == 2 ? 1025 : 10, 'w').c_str()); };
    c.limit = "1024";
    cases.push_back(c);
  }
  {
    Case c{"a million unknown engines in the cache"};
    c.cacheEntries = 1000000;
    cases.push_back(c);
  }
  {
    Case c{"900 sets of one term, all active"};
    c.sets = 900;
    c.activeSets = 900;
    c.records = 3;
    cases.push_back(c);
  }
  {
    Case c{"a million site profile entries"};
    c.profileEntries = 1000000;
    cases.push_back(c);
  }
  {
    Case c{"a million results of one engine"};
    c.records = 1;
    c.record = [](CArchive& ar, int) { EngineRecord(ar, "Alpha", 1000000); };
    cases.push_back(c);
  }
  {
    Case c{"a million records of unknown engines"};
    c.records = 1000000;
    c.record = [](CArchive& ar, int i) {
      CString name;
      name.Format("Unknown engine %d", i);
      EngineRecord(ar, name, i % 100 == 0 ? 1 : 0);
    };
    cases.push_back(c);
  }
  return cases;
}

}  // namespace largedoc
