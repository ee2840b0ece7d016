// The import of a page's title, description and keywords: how a page is read (a table of pages),
// and the dialog fetching from a loopback server as the user drives it, with the failures and a
// Cancel while the server holds the connection.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "app/services/AppPaths.h"
#include "app/services/AppServices.h"
#include "resources/resource.h"
#include "tests/servers/HttpTestServer.h"
#include "ui/dialogs/ImportProperties.h"
#include "ui/tests/dialogs/DialogDriver.h"

namespace {

using dlgtest::ItemText;
using dlgtest::Press;
using dlgtest::RunModal;
using zbtest::HttpResponse;

struct Read {
  std::string title, description, keywords;
};

Read ReadPage(const std::string& page) {
  CString title, description, keywords;
  CImportProperties::ReadPage(page, title, description, keywords);
  return {title.GetString(), description.GetString(), keywords.GetString()};
}

const char kFullPage[] =
    "<html><head>\r\n<TITLE>Bikes &amp; Boards\r\n of Springfield</TITLE>\r\n"
    "<meta name=\"description\" content=\"Repairs &amp; rentals since 1982\">\n"
    "<META NAME=\"Keywords\" CONTENT=\"bikes, boards &amp; more, rentals\">\n"
    "</head><body>Hello</body></html>";

}  // namespace

TEST(ImportReadPage, TakesTitleDescriptionAndKeywordsAsWritten) {
  struct Case {
    const char* why;
    std::string page;
    Read expected;
  };
  const Case cases[] = {
      // Line breaks go first, so a title over several lines is read whole; tags match in any
      // case; "&amp;" is undone in the title and the description only.
      {"a full head", kFullPage,
       {"Bikes & Boards of Springfield", "Repairs & rentals since 1982",
        "bikes, boards &amp; more, rentals"}},
      {"none of them", "<html><body><p>No head at all</p></body></html>", {"", "", ""}},
      {"an empty title", "<title></title>", {"", "", ""}},
      {"the end before the start", "</title>x<title>", {"", "", ""}},
      // Every end mark of a tag.
      {"end marks",
       "<meta name=\"description\" content=\"one\" >"
       "<meta name=\"keywords\" content=\"a, b\"/>",
       {"", "one", "a, b"}},
      {"the spaced self-closing mark", "<meta name=\"keywords\" content=\"x y\" />", {"", "", "x y"}},
      // Only the exact form is read right: one blank, the content attribute next.
      {"two blanks", "<meta name=\"keywords\"  content=\"a\">", {"", "", "\"a"}},
      {"another order", "<meta content=\"a\" name=\"keywords\">", {"", "", ""}},
      // A tag without its content attribute ends before its value would begin: no value, where a
      // cut of negative length would have read outside the page.
      {"no content attribute", "<meta name=\"keywords\"><meta name=\"description\">", {"", "", ""}},
      {"no end mark", "<meta name=\"keywords\" content=\"never closed", {"", "", ""}},
      {"the tag at the very end", "<meta name=\"description\"", {"", "", ""}},
      {"an empty value", "<meta name=\"description\" content=\"\">", {"", "", ""}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    Read got = ReadPage(c.page);
    EXPECT_EQ(got.title, c.expected.title);
    EXPECT_EQ(got.description, c.expected.description);
    EXPECT_EQ(got.keywords, c.expected.keywords);
  }
}

class ImportPropertiesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dlgtest::UseLanguageModule();
    ASSERT_TRUE(m_server.Start());
  }
  void TearDown() override {
    m_server.Stop();
    ::DeleteFileA(GetAppFolder() + "import.html");
  }

  // Opens the dialog on the address, presses Import and lets the worker end it.
  INT_PTR Import(CImportProperties& dlg, const std::string& url) {
    dlg.m_strURL = url.c_str();
    return RunModal(dlg, {[](HWND d) { Press(d, IDC_IMPORT_START); }});
  }

  zbtest::HttpTestServer m_server;
};

TEST_F(ImportPropertiesTest, ReadsThePageTheServerSends) {
  m_server.Route("/site/", HttpResponse::Text(kFullPage));
  CImportProperties dlg;
  dlgtest::MessageBoxes boxes(IDOK);
  EXPECT_EQ(Import(dlg, m_server.Url("/site/")), IDOK);
  EXPECT_STREQ(dlg.m_strTitle, "Bikes & Boards of Springfield");
  EXPECT_STREQ(dlg.m_strDescription, "Repairs & rentals since 1982");
  EXPECT_STREQ(dlg.m_strKeywords, "bikes, boards &amp; more, rentals");
  EXPECT_TRUE(boxes.texts.empty());
  EXPECT_FALSE(CImportProperties::IsImportRunning());

  ASSERT_EQ(m_server.RequestCount(), 1u);
  zbtest::HttpRequest request = m_server.LastRequest();
  EXPECT_EQ(request.Header("User-Agent"), "Mozilla/4.0 (compatible; MSIE 4.01; Windows 98)");
  EXPECT_EQ(request.Header("Accept"),
            "application/vnd.ms-excel, application/msword, application/vnd.ms-powerpoint, "
            "application/x-comet, */*");
  EXPECT_EQ(request.Header("Connection"), "close");
}

// A page without a title or meta tags still imports: the values are empty. A redirect is
// followed, and a body framed only by the close of the connection counts as whole.
TEST_F(ImportPropertiesTest, APageWithoutThemGivesEmptyValues) {
  HttpResponse bare = HttpResponse::Text("<html><body>Nothing to see</body></html>");
  bare.framing = HttpResponse::Body::Close;
  m_server.Route("/bare", bare);
  m_server.Route("/moved", HttpResponse::Redirect("/bare"));
  CImportProperties dlg;
  dlg.m_strTitle = "left over";
  dlgtest::MessageBoxes boxes(IDOK);
  EXPECT_EQ(Import(dlg, m_server.Url("/moved")), IDOK);
  EXPECT_STREQ(dlg.m_strTitle, "");
  EXPECT_STREQ(dlg.m_strDescription, "");
  EXPECT_STREQ(dlg.m_strKeywords, "");
  EXPECT_TRUE(boxes.texts.empty());
}

// A page that cannot be had ends the dialog with Cancel after the message.
TEST_F(ImportPropertiesTest, FailuresTellTheUserAndCancel) {
  zbtest::HttpTestServer dead;
  ASSERT_TRUE(dead.Start());
  std::string deadUrl = dead.Url("/gone");
  dead.Stop();

  HttpResponse shortBody = HttpResponse::Text(std::string(400, 'x'));
  shortBody.truncateAfter = 200;  // the head says 400 bytes; the connection closes early
  m_server.Route("/short", shortBody);
  HttpResponse error = HttpResponse::Text("<title>Server error</title>", "text/html", 500);
  m_server.Route("/error", error);

  struct Case {
    const char* why;
    std::string url;
  };
  const Case cases[] = {
      {"no such page", m_server.Url("/missing")},
      {"a server error", m_server.Url("/error")},
      {"a body shorter than its length", m_server.Url("/short")},
      {"a dead server", deadUrl},
      {"not an address", "no address at all"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    CImportProperties dlg;
    dlgtest::MessageBoxes boxes(IDOK);
    EXPECT_EQ(Import(dlg, c.url), IDCANCEL);
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_EQ(boxes.texts[0], std::string(LoadResString(IDS_IMPORT_FAILED)));
    EXPECT_STREQ(dlg.m_strTitle, "");
    EXPECT_FALSE(CImportProperties::IsImportRunning());
  }
}

// While the server holds the connection the dialog shows that it reads and cannot start a second
// fetch; Cancel stops the fetch, and the dialog ends with Cancel once the worker is done, with no
// message.
TEST_F(ImportPropertiesTest, CancelStopsAStalledFetch) {
  HttpResponse stalled = HttpResponse::Text("<title>Never</title>");
  stalled.stallAfter = 0;
  m_server.Route("/stall", stalled);
  CImportProperties dlg;
  dlg.m_strURL = m_server.Url("/stall").c_str();
  dlg.m_strCaption = LoadResString(IDS_IMPORT_TERMS_CAPTION);
  dlgtest::MessageBoxes boxes(IDOK);
  std::string status, caption;
  bool buttonEnabled = true, running = false;
  DWORD cancelledAt = 0;
  INT_PTR result = RunModal(
      dlg, {[](HWND d) { Press(d, IDC_IMPORT_START); },
            [&](HWND d) {
              EXPECT_TRUE(m_server.WaitForRequests(1));
              status = ItemText(d, IDC_IMPORT_STATUS);
              char text[256] = {};
              ::GetWindowTextA(d, text, sizeof text);
              caption = text;
              buttonEnabled = ::IsWindowEnabled(::GetDlgItem(d, IDC_IMPORT_START)) != FALSE;
              running = CImportProperties::IsImportRunning();
              ::SendMessageA(d, WM_COMMAND, IDC_IMPORT_START, 0);  // a second start is ignored
              cancelledAt = ::GetTickCount();
              Press(d, IDCANCEL);
            }});
  DWORD took = ::GetTickCount() - cancelledAt;
  EXPECT_EQ(result, IDCANCEL);
  EXPECT_EQ(status, std::string(LoadResString(IDS_IMPORT_READING)));
  EXPECT_EQ(caption, std::string(LoadResString(IDS_IMPORT_TERMS_CAPTION)));
  EXPECT_FALSE(buttonEnabled);
  EXPECT_TRUE(running);
  // Far below the socket's 45 s time-out, and far above what a loaded machine needs to cancel.
  EXPECT_LT(took, 15000u) << "the abort ends the wait at once, not at the socket's time-out";
  EXPECT_TRUE(boxes.texts.empty());
  EXPECT_FALSE(CImportProperties::IsImportRunning());
  EXPECT_EQ(m_server.RequestCount(), 1u);
}

// Aborts from another thread at any moment, while fetches start and end: the client is never
// reached after the worker freed it, and every dialog still ends one way or the other.
TEST_F(ImportPropertiesTest, AbortsRacingTheEndOfFetchesAreSafe) {
  HttpResponse page = HttpResponse::Text("<title>Quick</title>");
  m_server.Route("/quick", page);
  std::atomic<bool> stop{false};
  std::thread hammer([&] {
    while (!stop) {
      CImportProperties::AbortImport();
      ::Sleep(0);
    }
  });
  dlgtest::MessageBoxes boxes(IDOK);
  for (int run = 0; run < 8; ++run) {
    SCOPED_TRACE(run);
    CImportProperties dlg;
    INT_PTR result = Import(dlg, m_server.Url("/quick"));
    EXPECT_TRUE(result == IDOK || result == IDCANCEL) << result;
    if (result == IDOK) {
      EXPECT_STREQ(dlg.m_strTitle, "Quick");
    }
  }
  stop = true;
  hammer.join();
  EXPECT_TRUE(boxes.texts.empty()) << "an aborted fetch is not a failure to tell";
  EXPECT_FALSE(CImportProperties::IsImportRunning());
}
