// The template dialogs driven as the user would: the name a template is saved under (preset,
// edited, refused when empty, trimmed, bounded), and the select-by criteria (each list filled
// from its own texts, each choice read back into its own member, the mode of the radio group).
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "resources/resource.h"
#include "ui/dialogs/SaveTemplate.h"
#include "ui/dialogs/SelectBy.h"
#include "ui/tests/dialogs/DialogDriver.h"

namespace {

using dlgtest::ItemText;
using dlgtest::Press;
using dlgtest::RunModal;
using dlgtest::SetItemText;
using Strings = std::vector<std::string>;

class TemplateDialogsTest : public ::testing::Test {
 protected:
  void SetUp() override { dlgtest::UseLanguageModule(); }
};

TEST_F(TemplateDialogsTest, SaveTemplateTakesTheEditedNameOnOk) {
  struct Case {
    const char* preset;
    const char* typed;  // null: left as preset
    const char* saved;
  };
  const Case cases[] = {
      {"Europe", nullptr, "Europe"},
      {"", "Directories", "Directories"},
      {"Europe", "  German engines\t", "German engines"},  // blanks around are not kept
      {"old", "[odd] name ]", "[odd] name ]"},             // brackets inside read back from the file
      {"Case", "case", "case"},                             // names differ by case
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed ? c.typed : "(preset)");
    dlgtest::MessageBoxes boxes(IDOK);
    CSaveTemplate dlg;
    dlg.m_strName = c.preset;
    std::string shown;
    INT_PTR result = RunModal(dlg, {[&](HWND d) {
                                      shown = ItemText(d, IDC_TEMPLATE_NAME);
                                      if (c.typed) SetItemText(d, IDC_TEMPLATE_NAME, c.typed);
                                    },
                                    [](HWND d) { Press(d, IDOK); }});
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(shown, c.preset);
    EXPECT_STREQ(dlg.m_strName, c.saved);
    EXPECT_TRUE(boxes.texts.empty());
  }
}

TEST_F(TemplateDialogsTest, SaveTemplateRefusesANameOfOnlyBlanksAndStaysOpen) {
  for (const char* typed : {"", "   ", "\t "}) {
    SCOPED_TRACE(std::string("\"") + typed + "\"");
    dlgtest::MessageBoxes boxes(IDOK);
    CSaveTemplate dlg;
    dlg.m_strName = "Europe";
    bool openAfterOk = false;
    INT_PTR result = RunModal(dlg, {[&](HWND d) { SetItemText(d, IDC_TEMPLATE_NAME, typed); },
                                    [](HWND d) { Press(d, IDOK); },
                                    [&](HWND d) {
                                      openAfterOk = ::IsWindowVisible(d) != FALSE;
                                      Press(d, IDCANCEL);
                                    }});
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_TRUE(openAfterOk);
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_NE(boxes.texts[0].find("name"), std::string::npos) << boxes.texts[0];
    EXPECT_STREQ(dlg.m_strName, "Europe") << "a refused name is not taken";
  }
}

TEST_F(TemplateDialogsTest, SaveTemplateKeepsThePresetOnCancelAndBoundsTypedNames) {
  CSaveTemplate cancelled;
  cancelled.m_strName = "Europe";
  EXPECT_EQ(RunModal(cancelled, {[](HWND d) { SetItemText(d, IDC_TEMPLATE_NAME, "Asia"); },
                                 [](HWND d) { Press(d, IDCANCEL); }}),
            IDCANCEL);
  EXPECT_STREQ(cancelled.m_strName, "Europe");

  // Typing (or pasting) stops at the longest name the templates file reads back.
  CSaveTemplate typed;
  const std::string longName(CSaveTemplate::kMaxNameLength + 40, 'n');
  EXPECT_EQ(RunModal(typed, {[&](HWND d) {
                               SetItemText(d, IDC_TEMPLATE_NAME, "");
                               ::SendDlgItemMessageA(d, IDC_TEMPLATE_NAME, EM_REPLACESEL, TRUE,
                                                     reinterpret_cast<LPARAM>(longName.c_str()));
                             },
                             [](HWND d) { Press(d, IDOK); }}),
            IDOK);
  EXPECT_EQ(typed.m_strName.GetLength(), CSaveTemplate::kMaxNameLength);
}

// The engine list's texts as it collects them: repeated, some differing only in case, some empty.
const CSelectBy::Texts kCategories = {"Search", "Directory", "Search", "", "directory"};
const CSelectBy::Texts kCountries = {"Germany", "France", "Germany", "United States"};
const CSelectBy::Texts kLanguages = {"German (Standard)", "French (Standard)", ""};
const CSelectBy::Texts kMarks = {"Submitted", "Submitted"};

TEST_F(TemplateDialogsTest, SelectByFillsEachListOnceWithAnEmptyChoiceOnTop) {
  CSelectBy dlg(kCategories, kCountries, kLanguages, kMarks);
  std::vector<Strings> lists;
  int mode = -1;
  RunModal(dlg, {[&](HWND d) {
                   for (int id : {IDC_SELECTBY_CATEGORY, IDC_SELECTBY_COUNTRY, IDC_SELECTBY_LANGUAGE,
                                  IDC_SELECTBY_MARK}) {
                     lists.push_back(dlgtest::ComboItems(d, id));
                     EXPECT_EQ(::SendDlgItemMessageA(d, id, CB_GETCURSEL, 0, 0), 0);
                   }
                   mode = ::IsDlgButtonChecked(d, IDC_SELECTBY_ONLY) ? 0 : 1;
                 },
                 [](HWND d) { Press(d, IDCANCEL); }});
  ASSERT_EQ(lists.size(), 4u);
  // The empty entry on top, then each text once; texts differing in case stay apart, as the
  // list compares them.
  const std::vector<Strings> expected = {{"Directory", "Search", "directory"},
                                         {"France", "Germany", "United States"},
                                         {"French (Standard)", "German (Standard)"},
                                         {"Submitted"}};
  for (size_t i = 0; i < lists.size(); ++i) {
    ASSERT_FALSE(lists[i].empty());
    EXPECT_EQ(lists[i][0], "");
    Strings rest(lists[i].begin() + 1, lists[i].end());
    std::sort(rest.begin(), rest.end());
    EXPECT_EQ(rest, expected[i]) << "list " << i;
  }
  EXPECT_EQ(mode, 0);
}

TEST_F(TemplateDialogsTest, SelectByGivesEachChoiceAndTheModeOnOk) {
  struct Case {
    const char *category, *country, *language, *mark;  // null: left empty
    int radio;                                          // button to click, 0: none
    int mode;
  };
  const Case cases[] = {
      {"directory", nullptr, nullptr, nullptr, 0, 0},
      {nullptr, "France", "French (Standard)", nullptr, IDC_SELECTBY_ADD, 1},
      {"Search", "Germany", "German (Standard)", "Submitted", IDC_SELECTBY_ONLY, 0},
      {nullptr, nullptr, nullptr, "Submitted", IDC_SELECTBY_ADD, 1},
      {nullptr, nullptr, nullptr, nullptr, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << (c.category ? c.category : "-") << "/"
                                    << (c.country ? c.country : "-") << "/" << c.mode);
    CSelectBy dlg(kCategories, kCountries, kLanguages, kMarks);
    INT_PTR result = RunModal(
        dlg, {[&](HWND d) {
                if (c.category) dlgtest::SelectComboItem(d, IDC_SELECTBY_CATEGORY, c.category);
                if (c.country) dlgtest::SelectComboItem(d, IDC_SELECTBY_COUNTRY, c.country);
                if (c.language) dlgtest::SelectComboItem(d, IDC_SELECTBY_LANGUAGE, c.language);
                if (c.mark) dlgtest::SelectComboItem(d, IDC_SELECTBY_MARK, c.mark);
                if (c.radio) ::CheckRadioButton(d, IDC_SELECTBY_ONLY, IDC_SELECTBY_ADD, c.radio);
              },
              [](HWND d) { Press(d, IDOK); }});
    EXPECT_EQ(result, IDOK);
    EXPECT_STREQ(dlg.m_strCategory, c.category ? c.category : "");
    EXPECT_STREQ(dlg.m_strColumn1, c.country ? c.country : "");
    EXPECT_STREQ(dlg.m_strColumn2, c.language ? c.language : "");
    EXPECT_STREQ(dlg.m_strColumn3, c.mark ? c.mark : "");
    EXPECT_EQ(dlg.m_nMode, c.mode);
  }
}

TEST_F(TemplateDialogsTest, SelectByCancelledGivesNoCriteria) {
  CSelectBy dlg(kCategories, kCountries, kLanguages, kMarks);
  EXPECT_EQ(RunModal(dlg, {[](HWND d) {
                             dlgtest::SelectComboItem(d, IDC_SELECTBY_COUNTRY, "France");
                             ::CheckRadioButton(d, IDC_SELECTBY_ONLY, IDC_SELECTBY_ADD,
                                                IDC_SELECTBY_ADD);
                           },
                           [](HWND d) { Press(d, IDCANCEL); }}),
            IDCANCEL);
  EXPECT_STREQ(dlg.m_strColumn1, "");
  EXPECT_EQ(dlg.m_nMode, 0);
}

}  // namespace
