#include "reports/tests/ReportFixture.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "engines/query/DebugOptions.h"
#include "engines/db/EngineServices.h"
#include "framework/app/MessageBox.h"
#include "framework/core/OleDateTime.h"

namespace reporttest {

const char* const FixtureDocument::kBeta = "Beta <i>&\"Co\"";

namespace {

const char kEngines[] =
    "[Alpha]\nenabled=1\ncountry=USA\nhomepage=www.alpha.example\n"
    "addpage=http://www.alpha.example/add\nlogourl=www.alpha.example/logo.gif\n"
    "submit=http://www.alpha.example/add?u=#URL#\n\n"
    "[Beta <i>&\"Co\"]\nenabled=1\ncountry=<b>DE</b>\nhomepage=javascript:alert(1)\n\n"
    "[Gamma]\nenabled=1\ncountry=UK\nhomepage=http://gamma.example/\n\n";

int QuietEngineBox(HWND, const char*, const char*, unsigned) {
  return IDOK;
}

int QuietBox(LPCSTR, UINT) {
  return IDOK;
}

}  // namespace

std::string ReadFile(const std::string& path) {
  std::string content;
  FILE* f = fopen(path.c_str(), "rb");
  if (!f) return content;
  char buffer[4096];
  size_t got;
  while ((got = fread(buffer, 1, sizeof buffer, f)) > 0) content.append(buffer, got);
  fclose(f);
  return content;
}

void WriteFile(const std::string& path, const std::string& content) {
  FILE* f = fopen(path.c_str(), "wb");
  if (!f) return;
  fwrite(content.data(), 1, content.size(), f);
  fclose(f);
}

ScratchRegistry::ScratchRegistry() {
  name_ = "Software\\ZBReportsTest\\" + std::to_string(GetCurrentProcessId());
  RegCreateKeyExA(HKEY_CURRENT_USER, name_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_,
                  nullptr);
  RegOverridePredefKey(HKEY_CURRENT_USER, key_);
}

ScratchRegistry::~ScratchRegistry() {
  RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
  if (key_) RegCloseKey(key_);
  RegDeleteTreeA(HKEY_CURRENT_USER, name_.c_str());
}

void ScratchRegistry::SetProperty(const char* name, const char* value) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Orvandel Labs, Inc.\\ZBPro\\Properties", 0,
                      nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
    return;
  RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                 static_cast<DWORD>(strlen(value) + 1));
  RegCloseKey(key);
}

void UseLanguageModule() {
  static HMODULE module = LoadLibraryExA("ZBResENU.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE);
  SetReportResourceModule(module);
}

CSearchEngine* Engine(CEngineSet* set, const char* name) {
  CSearchEngine* engine = set ? set->FindEngine(name) : nullptr;
  EXPECT_NE(engine, nullptr) << name;
  return engine;
}

void AddResult(CSearchEngine* engine, int page, int position, const char* html, bool matched,
               const char* matchedText) {
  if (!engine) return;
  CSearchResult record;
  record.m_index = engine->GetResultCount();
  record.m_page = page;
  record.m_position = position;
  record.m_text = html;
  record.m_matched = matched ? 1 : 0;
  engine->AddResult(record);
  auto* added = static_cast<CSearchResult*>(engine->m_results.Tail()->Payload());
  added->m_matchedText = matchedText;
}

FixtureDocument::FixtureDocument() {
  SetEngineMessageBox(QuietEngineBox);
  AfxSetMessageBoxHandler(QuietBox);
  UseLanguageModule();
  WriteFile(folder_.File("engines.dat"), kEngines);
  CreateDirectoryA(ReportsFolder().c_str(), nullptr);
  SetEngineDataFolder(folder_.Path().c_str());
  doc_ = std::make_unique<CZubrinDoc>();
  doc_->OnNewDocument();
  doc_->SetPathName("C:\\Projects\\My Site.zbp", FALSE);
  doc_->m_siteUrl = "mysite.com widgets";
  doc_->m_lastRun = COleDateTime(2026, 12, 9, 10, 30, 0);
  doc_->m_reportsDir = ReportsFolder().c_str();
  doc_->m_profile.SetAt("URL_WITH_PREFIX", "http://www.mysite.com/");

  first_ = doc_->m_manager.GetFirstSet();
  first_->m_name = "blue widgets";
  second_ = new CEngineSet(&doc_->m_database, 1, "red <gadgets> & \"more\"");
  doc_->m_manager.AddSet(second_);
  doc_->m_currentSet = first_;

  CSearchEngine* alpha = Engine(first_, "Alpha");
  AddResult(alpha, 0, 0, "<a href=\"http://other.example/\">Other &amp; co</a> blue things",
            false);
  AddResult(alpha, 0, 1,
            "<a HREF = 'http://www.mysite.com/?a=1&amp;b=2'>My <abbr>Site</abbr> page</a> "
            "<script>alert(1)</script><img src=x onerror=\"alert(2)\"> Blue Widgets sold here",
            true, "mysite.com");
  AddResult(alpha, 1, 0, "<a href=\"javascript:alert(3)\">Evil</a> widgets", false);
  AddResult(alpha, 1, 1, "<a href=\"http://mysite.com/b\">second</a> page", true, "mysite.com");
  alpha->m_previousRank = 5;
  alpha->m_submitCount = 1;
  alpha->m_firstSubmitDate = alpha->m_lastSubmitDate = alpha->m_lastVisitDate =
      CDate::DayNumber(11, 20, 2026);
  alpha->m_submitted = 0;
  alpha->m_responseText = "<html><body onload=\"alert(4)\">Thank you<script>x()</script></body>";

  CSearchEngine* beta = Engine(first_, kBeta);
  beta->m_previousRank = -1;
  beta->m_submitCount = 2;
  beta->m_firstSubmitDate = CDate::DayNumber(10, 1, 2026);
  beta->m_lastSubmitDate = beta->m_lastVisitDate = CDate::DayNumber(12, 1, 2026);
  beta->m_submitted = 1;

  CSearchEngine* gamma = Engine(first_, "Gamma");
  AddResult(gamma, 0, 0, "<a href=\"http://mysite.com/\">My site, \"home\"</a>", true,
            "mysite.com");
  gamma->m_previousRank = 1;

  CSearchEngine* alpha2 = Engine(second_, "Alpha");
  AddResult(alpha2, 0, 0, "<a href=\"http://shop.example/\">Shop</a>", false);
  alpha2->m_previousRank = 3;
  Engine(second_, kBeta)->m_enabled = 0;
}

FixtureDocument::~FixtureDocument() {
  doc_.reset();
  SetEngineDataFolder("");
  AfxSetMessageBoxHandler(nullptr);
}

}  // namespace reporttest
