// The search form on the program's document: its fields following the document's hints and
// writing back what the user types, its fields during a run, the focus and pane commands, its
// keys, and the settings hint. Real windows under the X display.
#include <gtest/gtest.h>

#include <string>

#include "app/settings/SearchProperties.h"
#include "app/run/RunCommands.h"
#include "app/run/UpdateBroadcast.h"
#include "engines/sets/EngineSet.h"
#include "resources/resource.h"
#include "ui/tests/views/TermsWindow.h"
#include "ui/views/SearchFormHints.h"

namespace termstest {
namespace {

using SearchFormTest = TermsWindowTest;

// An opened document shows its site and current term without becoming modified.
TEST_F(SearchFormTest, AnOpenedDocumentFillsTheFieldsWithoutModifyingIt) {
  SetTerms({"alpha", "beta"}, 1);
  Doc()->m_siteUrl = "http://www.site.example/";
  Doc()->SetModifiedFlag(FALSE);
  Doc()->UpdateAllViews(nullptr, HINT_DOC_OPEN);
  EXPECT_EQ(FieldText(IDC_FORM_SITE_URL), "http://www.site.example/");
  EXPECT_EQ(FieldText(IDC_FORM_SEARCH_TERM), "beta");
  EXPECT_FALSE(Doc()->IsModified());
  EXPECT_EQ(Doc()->m_siteUrl, CString("http://www.site.example/"));
}

// The term field follows the current set on the hints that change it; a rename the form sent
// itself is not written back (it would move the caret while the user types).
TEST_F(SearchFormTest, TheTermFieldFollowsTheCurrentSetsHints) {
  struct Case {
    UINT hint;
    bool fromForm;
    bool shown;
  } cases[] = {
      {HINT_CURRENT_SET, false, true},
      {HINT_TERMS_CHANGED, false, true},
      {HINT_TERM_RENAMED, false, true},
      {HINT_TERM_RENAMED, true, false},
      {HINT_PROGRESS_STEP, false, false},
  };
  for (const Case& c : cases) {
    SetTerms({"alpha", "beta"}, 0);
    Doc()->m_currentSet->m_name = "renamed";
    LPARAM sender = c.fromForm ? reinterpret_cast<LPARAM>(static_cast<CObject*>(m_form)) : 0;
    BroadcastUpdate(c.hint, sender);
    Pump();
    EXPECT_EQ(FieldText(IDC_FORM_SEARCH_TERM), c.shown ? "renamed" : "alpha") << "hint " << c.hint;
    EXPECT_FALSE(Doc()->IsModified()) << "hint " << c.hint;
  }
}

// What the user types goes into the document; a new term name reaches the term list's row
// without moving its selection.
TEST_F(SearchFormTest, TypingWritesTheSiteAndRenamesTheCurrentTerm) {
  SetTerms({"alpha", "beta", "gamma"}, 1);
  ::SetWindowTextA(Field(IDC_FORM_SITE_URL), "http://typed.example/");
  EXPECT_EQ(Doc()->m_siteUrl, CString("http://typed.example/"));
  EXPECT_TRUE(Doc()->IsModified());

  ::SetWindowTextA(Field(IDC_FORM_SEARCH_TERM), "better beta");
  Pump();
  EXPECT_EQ(DocTerms(), (std::vector<std::string>{"alpha", "better beta", "gamma"}));
  EXPECT_EQ(RowTexts(), (std::vector<std::string>{"alpha", "better beta", "gamma"}));
  EXPECT_EQ(SelectedRow(), 1);
  EXPECT_EQ(CurrentIndex(), 1);
  EXPECT_EQ(FieldText(IDC_FORM_SEARCH_TERM), "better beta");
}

// The fields stop where a document would be refused for its site address or search term, and
// say so: a paste past the end is cut there, and the user is told the limit.
TEST_F(SearchFormTest, TheFieldsStopAtTheLongestSiteAndTermAndSaySo) {
  struct Case {
    int field;
    int most;
  } cases[] = {{IDC_FORM_SITE_URL, CZubrinDoc::kMaxSiteUrlLength},
               {IDC_FORM_SEARCH_TERM, CZubrinDoc::kMaxSearchTermLength}};
  SetTerms({"alpha"}, 0);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.field);
    AskedBoxes() = Boxes();
    ::SetWindowTextA(Field(c.field), "");
    const std::string pasted(static_cast<size_t>(c.most) + 100, 'x');
    ::SendMessageA(Field(c.field), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(pasted.c_str()));
    Pump();
    EXPECT_EQ(::GetWindowTextLengthA(Field(c.field)), c.most);
    ASSERT_EQ(AskedBoxes().texts.size(), 1u);
    EXPECT_NE(AskedBoxes().texts[0].find(std::to_string(c.most)), std::string::npos)
        << AskedBoxes().texts[0];
  }
  EXPECT_EQ(Doc()->m_siteUrl.GetLength(), CZubrinDoc::kMaxSiteUrlLength);
  EXPECT_EQ(Doc()->m_currentSet->m_name.GetLength(), CZubrinDoc::kMaxSearchTermLength);
}

// The edit commands work on the field that has the focus and are enabled by its selection.
TEST_F(SearchFormTest, TheEditCommandsFollowTheFocusedFieldsSelection) {
  struct Case {
    int field;  // 0: the focus is outside the form
    int selStart, selEnd;
    bool copyCut, selectAll;
  } cases[] = {
      {IDC_FORM_SITE_URL, 0, 4, true, true},
      {IDC_FORM_SEARCH_TERM, 2, 2, false, true},
      {0, 0, 4, false, false},
  };
  SetTerms({"alpha"}, 0);
  ::SetWindowTextA(Field(IDC_FORM_SITE_URL), "http://www.site.example/");
  for (const Case& c : cases) {
    HWND field = c.field ? Field(c.field) : m_terms->m_hWnd;
    ::SetFocus(field);
    if (c.field) ::SendMessageA(field, EM_SETSEL, c.selStart, c.selEnd);
    EXPECT_EQ(Enabled(m_form, ID_EDIT_COPY), c.copyCut) << c.field;
    EXPECT_EQ(Enabled(m_form, ID_EDIT_CUT), c.copyCut) << c.field;
    EXPECT_EQ(Enabled(m_form, ID_EDIT_SELECT_ALL), c.selectAll) << c.field;
  }
  ::SetFocus(Field(IDC_FORM_SITE_URL));
  ::SendMessageA(Field(IDC_FORM_SITE_URL), EM_SETSEL, 0, 0);
  Command(m_form, ID_EDIT_SELECT_ALL);
  DWORD start = 1, end = 0;
  ::SendMessageA(Field(IDC_FORM_SITE_URL), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, static_cast<DWORD>(FieldText(IDC_FORM_SITE_URL).size()));
  // Cut and paste move the text through the clipboard, into the document too.
  ::SendMessageA(Field(IDC_FORM_SITE_URL), EM_SETSEL, 0, 7);
  Command(m_form, ID_EDIT_CUT);
  EXPECT_EQ(Doc()->m_siteUrl, CString("www.site.example/"));
  EXPECT_TRUE(Enabled(m_form, ID_EDIT_PASTE));
  ::SetFocus(Field(IDC_FORM_SEARCH_TERM));
  ::SendMessageA(Field(IDC_FORM_SEARCH_TERM), EM_SETSEL, 0, -1);
  Command(m_form, ID_EDIT_PASTE);
  EXPECT_EQ(FieldText(IDC_FORM_SEARCH_TERM), "http://");
  EXPECT_EQ(Doc()->m_currentSet->m_name, CString("http://"));
}

// A run disables both fields; its end enables and shows them again. The hints come as the run
// sends them, posted to the registered windows.
TEST_F(SearchFormTest, TheFieldsAreDisabledWhileARunIsActive) {
  struct Case {
    UINT hint;
    bool enabled;
  } cases[] = {{HINT_RUN_SET_UP, false}, {HINT_RUN_FINISHED, true}, {HINT_RUN_START, false},
               {HINT_PROGRESS_STEP, false}, {HINT_RUN_FINISHED, true}};
  for (const Case& c : cases) {
    BroadcastUpdate(c.hint, 0);
    Pump();
    for (int id : {IDC_FORM_SITE_URL, IDC_FORM_SEARCH_TERM}) {
      EXPECT_EQ(::IsWindowEnabled(Field(id)) != FALSE, c.enabled) << "hint " << c.hint;
      EXPECT_TRUE(::IsWindowVisible(Field(id))) << "hint " << c.hint;
    }
  }
}

// The search-term field carries the button of its term menu at its right end, inside the form;
// the button is disabled with the field during a run.
TEST_F(SearchFormTest, TheTermFieldHasItsMenuButtonBesideIt) {
  HWND field = Field(IDC_FORM_SEARCH_TERM);
  HWND button = ::GetWindow(field, GW_HWNDNEXT);
  ASSERT_NE(button, nullptr);
  char name[32] = {};
  ::GetClassNameA(button, name, sizeof name);
  EXPECT_STREQ(name, "Button");
  RECT f, b, form;
  ::GetWindowRect(field, &f);
  ::GetWindowRect(button, &b);
  ::GetWindowRect(m_form->m_hWnd, &form);
  EXPECT_GE(b.left, f.right) << "right of the field";
  EXPECT_LE(b.right, form.right) << "inside the form";
  EXPECT_TRUE(::IsWindowVisible(button));
  BroadcastUpdate(HINT_RUN_START, 0);
  Pump();
  EXPECT_FALSE(::IsWindowEnabled(button));
  BroadcastUpdate(HINT_RUN_FINISHED, 0);
  Pump();
  EXPECT_TRUE(::IsWindowEnabled(button));
}

// The frame forwards the focus commands to the form's window.
TEST_F(SearchFormTest, TheFocusCommandsPutTheFocusIntoTheirField) {
  ::SetFocus(m_terms->m_hWnd);
  m_frame->SetActiveView(m_terms);
  Command(m_form, ID_FOCUS_SEARCHTERM);
  EXPECT_EQ(::GetFocus(), Field(IDC_FORM_SEARCH_TERM));
  EXPECT_EQ(m_frame->GetActiveView(), m_form);
  Command(m_form, ID_FOCUS_SITE);
  EXPECT_EQ(::GetFocus(), Field(IDC_FORM_SITE_URL));
}

// Next and previous pane from the form: between its fields first, then to the term list, or to
// the engine list while the term list is hidden.
TEST_F(SearchFormTest, ThePaneCommandsMoveTheFocusOnFromTheForm) {
  struct Case {
    int from;
    UINT command;
    bool termsHidden;
    const char* to;
  } cases[] = {
      {IDC_FORM_SITE_URL, ID_PREV_PANE_CMD, false, "term field"},
      {IDC_FORM_SEARCH_TERM, ID_NEXT_PANE_CMD, false, "site field"},
      {IDC_FORM_SITE_URL, ID_NEXT_PANE_CMD, false, "term list"},
      {IDC_FORM_SEARCH_TERM, ID_PREV_PANE_CMD, false, "term list"},
      {IDC_FORM_SITE_URL, ID_NEXT_PANE_CMD, true, "engine list"},
      {IDC_FORM_SEARCH_TERM, ID_PREV_PANE_CMD, true, "engine list"},
  };
  for (const Case& c : cases) {
    ::ShowWindow(m_terms->m_hWnd, c.termsHidden ? SW_HIDE : SW_SHOWNA);
    m_frame->SetActiveView(m_form);
    ::SetFocus(Field(c.from));
    Command(m_form, c.command);
    std::string to = c.to;
    HWND expected = to == "term field"  ? Field(IDC_FORM_SEARCH_TERM)
                    : to == "site field" ? Field(IDC_FORM_SITE_URL)
                    : to == "term list"  ? m_terms->m_hWnd
                                         : m_engines->m_hWnd;
    EXPECT_EQ(::GetFocus(), expected) << c.command << " from " << c.from << " to " << c.to;
  }
}

// Enter starts a check of all terms and moves to the engine list; Escape stops the run. Both
// are the form's, so the fields never see them.
TEST_F(SearchFormTest, EnterChecksAllTermsAndEscapeStopsTheRun) {
  struct Case {
    WPARAM key;
    UINT command;
    bool toEngines;
  } cases[] = {{VK_RETURN, ID_RUN_CHECK_ALL, true}, {VK_ESCAPE, ID_RUN_STOP, false}};
  for (const Case& c : cases) {
    Pump();
    m_frame->SetActiveView(m_form);
    ::SetFocus(Field(IDC_FORM_SITE_URL));
    MSG key = {Field(IDC_FORM_SITE_URL), WM_KEYDOWN, c.key, 0, 0, {0, 0}};
    EXPECT_TRUE(m_form->PreTranslateMessage(&key));
    MSG posted = {};
    ASSERT_TRUE(::PeekMessageA(&posted, m_form->m_hWnd, WM_COMMAND, WM_COMMAND, PM_REMOVE));
    EXPECT_EQ(LOWORD(posted.wParam), c.command);
    EXPECT_EQ(::GetFocus() == m_engines->m_hWnd, c.toEngines) << "key " << c.key;
  }
}

// With the keyword alert on, the characters of the ignore list are swallowed by the term field
// (with a beep); with it off they go in; the site field never filters.
TEST_F(SearchFormTest, TheKeywordFilterSwallowsIgnoredCharacters) {
  CSearchProperties& settings = GetSearchProperties();
  const int savedAlert = settings.m_nKeywordAlert;
  const CString savedIgnore = settings.m_strKeywordIgnore;
  struct Case {
    int alert;
    int field;
    char typed;
    const char* expected;
  } cases[] = {
      {1, IDC_FORM_SEARCH_TERM, '+', "ab"},   {1, IDC_FORM_SEARCH_TERM, ';', "ab"},
      {1, IDC_FORM_SEARCH_TERM, 'c', "abc"},  {0, IDC_FORM_SEARCH_TERM, '+', "ab+"},
      {1, IDC_FORM_SITE_URL, '+', "ab+"},
  };
  for (const Case& c : cases) {
    settings.m_nKeywordAlert = c.alert;
    settings.m_strKeywordIgnore = ",;+";
    m_form->OnUpdate(nullptr, HINT_SETTINGS_CHANGED, nullptr);
    HWND field = Field(c.field);
    ::SetWindowTextA(field, "ab");
    ::SetFocus(field);
    ::SendMessageA(field, EM_SETSEL, 2, 2);
    MSG ch = {field, WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(c.typed)), 0, 0, {0, 0}};
    if (!m_form->PreTranslateMessage(&ch)) ::DispatchMessageA(&ch);
    EXPECT_EQ(FieldText(c.field), c.expected) << "alert " << c.alert << " '" << c.typed << "'";
  }
  settings.m_nKeywordAlert = savedAlert;
  settings.m_strKeywordIgnore = savedIgnore;
}

// Each settings hint remakes the fields' font; the one it replaces is freed, not leaked.
TEST_F(SearchFormTest, TheSettingsHintFreesTheFontItReplaces) {
  for (int round = 0; round < 3; ++round) {
    HGDIOBJ before = reinterpret_cast<HGDIOBJ>(::SendMessageA(Field(IDC_FORM_SITE_URL), WM_GETFONT, 0, 0));
    ASSERT_NE(before, nullptr);
    m_form->OnUpdate(nullptr, HINT_SETTINGS_CHANGED, nullptr);
    HGDIOBJ after = reinterpret_cast<HGDIOBJ>(::SendMessageA(Field(IDC_FORM_SITE_URL), WM_GETFONT, 0, 0));
    ASSERT_NE(after, nullptr);
    EXPECT_EQ(::GetObjectType(after), static_cast<DWORD>(OBJ_FONT));
    EXPECT_EQ(reinterpret_cast<HGDIOBJ>(::SendMessageA(Field(IDC_FORM_SEARCH_TERM), WM_GETFONT, 0, 0)), after);
    // A freed handle is either gone or handed out again for the new font.
    EXPECT_TRUE(after == before || ::GetObjectType(before) == 0) << "round " << round;
  }
}

// The form's background takes the view colour of the settings on the settings hint.
TEST_F(SearchFormTest, TheBackgroundFollowsTheViewColour) {
  CSearchProperties& settings = GetSearchProperties();
  const COLORREF saved = settings.m_colors[CSearchProperties::ViewBk];
  for (COLORREF colour : {RGB(200, 10, 10), RGB(10, 200, 10)}) {
    settings.m_colors[CSearchProperties::ViewBk] = colour;
    m_form->OnUpdate(nullptr, HINT_SETTINGS_CHANGED, nullptr);
    ::UpdateWindow(m_form->m_hWnd);
    HDC dc = ::GetDC(m_form->m_hWnd);
    EXPECT_EQ(::GetPixel(dc, 2, 2), colour);
    ::ReleaseDC(m_form->m_hWnd, dc);
  }
  settings.m_colors[CSearchProperties::ViewBk] = saved;
}

}  // namespace
}  // namespace termstest
