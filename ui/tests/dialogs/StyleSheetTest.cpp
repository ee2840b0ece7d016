// The style sheet: its default fonts as given, names in any case, a caller's own table, and
// fonts applied to a dialog's controls by name.
#include <gtest/gtest.h>

#include <string>

#include "framework/dialogs/Dialog.h"
#include "resources/resource.h"
#include "ui/dialogs/StyleSheet.h"
#include "ui/tests/dialogs/DialogDriver.h"

namespace {

LOGFONTA FontOf(const CStyleSheet& sheet, const char* name) {
  LOGFONTA lf = {};
  CFont* font = sheet.GetFont(name);
  if (font) font->GetLogFont(&lf);
  return lf;
}

TEST(StyleSheetTest, DefaultStylesHaveTheirFaceHeightWeightAndStyle) {
  CStyleSheet sheet;
  struct Case {
    const char* name;
    const char* face;
    int height, weight;
    bool italic;
  };
  const Case cases[] = {
      {"Title", "Verdana", -24, 700, false},       {"Subtitle", "Arial", -12, 0, false},
      {"Bullet", "Arial", -24, 700, false},        {"Body", "MS Sans Serif", -8, 0, false},
      {"Bold", "MS Sans Serif", -8, 700, false},   {"Version", "MS Sans Serif", -10, 700, false},
      {"Caption", "Arial", -12, 0, true},          {"Code", "Courier", -14, 0, false},
      {"LegalNotice", "Verdana", -9, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_NE(sheet.GetFont(c.name), nullptr);
    LOGFONTA lf = FontOf(sheet, c.name);
    EXPECT_STREQ(lf.lfFaceName, c.face);
    EXPECT_EQ(lf.lfHeight, c.height);
    EXPECT_EQ(lf.lfWeight, c.weight);
    EXPECT_EQ(lf.lfItalic != 0, c.italic);
    EXPECT_EQ(lf.lfUnderline, 0);
    EXPECT_EQ(lf.lfWidth, 0);
    EXPECT_EQ(lf.lfCharSet, 0);
  }
}

TEST(StyleSheetTest, NamesMatchInAnyCaseAndUnknownNamesHaveNoFont) {
  CStyleSheet sheet;
  struct Case {
    const char* asked;
    const char* stored;  // null: no font
  };
  const Case cases[] = {
      {"title", "Title"}, {"TITLE", "Title"}, {"legalnotice", "LegalNotice"},
      {"Heading", nullptr}, {"", nullptr}, {"Title ", nullptr}, {nullptr, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.asked ? c.asked : "(null)");
    EXPECT_EQ(sheet.GetFont(c.asked), c.stored ? sheet.GetFont(c.stored) : nullptr);
  }
}

TEST(StyleSheetTest, OwnTableReplacesTheDefaultsAndALaterRowOfTheSameNameWins) {
  const StyleSheetRow table[] = {
      {"Title", "Tahoma", -24, 700, false, false},
      {"Link", "Arial", -11, 0, true, false},
      {"LINK", "Arial", -13, 0, true, true},
      {nullptr, nullptr, 0, 0, false, false},
  };
  CStyleSheet sheet(table);
  EXPECT_STREQ(FontOf(sheet, "title").lfFaceName, "Tahoma");
  EXPECT_EQ(sheet.GetFont("Body"), nullptr) << "no default styles beside the caller's";
  LOGFONTA link = FontOf(sheet, "link");
  EXPECT_EQ(link.lfHeight, -13);
  EXPECT_EQ(link.lfUnderline, 1);
  EXPECT_EQ(link.lfItalic, 1);
}

TEST(StyleSheetTest, ApplyFontSetsTheControlsFontAndSkipsWhatIsMissing) {
  dlgtest::UseLanguageModule();
  CStyleSheet sheet;
  CDialog dialog;
  ASSERT_TRUE(dialog.Create(IDD_ABOUTBOX));
  HWND title = ::GetDlgItem(dialog.m_hWnd, IDC_ABOUT_TITLE);
  HFONT before = reinterpret_cast<HFONT>(::SendMessageA(title, WM_GETFONT, 0, 0));

  sheet.ApplyFont("NoSuchStyle", &dialog, IDC_ABOUT_TITLE);
  EXPECT_EQ(reinterpret_cast<HFONT>(::SendMessageA(title, WM_GETFONT, 0, 0)), before);
  sheet.ApplyFont("Title", &dialog, 4321);  // no such control: nothing happens
  sheet.ApplyFont("Title", nullptr, IDC_ABOUT_TITLE);

  sheet.ApplyFont("title", &dialog, IDC_ABOUT_TITLE);
  EXPECT_EQ(reinterpret_cast<HFONT>(::SendMessageA(title, WM_GETFONT, 0, 0)),
            static_cast<HFONT>(sheet.GetFont("Title")->m_hObject));
  dialog.DestroyWindow();
}

}  // namespace
