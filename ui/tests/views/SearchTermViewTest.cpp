// The search-term list on the program's document: rows as the document's sets, selection as
// the current set, check boxes as active flags, and the commands that change the terms (add,
// edit, delete, clear, move, import, export, paste), with their refusal during a run. Real
// windows under the X display; files in a scratch folder; the questions answered through the
// framework's box handler.
#include <gtest/gtest.h>

#include <string>

#include "app/run/RunCommands.h"
#include "app/run/UpdateBroadcast.h"
#include "engines/sets/EngineSet.h"
#include "resources/resource.h"
#include "ui/tests/views/TermsWindow.h"

namespace termstest {
namespace {

using Terms = std::vector<std::string>;
using SearchTermViewTest = TermsWindowTest;

// Ends the label edit the way the user does: Enter keeps the typed text, Escape cancels.
void EndLabelEdit(CSearchTermView* view, const char* typed, WPARAM key) {
  HWND edit = reinterpret_cast<HWND>(view->SendMessage(LVM_GETEDITCONTROL));
  ASSERT_NE(edit, nullptr) << "no label edit is open";
  if (typed) ::SetWindowTextA(edit, typed);
  ::SendMessageA(edit, WM_KEYDOWN, key, 0);
  Pump();
}

CPoint CheckBoxPoint(CSearchTermView* view, int row) {
  RECT icon;
  view->GetListCtrl().GetItemRect(row, &icon, LVIR_ICON);
  return CPoint(icon.left - 6, (icon.top + icon.bottom) / 2);
}

// An opened document's sets become the rows, in order, checked as active; the current set's
// row is selected.
TEST_F(SearchTermViewTest, TheRowsAreTheDocumentsSets) {
  SetTerms({"alpha", "beta", "gamma"}, 2);
  Doc()->m_manager.GetFirstSet()->m_active = 0;
  Doc()->UpdateAllViews(nullptr, HINT_DOC_OPEN);
  EXPECT_EQ(RowTexts(), (Terms{"alpha", "beta", "gamma"}));
  EXPECT_EQ(RowChecks(), (std::vector<int>{0, 1, 1}));
  EXPECT_EQ(SelectedRow(), 2);
  EXPECT_FALSE(Doc()->IsModified());
}

// Selecting a row makes its set current and tells the other panes (the form shows the term).
TEST_F(SearchTermViewTest, SelectingARowMakesItsSetCurrent) {
  SetTerms({"alpha", "beta", "gamma"}, 0);
  m_terms->SelectRow(1);
  Pump();
  EXPECT_EQ(CurrentIndex(), 1);
  EXPECT_EQ(FieldText(IDC_FORM_SEARCH_TERM), "beta");
  // A current set changed elsewhere (the document's next-term command) moves the selection.
  Doc()->m_currentSet = Doc()->m_manager.GetNextSet(Doc()->m_currentSet);
  BroadcastUpdate(HINT_CURRENT_SET, reinterpret_cast<LPARAM>(static_cast<CObject*>(Doc())));
  Pump();
  EXPECT_EQ(SelectedRow(), 2);
}

// A click on a check box turns the set's active flag; during a run neither a click nor the
// space bar changes anything.
TEST_F(SearchTermViewTest, CheckBoxesTurnTheActiveFlagButNotDuringARun) {
  struct Case {
    bool running;
    bool byKey;
    int expected;  // the first set's active flag afterwards
  } cases[] = {{false, false, 0}, {true, false, 1}, {true, true, 1}};
  for (const Case& c : cases) {
    SetTerms({"alpha", "beta"}, 0);
    Doc()->m_running = c.running ? 1 : 0;
    ::SetFocus(m_terms->m_hWnd);
    if (c.byKey) {
      m_terms->SendMessage(WM_KEYDOWN, VK_SPACE, 0);
      m_terms->SendMessage(WM_CHAR, ' ', 0);
      m_terms->SendMessage(WM_KEYUP, VK_SPACE, 0);
    } else {
      CPoint box = CheckBoxPoint(m_terms, 0);
      m_terms->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(box.x, box.y));
      m_terms->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(box.x, box.y));
    }
    Pump();
    Doc()->m_running = 0;
    EXPECT_EQ(DocActive()[0], c.expected) << "running " << c.running << " key " << c.byKey;
    EXPECT_EQ(RowChecks()[0], c.expected) << "running " << c.running << " key " << c.byKey;
    EXPECT_EQ(Doc()->IsModified() != FALSE, c.expected == 0);
  }
}

// The space bar outside a run turns the focused row's box and the set follows it.
TEST_F(SearchTermViewTest, TheSpaceBarTurnsTheFocusedRowsBox) {
  SetTerms({"alpha", "beta"}, 1);
  ::SetFocus(m_terms->m_hWnd);
  m_terms->SendMessage(WM_KEYDOWN, VK_SPACE, 0);
  m_terms->SendMessage(WM_CHAR, ' ', 0);
  m_terms->SendMessage(WM_KEYUP, VK_SPACE, 0);
  Pump();
  EXPECT_EQ(DocActive(), (std::vector<int>{1, 0}));
  EXPECT_EQ(RowChecks(), (std::vector<int>{1, 0}));
}

// During a run the user can neither select another term nor start editing one.
TEST_F(SearchTermViewTest, DuringARunTheSelectionAndLabelsStayPut) {
  SetTerms({"alpha", "beta"}, 0);
  Doc()->m_running = 1;
  m_terms->GetListCtrl().SetItemState(1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  Pump();
  EXPECT_EQ(SelectedRow(), 0);
  EXPECT_EQ(CurrentIndex(), 0);
  ::SetFocus(m_terms->m_hWnd);
  m_terms->SendMessage(LVM_EDITLABELA, 0, 0);
  EXPECT_EQ(m_terms->SendMessage(LVM_GETEDITCONTROL), 0);
  // The run's own move to the next term still shows.
  Doc()->m_currentSet = Doc()->m_manager.GetNextSet(Doc()->m_currentSet);
  BroadcastUpdate(HINT_CURRENT_SET, 0);
  Pump();
  EXPECT_EQ(SelectedRow(), 1);
}

// Every command that changes the terms does nothing during a run (also when it arrives though
// its menu item is disabled), and its menu item is disabled.
TEST_F(SearchTermViewTest, TheCommandsAreRefusedDuringARun) {
  SetTerms({"alpha", "beta", "gamma"}, 1);
  apptest::WriteBytes(m_folder.File("more.txt"), "delta\n");
  Doc()->m_running = 1;
  for (UINT id : {ID_TERM_ADD, ID_TERM_EDIT, ID_TERM_DELETE, ID_TERM_CLEAR, ID_TERM_MOVE_UP,
                  ID_TERM_MOVE_DOWN, ID_TERM_IMPORT, ID_TERM_EXPORT, ID_TERM_PASTE}) {
    EXPECT_FALSE(Enabled(m_terms, id)) << id;
    if (id != ID_TERM_IMPORT && id != ID_TERM_EXPORT) Command(m_terms, id);
  }
  EXPECT_FALSE(m_terms->ImportTermsFrom(m_folder.File("more.txt").c_str()));
  Pump();
  EXPECT_EQ(DocTerms(), (Terms{"alpha", "beta", "gamma"}));
  EXPECT_EQ(RowTexts(), (Terms{"alpha", "beta", "gamma"}));
  EXPECT_TRUE(AskedBoxes().texts.empty());
  EXPECT_FALSE(Doc()->IsModified());
}

// Add appends an active term, makes it current and opens its label for typing. What the user
// types becomes the term; a term left empty (cancelled, or only blanks) is not kept, and the
// term current before the add is current again.
TEST_F(SearchTermViewTest, AnAddedTermIsKeptOnlyWhenItGetsAName) {
  struct Case {
    const char* typed;
    WPARAM key;
    Terms expected;
    int current;
  } cases[] = {
      {"delta", VK_RETURN, {"alpha", "beta", "delta"}, 2},
      {"", VK_RETURN, {"alpha", "beta"}, 0},
      {"   ", VK_RETURN, {"alpha", "beta"}, 0},
      {nullptr, VK_ESCAPE, {"alpha", "beta"}, 0},
      {"delta", VK_ESCAPE, {"alpha", "beta"}, 0},
  };
  for (const Case& c : cases) {
    SetTerms({"alpha", "beta"}, 0);
    Command(m_terms, ID_TERM_ADD);
    EXPECT_EQ(RowTexts().size(), 3u);
    EXPECT_EQ(SelectedRow(), 2);
    EXPECT_EQ(CurrentIndex(), 2);
    EXPECT_EQ(DocActive().back(), 1);
    EndLabelEdit(m_terms, c.typed, c.key);
    std::string what = c.typed ? c.typed : "(none)";
    EXPECT_EQ(DocTerms(), c.expected) << what;
    EXPECT_EQ(RowTexts(), c.expected) << what;
    EXPECT_EQ(CurrentIndex(), c.current) << what;
    EXPECT_EQ(SelectedRow(), c.current) << what;
    EXPECT_EQ(FieldText(IDC_FORM_SEARCH_TERM), c.expected[c.current]) << what;
  }
}

// Editing a label renames the set; when it is the current one the form follows.
TEST_F(SearchTermViewTest, EditingALabelRenamesTheSet) {
  SetTerms({"alpha", "beta"}, 1);
  Command(m_terms, ID_TERM_EDIT);
  EndLabelEdit(m_terms, "better beta", VK_RETURN);
  EXPECT_EQ(DocTerms(), (Terms{"alpha", "better beta"}));
  EXPECT_EQ(RowTexts(), (Terms{"alpha", "better beta"}));
  EXPECT_EQ(FieldText(IDC_FORM_SEARCH_TERM), "better beta");
  EXPECT_TRUE(Doc()->IsModified());
  // A cancelled edit changes nothing.
  Command(m_terms, ID_TERM_EDIT);
  EndLabelEdit(m_terms, "nothing", VK_ESCAPE);
  EXPECT_EQ(DocTerms(), (Terms{"alpha", "better beta"}));
}

// Delete asks first; on yes the set goes and the one before it (wrapping to the last) becomes
// current. The last remaining term cannot be deleted.
TEST_F(SearchTermViewTest, DeleteAsksAndMakesThePreviousTermCurrent) {
  struct Case {
    int selected;
    int answer;
    Terms expected;
    std::string current;
  } cases[] = {
      {1, IDYES, {"alpha", "gamma"}, "alpha"},
      {0, IDYES, {"beta", "gamma"}, "gamma"},
      {1, IDNO, {"alpha", "beta", "gamma"}, "beta"},
  };
  for (const Case& c : cases) {
    SetTerms({"alpha", "beta", "gamma"}, c.selected);
    AskedBoxes() = Boxes();
    AskedBoxes().answer = c.answer;
    Command(m_terms, ID_TERM_DELETE);
    Pump();
    EXPECT_EQ(AskedBoxes().texts.size(), 1u);
    EXPECT_EQ(DocTerms(), c.expected);
    EXPECT_EQ(RowTexts(), c.expected);
    EXPECT_EQ(Doc()->m_currentSet->m_name, CString(c.current.c_str()));
    EXPECT_EQ(RowTexts()[SelectedRow()], c.current);
    EXPECT_EQ(FieldText(IDC_FORM_SEARCH_TERM), c.current);
  }
  SetTerms({"alone"}, 0);
  EXPECT_FALSE(Enabled(m_terms, ID_TERM_DELETE));
  EXPECT_FALSE(Enabled(m_terms, ID_TERM_CLEAR));
  AskedBoxes() = Boxes();
  Command(m_terms, ID_TERM_DELETE);
  EXPECT_EQ(DocTerms(), (Terms{"alone"}));
  EXPECT_TRUE(AskedBoxes().texts.empty());
}

// Clear all asks first; on yes one empty active term is left.
TEST_F(SearchTermViewTest, ClearAllLeavesOneEmptyTerm) {
  for (int answer : {IDNO, IDYES}) {
    SetTerms({"alpha", "beta"}, 1);
    AskedBoxes().answer = answer;
    Command(m_terms, ID_TERM_CLEAR);
    Pump();
    Terms expected = answer == IDYES ? Terms{""} : Terms{"alpha", "beta"};
    EXPECT_EQ(DocTerms(), expected);
    EXPECT_EQ(RowTexts(), expected);
    EXPECT_EQ(SelectedRow(), answer == IDYES ? 0 : 1);
    EXPECT_EQ(Doc()->IsModified() != FALSE, answer == IDYES);
  }
}

// Moving keeps the term's text, check box and set and its selection, in the list and in the
// document's order; the commands are disabled at the ends.
TEST_F(SearchTermViewTest, MovingATermKeepsItsBoxAndSelection) {
  struct Case {
    int selected;
    UINT command;
    Terms expected;
    std::vector<int> checks;
    int selectedAfter;
  } cases[] = {
      {1, ID_TERM_MOVE_UP, {"beta", "alpha", "gamma"}, {0, 1, 1}, 0},
      {1, ID_TERM_MOVE_DOWN, {"alpha", "gamma", "beta"}, {1, 1, 0}, 2},
      {0, ID_TERM_MOVE_UP, {"alpha", "beta", "gamma"}, {1, 0, 1}, 0},
      {2, ID_TERM_MOVE_DOWN, {"alpha", "beta", "gamma"}, {1, 0, 1}, 2},
  };
  for (const Case& c : cases) {
    SetTerms({"alpha", "beta", "gamma"}, c.selected);
    CEngineSet* beta = Doc()->m_manager.GetNextSet(Doc()->m_manager.GetFirstSet());
    beta->m_active = 0;
    Doc()->UpdateAllViews(nullptr, HINT_DOC_OPEN);
    Command(m_terms, c.command);
    EXPECT_EQ(DocTerms(), c.expected) << c.command << " from " << c.selected;
    EXPECT_EQ(RowTexts(), c.expected) << c.command << " from " << c.selected;
    EXPECT_EQ(RowChecks(), c.checks) << c.command << " from " << c.selected;
    EXPECT_EQ(SelectedRow(), c.selectedAfter);
    EXPECT_EQ(CurrentIndex(), c.selectedAfter);
    EXPECT_EQ(m_terms->GetRowSet(SelectedRow())->m_name, CString(c.expected[c.selectedAfter].c_str()));
  }
  SetTerms({"alpha", "beta", "gamma"}, 0);
  EXPECT_FALSE(Enabled(m_terms, ID_TERM_MOVE_UP));
  EXPECT_TRUE(Enabled(m_terms, ID_TERM_MOVE_DOWN));
  SetTerms({"alpha", "beta", "gamma"}, 2);
  EXPECT_TRUE(Enabled(m_terms, ID_TERM_MOVE_UP));
  EXPECT_FALSE(Enabled(m_terms, ID_TERM_MOVE_DOWN));
}

// Import adds each line as an active term after the others: leading blanks and line ends go,
// empty lines and lines starting with "#" are skipped; the current term stays.
TEST_F(SearchTermViewTest, ImportAddsTheFilesLines) {
  struct Case {
    const char* content;
    Terms added;
  } cases[] = {
      {"one\r\n  two words\r\n#comment\r\n\r\nthree\t\r\n", {"one", "two words", "three"}},
      {"last line without end", {"last line without end"}},
      {"\n\n# only comments\n", {}},
  };
  for (const Case& c : cases) {
    SetTerms({"alpha"}, 0);
    std::string path = m_folder.File("terms.txt");
    apptest::WriteBytes(path, c.content);
    EXPECT_TRUE(m_terms->ImportTermsFrom(path.c_str()));
    Terms expected = {"alpha"};
    expected.insert(expected.end(), c.added.begin(), c.added.end());
    EXPECT_EQ(DocTerms(), expected);
    EXPECT_EQ(RowTexts(), expected);
    EXPECT_EQ(DocActive(), std::vector<int>(expected.size(), 1));
    EXPECT_EQ(CurrentIndex(), 0);
    EXPECT_EQ(Doc()->IsModified() != FALSE, !c.added.empty());
  }
}

// Terms the document could not be opened with again are never added: once the document holds
// the most terms an import adds no more, and the user is told once. Adding a term by hand at
// the most is refused the same way.
TEST_F(SearchTermViewTest, ImportAndAddStopAtTheMostTermsAndSaySo) {
  SetTerms({"alpha"}, 0);
  // A term given whole (not cut as a file's lines are) longer than the longest is left out.
  CStringList given;
  given.AddTail(CString(std::string(CZubrinDoc::kMaxSearchTermLength + 1, 'w').c_str()));
  given.AddTail("beta");
  AskedBoxes() = Boxes();
  m_terms->AddTerms(given);
  EXPECT_EQ(DocTerms(), (Terms{"alpha", "beta"}));
  ASSERT_EQ(AskedBoxes().texts.size(), 1u);
  EXPECT_NE(AskedBoxes().texts[0].find(std::to_string(CZubrinDoc::kMaxSearchTermLength)),
            std::string::npos);

  const UINT most = Doc()->MaxSearchTerms();
  std::string lines;
  for (UINT i = 0; i < most + 10; ++i) lines += "term " + std::to_string(i) + "\n";
  const std::string path = m_folder.File("many.txt");
  apptest::WriteBytes(path, lines);
  AskedBoxes() = Boxes();
  EXPECT_TRUE(m_terms->ImportTermsFrom(path.c_str()));
  EXPECT_EQ(static_cast<UINT>(Doc()->m_manager.GetCount()), most);
  EXPECT_EQ(static_cast<UINT>(m_terms->GetListCtrl().GetItemCount()), most);
  EXPECT_EQ(DocTerms().back(), "term " + std::to_string(most - 3));
  ASSERT_EQ(AskedBoxes().texts.size(), 1u);
  EXPECT_NE(AskedBoxes().texts[0].find(std::to_string(most)), std::string::npos);

  AskedBoxes() = Boxes();
  Command(m_terms, ID_TERM_ADD);
  EXPECT_EQ(static_cast<UINT>(Doc()->m_manager.GetCount()), most);
  EXPECT_EQ(AskedBoxes().texts.size(), 1u);
}

// A file that cannot be opened is named in a message and adds nothing.
TEST_F(SearchTermViewTest, AnUnreadableImportFileIsReported) {
  SetTerms({"alpha"}, 0);
  std::string path = m_folder.File("missing.txt");
  EXPECT_FALSE(m_terms->ImportTermsFrom(path.c_str()));
  ASSERT_EQ(AskedBoxes().texts.size(), 1u);
  EXPECT_NE(AskedBoxes().texts[0].find(path), std::string::npos) << AskedBoxes().texts[0];
  EXPECT_EQ(DocTerms(), (Terms{"alpha"}));
  EXPECT_FALSE(Doc()->IsModified());
}

// Export writes every term and a line feed, in the document's order. An existing file is
// replaced only when the user says yes; a file that cannot be written is reported.
TEST_F(SearchTermViewTest, ExportWritesTheTermsAndAsksBeforeReplacing) {
  SetTerms({"alpha", "two words", "gamma"}, 0);
  const std::string written = "alpha\ntwo words\ngamma\n";
  struct Case {
    const char* before;  // null: no file yet
    int answer;
    bool result;
    size_t questions;
    std::string after;
  } cases[] = {
      {nullptr, IDYES, true, 0, written},
      {"old terms\n", IDNO, false, 1, "old terms\n"},
      {"old terms\n", IDYES, true, 1, written},
  };
  for (const Case& c : cases) {
    std::string path = m_folder.File("export.txt");
    ::DeleteFileA(path.c_str());
    if (c.before) apptest::WriteBytes(path, c.before);
    AskedBoxes() = Boxes();
    AskedBoxes().answer = c.answer;
    EXPECT_EQ(m_terms->ExportTermsTo(path.c_str()), c.result);
    EXPECT_EQ(AskedBoxes().texts.size(), c.questions);
    if (c.questions && !AskedBoxes().texts.empty()) {
      EXPECT_NE(AskedBoxes().texts[0].find(path), std::string::npos);
    }
    EXPECT_EQ(apptest::ReadBytes(path), c.after);
  }
  AskedBoxes() = Boxes();
  std::string unwritable = m_folder.File("no such folder\\export.txt");
  EXPECT_FALSE(m_terms->ExportTermsTo(unwritable.c_str()));
  ASSERT_EQ(AskedBoxes().texts.size(), 1u);
  EXPECT_NE(AskedBoxes().texts[0].find(unwritable), std::string::npos);
}

// Paste adds the clipboard's lines as terms, by the same rules as import.
TEST_F(SearchTermViewTest, PasteAddsTheClipboardsLines) {
  SetTerms({"alpha"}, 0);
  const char text[] = "a\r\nb\r\n#c\r\n\r\n";
  ASSERT_TRUE(::OpenClipboard(m_hFrame));
  ::EmptyClipboard();
  HGLOBAL data = ::GlobalAlloc(GMEM_MOVEABLE, sizeof text);
  memcpy(::GlobalLock(data), text, sizeof text);
  ::GlobalUnlock(data);
  ::SetClipboardData(CF_TEXT, data);
  ::CloseClipboard();
  EXPECT_TRUE(Enabled(m_terms, ID_TERM_PASTE));
  Command(m_terms, ID_TERM_PASTE);
  EXPECT_EQ(DocTerms(), (Terms{"alpha", "a", "b"}));
  EXPECT_EQ(RowTexts(), (Terms{"alpha", "a", "b"}));
  EXPECT_EQ(CurrentIndex(), 0);
}

// Next pane goes to the engine list, previous pane to the search form.
TEST_F(SearchTermViewTest, ThePaneCommandsLeaveTheList) {
  m_frame->SetActiveView(m_terms);
  ::SetFocus(m_terms->m_hWnd);
  Command(m_terms, ID_NEXT_PANE_CMD);
  EXPECT_EQ(::GetFocus(), m_engines->m_hWnd);
  m_frame->SetActiveView(m_terms);
  ::SetFocus(m_terms->m_hWnd);
  Command(m_terms, ID_PREV_PANE_CMD);
  EXPECT_EQ(m_frame->GetActiveView(), m_form);
  EXPECT_TRUE(::GetFocus() == m_form->m_hWnd || ::IsChild(m_form->m_hWnd, ::GetFocus()));
}

}  // namespace
}  // namespace termstest
