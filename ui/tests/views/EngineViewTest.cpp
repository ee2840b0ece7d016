// The engine list: its rows from the document, the rank cells and row colours, check boxes,
// sorting, double clicks, templates and the select-by criteria.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/services/AppPaths.h"
#include "app/services/AppServices.h"
#include "app/document/EngineCache.h"
#include "app/settings/SearchProperties.h"
#include "app/settings/SelectionTemplates.h"
#include "app/run/RunCommands.h"
#include "app/run/UpdateBroadcast.h"
#include "engines/db/EnginePrototypes.h"
#include "engines/sets/EngineSet.h"
#include "engines/db/SearchEngine.h"
#include "framework/wnd/CmdUI.h"
#include "resources/resource.h"
#include "ui/RunWindows.h"
#include "ui/tests/views/EngineWindow.h"
#include "ui/views/SortClass.h"

namespace enginetest {
namespace {

using Col = CSearchEngineView::Column;
using NameList = std::vector<std::string>;

std::string Text(UINT id) {
  char text[256] = {};
  ::LoadStringA(AfxGetResourceHandle(), id, text, sizeof text);
  return text;
}

// Every engine of the set gets a row, named exactly, sorted by name without regard to case;
// the columns come from the engine and the engine cache.
TEST_F(EngineWindowTest, FillShowsEveryEngineOfTheCurrentSet) {
  EXPECT_EQ(Names(), (NameList{"Alpha", "Beta", "Delta", "epsilon", "Gamma"}));
  EXPECT_EQ(List().GetItemCount(), 5);
  EXPECT_EQ(m_view->GetColumnCount(), 11);

  struct Case {
    const char* engine;
    std::string mark;
  } cases[] = {
      {"Alpha", Text(IDS_ENGINE_MARK_SUBMIT)},    // a submission definition
      {"Beta", Text(IDS_ENGINE_MARK_ADD_PAGE)},   // only an add page
      {"Gamma", Text(IDS_ENGINE_MARK_NONE)},      // neither
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.engine);
    EXPECT_EQ(Cell(c.engine, Col::kColMark), c.mark);
    EXPECT_FALSE(Cell(c.engine, Col::kColCountry).empty());
    EXPECT_FALSE(Cell(c.engine, Col::kColLanguage).empty());
    EXPECT_EQ(Cell(c.engine, Col::kColSubmissions), "0");
    EXPECT_EQ(Cell(c.engine, Col::kColRank), "0");
    EXPECT_EQ(Cell(c.engine, Col::kColSubmitted), "");
    EXPECT_TRUE(m_view->GetCheck(Row(c.engine)));
    EXPECT_EQ(StateOf(c.engine), kRowNormal);
  }
  // Codes give the tables' names; names in the data are shown as they are.
  EXPECT_EQ(Cell("Alpha", Col::kColCountry), "United States");
  EXPECT_EQ(Cell("Alpha", Col::kColLanguage), "English (American)");
  EXPECT_EQ(Cell("Gamma", Col::kColCountry), "United Kingdom");
  EXPECT_EQ(Cell("Gamma", Col::kColLanguage), "English");
  EXPECT_EQ(Cell("Alpha", Col::kColCountry), Cell("Delta", Col::kColCountry));
  EXPECT_NE(Cell("Alpha", Col::kColCountry), Cell("Beta", Col::kColCountry));
  EXPECT_EQ(List().GetNextItem(-1, LVNI_SELECTED), 0);

  // The excluded mark of the cache shows when the selected row's mark is rewritten.
  Doc()->FindEngineCache("Alpha")->m_excluded = 1;
  SelectRows({Row("Alpha")});
  m_view->UpdateFlagColumn();
  EXPECT_EQ(Cell("Alpha", Col::kColMark), Text(IDS_ENGINE_MARK_EXCLUDED));
}

// The rank column shows the change against the previous rank; the row takes the colours of
// its movement, and a first place keeps its own colours and text whatever the change.
TEST_F(EngineWindowTest, RankCellsAndRowColoursFollowTheMovement) {
  struct Case {
    const char* why;
    int previous;    // -1 none recorded
    int matchIndex;  // -1 not found now
    const char* rank;
    const char* page;
    const char* position;
    int state;
  } cases[] = {
      {"5th before, 3rd now", 5, 2, "3 (+2)", "1", "3", kRowMovedUp},
      {"3rd before, 5th now", 3, 4, "5 (-2)", "1", "5", kRowMovedDown},
      {"7th before, not found now", 7, -1, "0 (-7)", "0", "0", kRowMovedDown},
      {"not found before, 4th now", 0, 3, "4 (+4)", "1", "4", kRowMovedUp},
      {"same place", 4, 3, "4", "1", "4", kRowNormal},
      {"no previous rank", -1, 11, "12", "2", "2", kRowNormal},
      {"first after 3rd", 3, 0, "1 (+2)", "1", "1", kRowFirst},
      {"first, unchanged", 1, 0, "1", "1", "1", kRowFirst},
  };
  const COLORREF* colors = GetSearchProperties().m_colors;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    ClearResults("Gamma");
    Engine("Gamma")->m_previousRank = c.previous;
    AddResults("Gamma", 15, c.matchIndex);
    Hint(HINT_CURRENT_SET);
    EXPECT_EQ(Cell("Gamma", Col::kColRank), c.rank);
    EXPECT_EQ(Cell("Gamma", Col::kColPage), c.page);
    EXPECT_EQ(Cell("Gamma", Col::kColPosition), c.position);
    EXPECT_EQ(Cell("Gamma", Col::kColPrevious), c.previous == -1 ? "" : std::to_string(c.previous));
    EXPECT_EQ(StateOf("Gamma"), c.state);
    if (c.state == kRowFirst) {
      EXPECT_EQ(Cell("Gamma", Col::kColStatus), Text(IDS_ENGINE_RANKED_FIRST));
      EXPECT_EQ(m_view->GetRowBkColor(c.state), colors[CSearchProperties::ZubrinBk]);
    } else {
      EXPECT_NE(Cell("Gamma", Col::kColStatus).find(Text(c.matchIndex >= 0 ? IDS_ENGINE_FOUND : IDS_ENGINE_NOT_FOUND)),
                std::string::npos);
    }
  }
  struct Colours {
    int state;
    int text, background;
  } colours[] = {
      {kRowNormal, CSearchProperties::NormalText, CSearchProperties::NormalBk},
      {kRowDisabled, CSearchProperties::DisabledText, CSearchProperties::DisabledBk},
      {kRowMovedUp, CSearchProperties::MovedUpText, CSearchProperties::MovedUpBk},
      {kRowMovedDown, CSearchProperties::MovedDownText, CSearchProperties::MovedDownBk},
      {kRowFirst, CSearchProperties::ZubrinText, CSearchProperties::ZubrinBk},
      {kRowHighlight, CSearchProperties::HighlightText, CSearchProperties::HighlightBk},
  };
  for (const Colours& c : colours) {
    EXPECT_EQ(m_view->GetRowTextColor(c.state), colors[c.text]) << c.state;
    EXPECT_EQ(m_view->GetRowBkColor(c.state), colors[c.background]) << c.state;
  }
}

// A click on a check box sets the engine's flag in the prototype and in every set; several
// selected rows follow the clicked one; during a run neither a click nor the space bar changes
// anything.
TEST_F(EngineWindowTest, CheckBoxesSetTheEngineFlagEverywhereButNotDuringARun) {
  auto* other = new CEngineSet(&Doc()->m_database, 1, "second term");
  Doc()->m_manager.AddSet(other);
  Doc()->m_templateIndex = 3;

  int beta = Row("Beta");
  SelectRows({Row("Alpha")});
  ClickCheckBox(beta);
  EXPECT_FALSE(m_view->GetCheck(beta));
  EXPECT_EQ(Engine("Beta")->m_enabled, 0);
  EXPECT_EQ(other->FindEngine("Beta")->m_enabled, 0);
  EXPECT_EQ(SetEngineEnabled(Doc()->m_database, "Beta", 0), 0) << "the prototype was not unchecked";
  EXPECT_EQ(StateOf("Beta"), kRowDisabled);
  EXPECT_EQ(Doc()->m_templateIndex, -1);
  EXPECT_TRUE(Doc()->IsModified());

  // Two rows selected, the click on one of them turns both.
  SelectRows({Row("Gamma"), Row("Delta")});
  ClickCheckBox(Row("Delta"));
  EXPECT_EQ(Engine("Gamma")->m_enabled, 0);
  EXPECT_EQ(Engine("Delta")->m_enabled, 0);
  EXPECT_FALSE(m_view->GetCheck(Row("Gamma")));
  EXPECT_EQ(Engine("Alpha")->m_enabled, 1);

  // The space bar turns the focused row; the control turns its box.
  SelectRows({Row("Alpha")});
  m_view->SetFocus();
  PressSpace();
  EXPECT_EQ(Engine("Alpha")->m_enabled, 0);
  EXPECT_FALSE(m_view->GetCheck(Row("Alpha")));

  // During a run: nothing moves, by mouse or by key.
  Doc()->m_running = 1;
  struct Attempt {
    const char* how;
    bool keyboard;
  } attempts[] = {{"click", false}, {"space bar", true}};
  for (const Attempt& a : attempts) {
    SCOPED_TRACE(a.how);
    int row = Row("epsilon");
    SelectRows({row});
    if (a.keyboard)
      PressSpace();
    else
      ClickCheckBox(row);
    EXPECT_TRUE(m_view->GetCheck(row));
    EXPECT_EQ(Engine("epsilon")->m_enabled, 1);
  }
  Doc()->m_running = 0;
}

TEST_F(EngineWindowTest, CheckAllSetsEveryRowAndForgetsTheTemplate) {
  for (BOOL flag : {FALSE, TRUE}) {
    Doc()->m_templateIndex = 2;
    m_view->CheckAll(flag);
    for (const std::string& name : Names()) {
      EXPECT_EQ(m_view->GetCheck(Row(name.c_str())), flag) << name;
      EXPECT_EQ(Engine(name.c_str())->m_enabled, flag ? 1 : 0) << name;
      EXPECT_EQ(StateOf(name.c_str()), flag ? kRowNormal : kRowDisabled) << name;
    }
    EXPECT_EQ(Doc()->m_templateIndex, -1);
  }
}

// A column click sorts by the column's kind: names as text (checked first on the first click),
// numbers with "not found" last when ascending, dates by their sortable key.
TEST_F(EngineWindowTest, ColumnClicksSortByTextNumberAndDate) {
  AddResults("Alpha", 10, 6);    // rank 7
  AddResults("Beta", 10, 1);     // rank 2
  AddResults("Delta", 10, -1);   // not found
  AddResults("epsilon", 10, 3);  // rank 4
  AddResults("Gamma", 10, 0);    // rank 1
  const int day = 45000;
  Doc()->FindEngineCache("Alpha")->m_latest = day + 30;
  Doc()->FindEngineCache("Beta")->m_latest = day;
  Doc()->FindEngineCache("Gamma")->m_latest = day + 400;
  Hint(HINT_CURRENT_SET);
  m_view->CheckAll(TRUE);
  int delta = Row("Delta");
  SelectRows({delta});
  ClickCheckBox(delta);  // Delta unchecked

  auto click = [&](int column) {
    NMLISTVIEW header = {};
    header.hdr.hwndFrom = m_view->m_hWnd;
    header.hdr.idFrom = static_cast<UINT_PTR>(::GetDlgCtrlID(m_view->m_hWnd));
    header.hdr.code = LVN_COLUMNCLICK;
    header.iItem = -1;
    header.iSubItem = column;
    ::SendMessageA(::GetParent(m_view->m_hWnd), WM_NOTIFY, header.hdr.idFrom,
                   reinterpret_cast<LPARAM>(&header));
  };
  struct Case {
    const char* why;
    int column;
    NameList order;
  } cases[] = {
      // The refresh sorted checked first, so the name column goes on with descending.
      {"name: descending", Col::kColName, {"Gamma", "epsilon", "Delta", "Beta", "Alpha"}},
      {"name: ascending", Col::kColName, {"Alpha", "Beta", "Delta", "epsilon", "Gamma"}},
      {"name: checked first", Col::kColName, {"Alpha", "Beta", "epsilon", "Gamma", "Delta"}},
      {"rank, first click: descending, not found first", Col::kColRank,
       {"Delta", "Alpha", "epsilon", "Beta", "Gamma"}},
      {"rank, second click: ascending, not found last", Col::kColRank,
       {"Gamma", "Beta", "epsilon", "Alpha", "Delta"}},
      // The two rows without a date compare equal; "?" stands for either of them.
      {"date, first click: latest first", Col::kColSubmitted, {"Gamma", "Alpha", "Beta", "?", "?"}},
      {"date, second click: no date first", Col::kColSubmitted, {"?", "?", "Beta", "Alpha", "Gamma"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    click(c.column);
    NameList names = Names();
    for (size_t i = 0; i < names.size() && i < c.order.size(); ++i)
      if (c.order[i] == "?") names[i] = "?";
    EXPECT_EQ(names, c.order);
  }
  // The row states are the rows' own again after sorting.
  EXPECT_EQ(StateOf("Delta"), kRowDisabled);
  EXPECT_EQ(StateOf("Gamma"), kRowFirst);
}

// A double click: Ctrl asks the frame for the Results report, Shift opens the home page,
// otherwise the frame makes the Detail report.
TEST_F(EngineWindowTest, DoubleClickVariants) {
  static std::vector<std::string> opened;
  opened.clear();
  CSearchEngineView::SetUrlOpenFunction([](LPCSTR url) -> BOOL {
    opened.push_back(url);
    return TRUE;
  });
  SelectRows({Row("Beta")});
  struct Case {
    const char* why;
    BYTE key;  // held down, 0 none
    std::vector<UINT> commands;
    std::vector<std::string> pages;
  } cases[] = {
      {"plain", 0, {ID_VIEW_DETAIL}, {}},
      {"with Ctrl", VK_CONTROL, {ID_VIEW_RESULTS}, {}},
      {"with Shift", VK_SHIFT, {}, {"http://beta.example/"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    m_frame->m_commands.clear();
    opened.clear();
    BYTE keys[256] = {};
    ::GetKeyboardState(keys);
    if (c.key) keys[c.key] = 0x80;
    ::SetKeyboardState(keys);
    NMITEMACTIVATE activate = {};
    activate.hdr.hwndFrom = m_view->m_hWnd;
    activate.hdr.idFrom = static_cast<UINT_PTR>(::GetDlgCtrlID(m_view->m_hWnd));
    activate.hdr.code = NM_DBLCLK;
    activate.iItem = Row("Beta");
    ::SendMessageA(::GetParent(m_view->m_hWnd), WM_NOTIFY, activate.hdr.idFrom,
                   reinterpret_cast<LPARAM>(&activate));
    if (c.key) keys[c.key] = 0;
    ::SetKeyboardState(keys);
    EXPECT_EQ(m_frame->m_commands, c.commands);
    EXPECT_EQ(opened, c.pages);
  }
  CSearchEngineView::SetUrlOpenFunction(nullptr);
}

// A template checks exactly its engines, which then lead the list; collecting stores the
// checked engines under the name and writes the templates file.
TEST_F(EngineWindowTest, TemplatesApplyAndCollect) {
  NQSelectionTemplates templates;
  NQSelectionTemplates* before = GetSelectionTemplates();
  SetSelectionTemplates(&templates);
  templates.Add("Two", {"Beta", "Gamma", "Missing"});

  m_view->ApplyTemplate("Two");
  NameList leading = Names();
  leading.resize(2);
  EXPECT_EQ(leading, (NameList{"Beta", "Gamma"}));
  for (const std::string& name : Names()) {
    bool in = name == "Beta" || name == "Gamma";
    EXPECT_EQ(m_view->GetCheck(Row(name.c_str())) != FALSE, in) << name;
    EXPECT_EQ(Engine(name.c_str())->m_enabled, in ? 1 : 0) << name;
  }
  EXPECT_EQ(List().GetNextItem(-1, LVNI_SELECTED), 0);

  m_view->ApplyTemplate("No such template");
  for (const std::string& name : Names()) EXPECT_FALSE(m_view->GetCheck(Row(name.c_str()))) << name;

  const std::string path = GetTemplatesFilePath().GetString();
  std::rename(path.c_str(), (path + ".keep").c_str());
  m_view->CheckAll(TRUE);
  m_view->SendMessage(WM_COMMAND, ID_ENGINE_NONE);
  SelectRows({Row("Delta")});
  ClickCheckBox(Row("Delta"));
  m_view->CollectTemplate("Delta only");
  ASSERT_NE(templates.Find("Delta only"), nullptr);
  EXPECT_EQ(*templates.Find("Delta only"), (NQSelectionTemplates::EngineNames{"Delta"}));
  NQSelectionTemplates reread;
  EXPECT_TRUE(reread.Load(path));
  ASSERT_NE(reread.Find("Delta only"), nullptr);
  std::remove(path.c_str());
  std::remove((path + ".bak").c_str());
  std::rename((path + ".keep").c_str(), path.c_str());
  SetSelectionTemplates(before);
}

// The select-by criteria: every given criterion must equal the row's text; mode 0 replaces
// the checks, any other mode only adds to them.
TEST_F(EngineWindowTest, SelectByCriteria) {
  const std::string us = Cell("Alpha", Col::kColCountry);
  const std::string german = Cell("Beta", Col::kColLanguage);
  const std::string none = Text(IDS_ENGINE_MARK_NONE);
  struct Case {
    const char* why;
    const char* category;
    std::string country, language, mark;
    int mode;
    std::vector<std::string> startChecked;
    std::vector<std::string> checked;
  } cases[] = {
      {"category alone", "Search", "", "", "", 0, {"Beta"}, {"Alpha", "epsilon", "Gamma"}},
      {"category and country", "Search", us, "", "", 0, {}, {"Alpha", "epsilon"}},
      {"language", "", "", german, "", 0, {"Alpha"}, {"Beta"}},
      {"a country named in full", "", "United Kingdom", "", "", 0, {}, {"Gamma"}},
      {"mark", "", "", "", none, 0, {}, {"Delta", "epsilon", "Gamma"}},
      {"added to the checked", "Directory", "", "", "", 1, {"Gamma"}, {"Beta", "Delta", "Gamma"}},
      {"no criterion checks nothing", "", "", "", "", 0, {"Alpha"}, {}},
      {"case matters", "search", "", "", "", 0, {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    m_view->CheckAll(FALSE);
    for (const std::string& name : c.startChecked) {
      SelectRows({Row(name.c_str())});
      ClickCheckBox(Row(name.c_str()));
    }
    Doc()->m_templateIndex = 1;
    m_view->SelectByCriteria(c.category, c.country.c_str(), c.language.c_str(), c.mark.c_str(), c.mode);
    std::vector<std::string> checked;
    for (const char* name : {"Alpha", "Beta", "Delta", "epsilon", "Gamma"})
      if (Engine(name)->m_enabled) checked.push_back(name);
    EXPECT_EQ(checked, c.checked);
    EXPECT_EQ(Doc()->m_templateIndex, -1);
    // Checked engines lead the list.
    for (size_t i = 0; i < c.checked.size(); ++i) EXPECT_TRUE(m_view->GetCheck(static_cast<int>(i)));
  }
}

// The one-engine commands follow the selection: texts name the engine, the add page command
// is only enabled when there is an add page.
TEST_F(EngineWindowTest, EngineCommandsFollowTheSelection) {
  static std::vector<std::string> opened;
  opened.clear();
  CSearchEngineView::SetUrlOpenFunction([](LPCSTR url) -> BOOL {
    opened.push_back(url);
    return TRUE;
  });
  SelectRows({Row("Gamma")});
  EXPECT_EQ(m_view->GetSelectedEngine(), Engine("Gamma"));
  m_view->SendMessage(WM_COMMAND, ID_ENGINE_ADDPAGE);  // Gamma has none
  m_view->SendMessage(WM_COMMAND, ID_ENGINE_HOMEPAGE);
  SelectRows({Row("Beta")});
  m_view->SendMessage(WM_COMMAND, ID_ENGINE_ADDPAGE);
  EXPECT_EQ(opened, (std::vector<std::string>{"http://gamma.example/", "http://beta.example/add"}));
  SelectRows({});
  EXPECT_EQ(m_view->GetSelectedEngine(), nullptr);
  m_view->SendMessage(WM_COMMAND, ID_ENGINE_HOMEPAGE);
  EXPECT_EQ(opened.size(), 2u);

  m_view->SendMessage(WM_COMMAND, ID_ENGINE_SELECT_ALL);
  EXPECT_EQ(List().GetSelectedCount(), 5u);
  CSearchEngineView::SetUrlOpenFunction(nullptr);
}

}  // namespace
}  // namespace enginetest

namespace enginetest {
namespace {

// The engine images: 128 icons from the first strip, the second strip once for every full 128
// icons when the database has more than 128.
TEST(EngineImageList, HoldsTheIconsOfTheDatabase) {
  apptest::LanguageModuleScope language;
  ASSERT_TRUE(language.Loaded());
  struct Case {
    int icons;
    int images;
  } cases[] = {{0, 128}, {128, 128}, {129, 256}, {256, 384}, {300, 384}};
  for (const Case& c : cases) {
    CImageList list;
    ASSERT_TRUE(CreateEngineImageList(list, c.icons)) << c.icons;
    EXPECT_EQ(list.GetImageCount(), c.images) << c.icons;
    int cx = 0, cy = 0;
    list.GetIconSize(&cx, &cy);
    EXPECT_EQ(cx, 16);
    EXPECT_EQ(cy, 16);
  }
  // Without the language module there are no bitmaps to make it from.
  HINSTANCE module = AfxGetResourceHandle();
  AfxSetResourceHandle(::GetModuleHandleA(nullptr));
  CImageList none;
  EXPECT_FALSE(CreateEngineImageList(none, 10));
  AfxSetResourceHandle(module);
}

// The end of an automated run reaches the batch end once, which closes the main window once:
// the list posts no close of its own.
TEST_F(EngineWindowTest, AutomatedRunEndClosesTheMainWindowOnce) {
  CZubrinDoc::ResetAutomatedEnd();
  BroadcastUpdate(HINT_RUN_AUTOMATED_END, 0);
  MSG msg;
  ASSERT_TRUE(::PeekMessageA(&msg, m_view->m_hWnd, WM_ZB_UPDATE, WM_ZB_UPDATE, PM_REMOVE));
  ::DispatchMessageA(&msg);
  int closes = 0;
  while (::PeekMessageA(&msg, m_hFrame, WM_CLOSE, WM_CLOSE, PM_REMOVE)) ++closes;
  EXPECT_EQ(closes, 1);
  EXPECT_TRUE(CZubrinDoc::AutomatedEndReached());
  CZubrinDoc::ResetAutomatedEnd();
}

}  // namespace
}  // namespace enginetest

namespace enginetest {
namespace {

// Collects what a command's update handler says.
class ProbeCmdUI : public CCmdUI {
 public:
  void Enable(BOOL bOn = TRUE) override {
    m_bEnableChanged = TRUE;
    enabled = bOn != FALSE;
  }
  void SetCheck(int) override {}
  void SetText(LPCSTR text) override { this->text = text; }
  bool enabled = true;
  std::string text;
};

ProbeCmdUI Probe(CCmdTarget* target, UINT id) {
  ProbeCmdUI probe;
  probe.m_nID = id;
  probe.DoUpdate(target, FALSE);
  return probe;
}

// The menu items of the one-engine commands name the selected engine; the add page command is
// only enabled for an engine with an add page; select all waits for the end of a run.
TEST_F(EngineWindowTest, CommandStatesFollowTheSelectionAndTheRun) {
  struct Case {
    const char* why;
    const char* selected;  // null: no selection
    UINT id;
    bool enabled;
    std::string text;
  } cases[] = {
      {"home page, none selected", nullptr, ID_ENGINE_HOMEPAGE, true, Text(IDS_ENGINE_NO_SELECTION)},
      {"home page of Beta", "Beta", ID_ENGINE_HOMEPAGE, true, "Open the &home page of Beta"},
      {"add page, none selected", nullptr, ID_ENGINE_ADDPAGE, false, ""},
      {"add page of Beta", "Beta", ID_ENGINE_ADDPAGE, true, "Open the &add page of Beta"},
      {"Gamma has no add page", "Gamma", ID_ENGINE_ADDPAGE, false, "Gamma has no &add page"},
      {"selected rows pane", "Gamma", ID_INDICATOR_SELECTED, true, "Selected: 1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    SelectRows(c.selected ? std::vector<int>{Row(c.selected)} : std::vector<int>{});
    ProbeCmdUI probe = Probe(m_view, c.id);
    EXPECT_EQ(probe.enabled, c.enabled);
    EXPECT_EQ(probe.text, c.text);
  }
  EXPECT_TRUE(Probe(m_view, ID_ENGINE_SELECT_ALL).enabled);
  Doc()->m_running = 1;
  EXPECT_FALSE(Probe(m_view, ID_ENGINE_SELECT_ALL).enabled);
  Doc()->m_running = 0;
}

// What the run windows do after a mark or a submission changed an engine's stored counts: only
// that engine's row is rewritten, and the run control finds the rows it runs by the selection.
TEST_F(EngineWindowTest, TheRunWindowsReadTheSelectionAndRewriteOneRow) {
  CMainRunViews views;
  SelectRows({Row("Gamma"), Row("Alpha")});
  std::vector<std::string> selected;
  for (const CString& name : views.SelectedEngines()) selected.emplace_back(name.GetString());
  EXPECT_EQ(selected, (std::vector<std::string>{Names()[std::min(Row("Alpha"), Row("Gamma"))],
                                                Names()[std::max(Row("Alpha"), Row("Gamma"))]}))
      << "in the list's order";

  Doc()->FindEngineCache("Beta")->m_total = 3;
  Doc()->FindEngineCache("Delta")->m_total = 5;
  views.RefreshEngineRow("Beta");
  EXPECT_EQ(Cell("Beta", 4), "3");
  EXPECT_EQ(Cell("Delta", 4), "0") << "another row is left as it was";
  views.RefreshEngineRow("No such engine");  // nothing to rewrite
}

}  // namespace
}  // namespace enginetest
