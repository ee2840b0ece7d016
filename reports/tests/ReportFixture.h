// The small document the report tests work on: three engines (one with a hostile name and a
// script home page), two search terms (one hostile), results over two pages with hostile
// result HTML, previous ranks and submission records. The test process gets its own registry
// (a scratch key in place of HKEY_CURRENT_USER) so the colours and settings are its own.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "app/document/ZubrinDoc.h"
#include "engines/sets/EngineSet.h"
#include "foundation/core/Date.h"
#include "engines/db/SearchEngine.h"
#include "tests/support/TempFolder.h"

namespace reporttest {

using zbtest::TempFolder;

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& content);

// HKEY_CURRENT_USER of the process is a fresh scratch key while the object lives.
class ScratchRegistry {
 public:
  ScratchRegistry();
  ~ScratchRegistry();
  // A string value under the program's Properties key.
  void SetProperty(const char* name, const char* value);

 private:
  HKEY key_ = nullptr;
  std::string name_;
};

// Loads the language module beside the test program for the report texts.
void UseLanguageModule();

// The engine named name in the set; fails the test when missing.
CSearchEngine* Engine(CEngineSet* set, const char* name);

// One result of an engine.
void AddResult(CSearchEngine* engine, int page, int position, const char* html, bool matched,
               const char* matchedText = "");

class FixtureDocument {
 public:
  FixtureDocument();
  ~FixtureDocument();
  CZubrinDoc& Doc() { return *doc_; }
  CEngineSet* First() { return first_; }
  CEngineSet* Second() { return second_; }
  const TempFolder& Folder() const { return folder_; }
  // The output folder of the document (a sub-folder of the scratch folder).
  std::string ReportsFolder() const { return folder_.Path() + "out\\"; }

  static const char* const kBeta;  // the hostile engine name

 private:
  TempFolder folder_;
  std::unique_ptr<CZubrinDoc> doc_;
  CEngineSet* first_ = nullptr;
  CEngineSet* second_ = nullptr;
};

}  // namespace reporttest
