#include "ui/tests/project/ProjectFixture.h"

#include "engines/submit/CategoryReader.h"
#include "engines/db/EngineList.h"
#include "engines/db/EngineServices.h"
#include "engines/sets/EngineSet.h"
#include "engines/query/PageCache.h"
#include "foundation/net/SockHttpClient.h"
#include "foundation/net/Socklet.h"
#include "framework/app/AfxResource.h"
#include "framework/app/MessageBox.h"
#include "tests/fakeengine/EngineFixtures.h"

namespace projtest {

std::vector<std::string> ProjectFixture::s_boxes;
int ProjectFixture::s_answer = IDOK;

namespace {
int RecordBox(LPCSTR text, UINT) {
  ProjectFixture::s_boxes.push_back(text ? text : "");
  return ProjectFixture::s_answer;
}
int QuietEngineBox(HWND, const char*, const char*, unsigned) { return IDOK; }
}  // namespace

void ProjectFixture::SetUp() {
  static HINSTANCE module = AfxLoadResourceModule("ZBResENU.dll");
  ASSERT_NE(module, nullptr) << "ZBResENU.dll beside the test";
  AfxSetResourceHandle(module);
  ASSERT_TRUE(SockletStartup());
  ASSERT_TRUE(fake.Start());
  std::string dir = folder.Path();
  dir.pop_back();
  ASSERT_TRUE(zbtest::WriteEngineFixtures(dir, fake.Port(), nullptr));
  SetEngineDataFolder(folder.Path().c_str());
  CEngineList::ClearCategoriesCache();
  ClearPageCache();
  ClearCategorySignIns();
  CSockHttpClient::ClearCookieJar();
  SetEngineMessageBox(QuietEngineBox);
  s_boxes.clear();
  s_answer = IDOK;
  AfxSetMessageBoxHandler(RecordBox);
  doc = std::make_unique<CZubrinDoc>();
  ASSERT_TRUE(doc->OnNewDocument());
  doc->SetTitle("Springfield Bikes");
  doc->m_reportsDir = "";
  doc->SetModifiedFlag(FALSE);
}

void ProjectFixture::TearDown() {
  doc.reset();
  AfxSetMessageBoxHandler(nullptr);
  SetEngineMessageBox(nullptr);
  SetEngineDataFolder("");
  CEngineList::ClearCategoriesCache();
  ClearPageCache();
  ClearCategorySignIns();
  CSockHttpClient::ClearCookieJar();
  fake.Stop();
  SockletCleanup();
}

void ProjectFixture::EnableOnly(const std::vector<const char*>& names) {
  for (const auto& entry : doc->m_currentSet->GetEngines()) entry.second->m_enabled = 0;
  for (const char* name : names) {
    CSearchEngine* engine = doc->m_currentSet->FindEngine(name);
    ASSERT_NE(engine, nullptr) << name;
    engine->m_enabled = 1;
  }
}

}  // namespace projtest
