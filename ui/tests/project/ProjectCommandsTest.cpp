// The main window's project commands open the sheet on their page, and mailing a report shows
// the sheet's mail page without Apply first.
#include <gtest/gtest.h>

#include <commctrl.h>

#include <memory>
#include <string>

#include "app/settings/SearchProperties.h"
#include "app/document/ZubrinDoc.h"
#include "framework/app/WinApp.h"
#include "framework/wnd/CmdUI.h"
#include "framework/docview/DocTemplate.h"
#include "reports/MapiMail.h"
#include "resources/resource.h"
#include "ui/MainFrame.h"
#include "ui/PlaceholderView.h"
#include "ui/sheets/project/ZubSheet.h"
#include "ui/tests/project/ProjectDriver.h"
#include "ui/tests/project/ProjectFixture.h"

namespace {

using namespace projtest;

const int kApplyButton = 0x3021;

class ProjectCommandsTest : public ProjectFixture {
 protected:
  void SetUp() override {
    ProjectFixture::SetUp();
    doc.reset();  // the frame's own document takes its place
    GetSearchProperties().m_nBannersOn = 0;
    app_ = std::make_unique<CWinApp>("ZBProProjectTest");
    app_->AddDocTemplate(new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CZubrinDoc),
                                                RUNTIME_CLASS(CMainFrame),
                                                RUNTIME_CLASS(CPlaceholderView)));
    app_->OnFileNew();
    frame_ = dynamic_cast<CMainFrame*>(app_->m_pMainWnd);
    ASSERT_NE(frame_, nullptr);
  }
  void TearDown() override {
    if (frame_ && ::IsWindow(frame_->m_hWnd)) {
      if (auto* d = dynamic_cast<CZubrinDoc*>(frame_->GetActiveDocument())) d->SetModifiedFlag(FALSE);
      ::DestroyWindow(frame_->m_hWnd);
    }
    app_.reset();
    // The main window's end leaves a quit message, which would end the next test's dialogs.
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
    SetMailSheet(nullptr);
    ProjectFixture::TearDown();
  }

  // Which page the sheet shows, and whether it has an Apply button; the sheet is then cancelled.
  static Step Look(std::string& page, bool& apply) {
    return [&page, &apply] {
      HWND sheet = DialogWith(IDOK);
      HWND current = sheet ? CurrentPage(sheet) : nullptr;
      if (!current) return false;
      page = ::GetDlgItem(current, IDC_FIELDS_TREE)    ? "fields"
             : ::GetDlgItem(current, IDC_RULES_AUTO)   ? "rules"
             : ::GetDlgItem(current, IDC_MAIL_TO)      ? "mail"
             : ::GetDlgItem(current, IDC_OUTPUT_FOLDER) ? "output"
                                                        : "?";
      HWND button = ::GetDlgItem(sheet, kApplyButton);
      apply = button && ::IsWindowVisible(button);
      ::PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
      return true;
    };
  }

  std::unique_ptr<CWinApp> app_;
  CMainFrame* frame_ = nullptr;
};

}  // namespace

TEST_F(ProjectCommandsTest, EachCommandOpensItsPage) {
  struct Case {
    UINT command;
    const char* page;
  };
  // The last command opens the page shown last: the one before it.
  const Case cases[] = {{ID_PROJECT_PAGE2, "mail"},   {ID_PROJECT_PAGE0, "fields"},
                        {ID_PROJECT_PAGE1, "rules"},  {ID_PROJECT_PAGE3, "output"},
                        {ID_PROJECT_PROPERTIES, "output"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.page);
    std::string page;
    bool apply = false;
    HWND frame = frame_->m_hWnd;
    Drive(
        [&] {
          ::SendMessageA(frame, WM_COMMAND, c.command, 0);
          return IDOK;
        },
        {Look(page, apply)});
    EXPECT_EQ(page, c.page);
    EXPECT_TRUE(apply);
  }
}

TEST_F(ProjectCommandsTest, MailingAReportAsksOnTheMailPageFirst) {
  std::string page;
  bool apply = true, sent = true;
  Drive(
      [&] {
        sent = MailReportFile("C:\\reports\\summary.htm",
                              dynamic_cast<CZubrinDoc*>(frame_->GetActiveDocument()));
        return IDOK;
      },
      {Look(page, apply)});
  EXPECT_EQ(page, "mail");
  EXPECT_FALSE(apply);
  EXPECT_FALSE(sent) << "a cancelled sheet gives up the mail";
}

// While a run submits, its workers read the site values: the sheet does not open to change them.
TEST_F(ProjectCommandsTest, NotDuringARun) {
  auto* d = dynamic_cast<CZubrinDoc*>(frame_->GetActiveDocument());
  ASSERT_NE(d, nullptr);
  struct EnabledCmdUI : CCmdUI {
    void Enable(BOOL on) override { enabled = on != FALSE; }
    bool enabled = true;
  };
  for (LONG running : {0, 1}) {
    SCOPED_TRACE(running);
    d->m_running = running;
    EnabledCmdUI ui;
    ui.m_nID = ID_PROJECT_PROPERTIES;
    frame_->OnCmdMsg(ID_PROJECT_PROPERTIES, CN_UPDATE_COMMAND_UI, &ui, nullptr);
    EXPECT_EQ(ui.enabled, running == 0);
  }
  // The command itself comes to nothing while the run goes on (no sheet to answer for).
  HWND frame = frame_->m_hWnd;
  Drive(
      [&] {
        ::SendMessageA(frame, WM_COMMAND, ID_PROJECT_PAGE0, 0);
        return IDOK;
      },
      {});
  d->m_running = 0;
}
