// The about box, the update notice and the report header editor, driven as the user would:
// what they show when they open, their title fonts, and what OK and Cancel give back.
#include <gtest/gtest.h>

#include <string>

#include "app/services/AppServices.h"
#include "resources/resource.h"
#include "ui/dialogs/AboutBox2.h"
#include "ui/dialogs/EditReportHeader.h"
#include "ui/dialogs/InstantUpdateMessage.h"
#include "ui/tests/dialogs/DialogDriver.h"

namespace {

using dlgtest::ItemText;
using dlgtest::Press;
using dlgtest::RunModal;

class SmallDialogsTest : public ::testing::Test {
 protected:
  void SetUp() override { dlgtest::UseLanguageModule(); }
};

LOGFONTA ControlFont(HWND dialog, int id) {
  LOGFONTA lf = {};
  HFONT font = reinterpret_cast<HFONT>(::SendDlgItemMessageA(dialog, id, WM_GETFONT, 0, 0));
  if (font) ::GetObjectA(font, sizeof lf, &lf);
  return lf;
}

std::string Caption(HWND window) {
  char text[256] = {};
  ::GetWindowTextA(window, text, sizeof text);
  return text;
}

TEST_F(SmallDialogsTest, AboutBoxShowsProductVersionAndLinkInItsTitleFont) {
  CAboutBox2 dlg;
  std::string version, product, link;
  LOGFONTA title = {};
  EXPECT_EQ(RunModal(dlg, {[&](HWND d) {
                             version = ItemText(d, IDC_ABOUT_VERSION);
                             product = ItemText(d, IDC_ABOUT_PRODUCT);
                             link = ItemText(d, IDC_ABOUT_LINK);
                             title = ControlFont(d, IDC_ABOUT_TITLE);
                           },
                           [](HWND d) { Press(d, IDOK); }}),
            IDOK);
  ExeFileVersion v = GetExeFileVersion();
  EXPECT_EQ(version, std::string(LoadResString(IDS_ABOUT_VERSION)) + " " +
                         std::to_string(v.major) + "." + std::to_string(v.minor) + "." +
                         std::to_string(v.build) + "." + std::to_string(v.revision));
  EXPECT_EQ(product, std::string(LoadResString(IDS_PRODUCT_NAME)) +
                         std::string(LoadResString(IDS_PRODUCT_EDITION)));
  EXPECT_FALSE(LoadResString(IDS_PRODUCT_EDITION).IsEmpty());
  EXPECT_EQ(link, std::string(dlg.m_strLinkURL));
  EXPECT_EQ(link.rfind("http://", 0), 0u) << link;
  EXPECT_STREQ(title.lfFaceName, "Tahoma");
  EXPECT_EQ(title.lfHeight, -24);
  EXPECT_EQ(title.lfWeight, 700);
}

TEST_F(SmallDialogsTest, UpdateNoticeAnswersUpdateNowOrNotNow) {
  struct Case {
    int button;
    INT_PTR result;
  };
  const Case cases[] = {{IDOK, IDOK}, {IDCANCEL, IDCANCEL}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.button);
    CInstantUpdateMessage dlg;
    std::string link;
    LOGFONTA title = {};
    EXPECT_EQ(RunModal(dlg, {[&](HWND d) {
                               link = ItemText(d, IDC_UPDATE_LINK);
                               title = ControlFont(d, IDC_UPDATE_TITLE);
                             },
                             [&](HWND d) { Press(d, c.button); }}),
              c.result);
    EXPECT_NE(link.find("/support/whats-new.php"), std::string::npos) << link;
    EXPECT_STREQ(title.lfFaceName, "Verdana");
    EXPECT_EQ(title.lfHeight, -24);
    EXPECT_EQ(title.lfWeight, 700);
  }
}

TEST_F(SmallDialogsTest, ReportHeaderEditorGivesTheTextBackOnlyOnOk) {
  struct Case {
    const char* preset;
    BOOL footer;
    const char* typed;  // null: left as it was
    int button;
    const char* text;  // afterwards
  };
  const Case cases[] = {
      {"", FALSE, "<b>Monthly ranks</b>", IDOK, "<b>Monthly ranks</b>"},
      {"Old footer", TRUE, "First line\r\nSecond line", IDOK, "First line\r\nSecond line"},
      {"Kept", FALSE, "Thrown away", IDCANCEL, "Kept"},
      {"Two\r\nlines", TRUE, nullptr, IDOK, "Two\r\nlines"},
      {"Old", FALSE, "", IDOK, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.preset);
    CEditReportHeader dlg;
    dlg.m_strText = c.preset;
    dlg.m_bFooter = c.footer;
    std::string shown, caption;
    RunModal(dlg, {[&](HWND d) {
                     shown = ItemText(d, IDC_REPORT_HEADER_TEXT);
                     caption = Caption(d);
                     if (c.typed) dlgtest::SetItemText(d, IDC_REPORT_HEADER_TEXT, c.typed);
                   },
                   [&](HWND d) { Press(d, c.button); }});
    EXPECT_EQ(shown, c.preset);
    EXPECT_STREQ(dlg.m_strText, c.text);
    if (c.footer) {
      EXPECT_EQ(caption, std::string(LoadResString(IDS_REPORT_FOOTER_CAPTION)));
    } else {
      EXPECT_EQ(caption, "Report Header") << "the dialog's own caption";
    }
  }
}

TEST_F(SmallDialogsTest, ReportHeaderEnterStartsANewLineInsteadOfClosing) {
  CEditReportHeader dlg;
  bool open = false;
  RunModal(dlg, {[](HWND d) {
                   HWND edit = ::GetDlgItem(d, IDC_REPORT_HEADER_TEXT);
                   ::SetFocus(edit);
                   ::SendMessageA(edit, WM_CHAR, 'a', 0);
                   // The key goes through the dialog's loop, which makes the character.
                   ::PostMessageA(edit, WM_KEYDOWN, VK_RETURN, 0x1C0001);
                   ::PostMessageA(edit, WM_KEYUP, VK_RETURN, 0xC01C0001);
                 },
                 [&](HWND d) {
                   open = ::IsWindowVisible(d) != FALSE;
                   ::SendDlgItemMessageA(d, IDC_REPORT_HEADER_TEXT, WM_CHAR, 'b', 0);
                 },
                 [](HWND d) { Press(d, IDOK); }});
  EXPECT_TRUE(open);
  EXPECT_STREQ(dlg.m_strText, "a\r\nb");
}

}  // namespace
