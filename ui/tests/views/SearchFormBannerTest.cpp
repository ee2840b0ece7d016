// The search form's banner against a banner server of the test's own: the request it sends,
// banners shown in turn, a failed fetch tried again, the next server after a short reply, no
// banner when banners are off or the run is automated, the end of a run cutting a slow fetch
// short, and a click opening the banner's address through the test's own opener.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/services/AppPaths.h"
#include "app/program/NQCommandLineInfo.h"
#include "app/settings/SearchProperties.h"
#include "app/run/RunCommands.h"
#include "app/run/UpdateBroadcast.h"
#include "engines/sets/EngineSet.h"
#include "foundation/cgi/CgiEnvironment.h"
#include "foundation/core/ScrambleCoder.h"
#include "framework/app/AfxResource.h"
#include "resources/resource.h"
#include "tests/servers/BannerTestServer.h"
#include "ui/tests/views/TermsWindow.h"
#include "ui/views/SearchFormBanner.h"

namespace termstest {
namespace {

using zbtest::BannerTestServer;

std::vector<std::string>& OpenedUrls() {
  static std::vector<std::string> urls;
  return urls;
}

BOOL RecordOpen(LPCSTR url) {
  OpenedUrls().push_back(url);
  return TRUE;
}

// Handles messages (the worker's posts, the timers) until the condition holds or time runs out.
template <class Condition>
bool PumpUntil(Condition condition, DWORD timeoutMs = 8000) {
  const DWORD start = ::GetTickCount();
  while (!condition()) {
    if (::GetTickCount() - start > timeoutMs) return false;
    Pump();
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
  return true;
}

class SearchFormBannerTest : public TermsWindowTest {
 protected:
  void SetUp() override {
    TermsWindowTest::SetUp();
    ASSERT_TRUE(m_server.Start());
    UseServers({m_server.BaseUrl()});
    OpenedUrls().clear();
    SetBannerOpenFunction(RecordOpen);
    CSearchForm::SetBannerRetryDelay(300);
    GetSearchProperties().m_nBannersOn = 1;
  }
  void TearDown() override {
    if (m_form && ::IsWindow(m_form->m_hWnd)) BroadcastUpdate(HINT_RUN_FINISHED, 0);
    Pump();
    TermsWindowTest::TearDown();
    SetBannerOpenFunction(nullptr);
    CSearchForm::SetBannerRetryDelay(30000);
    CSearchForm::SetBannerDefaultDisplay(2000);
    SetCommandLineInfo(nullptr);
    GetSearchProperties().m_nBannersOn = 1;
  }

  static void UseServers(const std::vector<std::string>& bases) {
    CNVList& servers = GetBannerServers();
    servers.RemoveAll();
    for (size_t i = 0; i < bases.size(); ++i)
      servers.SetAt(("Server" + std::to_string(i)).c_str(), bases[i].c_str());
  }
  void StartRun() {
    BroadcastUpdate(HINT_RUN_SET_UP, 0);
    BroadcastUpdate(HINT_RUN_START, 0);
  }
  bool WaitForBanner() {
    return PumpUntil([this] { return m_form->IsBannerShown() != FALSE; });
  }
  std::string ClickUrl() const { return m_form->GetBannerClickUrl().GetString(); }

  BannerTestServer m_server;
};

// The request carries the language, the current term and the mode, scrambled; the banner is
// centred in place of the fields, stays for its display time and is followed by the next one;
// the end of the run takes it away and brings the fields back.
TEST_F(SearchFormBannerTest, ARunShowsTheServersBannersInTurn) {
  SetTerms({"red shoes", "blue hats"}, 1);
  m_server.SetDisplaySeconds(2);
  StartRun();
  ASSERT_TRUE(WaitForBanner());

  CScrambleCoder coder("Kq7vNw2pXr4tLm9sHd3jYc6fBz8gTa5eU");
  CCgiEnvironment query;
  query.SetCoder(&coder);
  ASSERT_EQ(m_server.BannerQueries().size(), 1u);
  EXPECT_EQ(query.ParseQuery(m_server.BannerQueries()[0].c_str()), 3);
  EXPECT_STREQ(query.GetValue("kw").c_str(), "blue hats");
  // The letters of the language module's name as they stand ("ENU" for ZBResENU.dll).
  EXPECT_STREQ(query.GetValue("lang").c_str(), GetLanguageCode().GetString());
  EXPECT_EQ(_stricmp(query.GetValue("lang").c_str(), "enu"), 0);
  EXPECT_STREQ(query.GetValue("cl").c_str(), "0");

  for (int id : {IDC_FORM_SITE_URL, IDC_FORM_SEARCH_TERM}) EXPECT_FALSE(::IsWindowVisible(Field(id)));
  CRect client;
  m_form->GetClientRect(&client);
  const CRect& banner = m_form->GetBannerRect();
  EXPECT_EQ(banner.Width(), 120);
  EXPECT_EQ(banner.Height(), 40);
  EXPECT_EQ(banner.left, (client.Width() - 120) / 2);
  EXPECT_EQ(banner.top, (client.Height() - 40) / 2);
  EXPECT_EQ(ClickUrl(), m_server.BaseUrl() + "cgi-bin/clickbanner.cgi?banner_id=1");
  EXPECT_EQ(m_form->GetBannerRotation(), 2000u);

  // After its two seconds the next banner comes.
  ASSERT_TRUE(PumpUntil([this] { return ClickUrl().find("banner_id=2") != std::string::npos; }));
  EXPECT_TRUE(m_form->IsBannerShown());
  EXPECT_EQ(m_server.BannersServed(), 2);

  BroadcastUpdate(HINT_RUN_FINISHED, 0);
  Pump();
  EXPECT_FALSE(m_form->IsBannerShown());
  EXPECT_TRUE(m_form->GetBannerRect().IsRectEmpty());
  for (int id : {IDC_FORM_SITE_URL, IDC_FORM_SEARCH_TERM}) EXPECT_TRUE(::IsWindowVisible(Field(id)));
}

// A failed fetch is tried again after the retry delay. The retry's timer belongs to the form's
// thread (Windows refuses a timer for another thread's window): the form sets it when the worker
// tells it, and knows it is there.
TEST_F(SearchFormBannerTest, AFailedFetchIsTriedAgainUntilABannerComes) {
  m_server.SetMode(BannerTestServer::Mode::Fail);
  StartRun();
  ASSERT_TRUE(PumpUntil([this] { return m_form->GetBannerRotation() == 300u; }));
  ASSERT_TRUE(PumpUntil([this] { return m_server.BannerQueries().size() >= 2; }));
  EXPECT_FALSE(m_form->IsBannerShown());
  m_server.SetMode(BannerTestServer::Mode::Serve);
  ASSERT_TRUE(WaitForBanner());
  EXPECT_NE(ClickUrl().find("banner_id=1"), std::string::npos);
}

// A reply cut short by the first server sends the worker to the next, whose banner is shown and
// whose address the click leads to.
TEST_F(SearchFormBannerTest, AShortReplyAsksTheNextServer) {
  BannerTestServer second;
  ASSERT_TRUE(second.Start());
  m_server.SetMode(BannerTestServer::Mode::Truncate);
  UseServers({m_server.BaseUrl(), second.BaseUrl()});
  StartRun();
  ASSERT_TRUE(WaitForBanner());
  EXPECT_EQ(m_server.BannerQueries().size(), 1u);
  EXPECT_EQ(second.BannersServed(), 1);
  EXPECT_EQ(ClickUrl().rfind(second.BaseUrl(), 0), 0u) << ClickUrl();
}

// No request at all with banners off or in an automated run.
TEST_F(SearchFormBannerTest, NoBannerWhenOffOrAutomated) {
  struct Case {
    const char* name;
    int bannersOn;
    const char* commandLine;
  } cases[] = {{"banners off", 0, nullptr}, {"automated run", 1, "/auto"}};
  for (const Case& c : cases) {
    GetSearchProperties().m_nBannersOn = c.bannersOn;
    SetCommandLineInfo(c.commandLine ? new NQCommandLineInfo(c.commandLine) : nullptr);
    StartRun();
    PumpUntil([] { return false; }, 600);
    EXPECT_EQ(m_server.RequestCount(), 0u) << c.name;
    EXPECT_FALSE(m_form->IsBannerShown()) << c.name;
    BroadcastUpdate(HINT_RUN_FINISHED, 0);
    Pump();
  }
}

// Banners without a usable display time (none, 0 or 1 second) rotate after the default time, six
// in a row at most; the seventh stays until the run ends.
TEST_F(SearchFormBannerTest, TheSeventhShortBannerInARowStays) {
  CSearchForm::SetBannerDefaultDisplay(150);
  const char* times[] = {"", "0", "1", "", "0", "1"};
  int served = 0;
  StartRun();
  for (const char* seconds : times) {
    m_server.SetDisplaySeconds(seconds);
    ++served;
    ASSERT_TRUE(PumpUntil([&] { return m_server.BannersServed() >= served && m_form->IsBannerShown(); }))
        << served;
    ASSERT_TRUE(PumpUntil([&] { return m_form->GetBannerRotation() == 150u; })) << served;
  }
  // The seventh: shown, no rotation, and no further request however long the run lasts.
  m_server.SetDisplaySeconds("");
  ASSERT_TRUE(PumpUntil([this] { return m_server.BannersServed() >= 7 && m_form->GetBannerRotation() == 0u; }));
  EXPECT_TRUE(m_form->IsBannerShown());
  PumpUntil([] { return false; }, 800);
  EXPECT_EQ(m_server.BannersServed(), 7);
  BroadcastUpdate(HINT_RUN_FINISHED, 0);
  Pump();

}

// The end of a run aborts a fetch under way instead of waiting for the server.
TEST_F(SearchFormBannerTest, TheEndOfARunCutsASlowFetchShort) {
  m_server.SetDelay(20000);
  StartRun();
  ASSERT_TRUE(PumpUntil([this] { return m_server.RequestCount() >= 1; }));
  const DWORD start = ::GetTickCount();
  BroadcastUpdate(HINT_RUN_FINISHED, 0);
  Pump();
  EXPECT_LT(::GetTickCount() - start, 5000u);
  EXPECT_FALSE(m_form->IsBannerShown());
}

// A click on the banner opens its address; the server's id is encoded so that it stays one
// value of one argument. A click beside the banner opens nothing.
TEST_F(SearchFormBannerTest, AClickOpensTheBannersAddressWithItsIdEncoded) {
  const char* ids[] = {"42", "7&admin=1", "1\" /c calc", "a b%"};
  for (const char* id : ids) {
    OpenedUrls().clear();
    m_server.SetBannerId(id);
    StartRun();
    ASSERT_TRUE(WaitForBanner()) << id;
    const CRect banner = m_form->GetBannerRect();
    m_form->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(banner.left - 1, banner.top));
    EXPECT_TRUE(OpenedUrls().empty()) << id;
    m_form->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(banner.CenterPoint().x, banner.CenterPoint().y));
    ASSERT_EQ(OpenedUrls().size(), 1u) << id;
    const std::string prefix = m_server.BaseUrl() + "cgi-bin/clickbanner.cgi?banner_id=";
    const std::string& url = OpenedUrls()[0];
    ASSERT_EQ(url.rfind(prefix, 0), 0u) << url;
    const std::string value = url.substr(prefix.size());
    EXPECT_EQ(value.find_first_of(" \"&="), std::string::npos) << url;
    EXPECT_STREQ(CCgiEnvironment::UrlDecodeValue(value.c_str()).c_str(), id);
    BroadcastUpdate(HINT_RUN_FINISHED, 0);
    Pump();
  }
  // The hand over the banner comes from the language module.
  EXPECT_NE(::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDC_BANNER_HAND)), nullptr);
}

}  // namespace
}  // namespace termstest
