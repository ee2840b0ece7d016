// The document's commands besides the runs and its status panes: which command is enabled in
// which state, moving between search terms, the texts of the rate and time panes, the close
// that waits for a run, and the log of a run without the user.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/program/ZubrinAppLog.h"
#include "app/document/ZubrinDoc.h"
#include "app/run/RunCommands.h"
#include "app/settings/SelectionTemplates.h"
#include "app/tests/AppTestSupport.h"
#include "app/tests/RunTestSupport.h"
#include "engines/db/EngineServices.h"
#include "engines/sets/EngineSet.h"
#include "framework/app/MessageBox.h"
#include "framework/app/AppIds.h"
#include "framework/wnd/CmdUI.h"
#include "resources/resource.h"

using apptest::TempFolder;

namespace {

int QuietBox(LPCSTR, UINT type) {
  return AfxDefaultMessageBoxAnswer(type);
}
int QuietEngineBox(HWND, const char*, const char*, unsigned) {
  return IDOK;
}

// Records what an update handler decided.
class RecordingCmdUI : public CCmdUI {
 public:
  explicit RecordingCmdUI(UINT id) { m_nID = id; }
  void Enable(BOOL on) override {
    enabled = on != FALSE;
    m_bEnableChanged = TRUE;
  }
  void SetCheck(int) override {}
  void SetText(LPCSTR text) override { this->text = text; }
  bool enabled = false;
  std::string text;
};

class DocCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(language.Loaded());
    AfxSetMessageBoxHandler(QuietBox);
    SetEngineMessageBox(QuietEngineBox);
    apptest::WriteBytes(folder.File("engines.dat"), "[Alpha]\nenabled=1\n\n[Beta]\nenabled=1\n");
    SetEngineDataFolder(folder.Path().c_str());
    doc = std::make_unique<CZubrinDoc>();
    ASSERT_TRUE(doc->OnNewDocument());
  }
  void TearDown() override {
    doc->m_running = 0;
    doc.reset();
    SetEngineDataFolder("");
    SetEngineMessageBox(nullptr);
    AfxSetMessageBoxHandler(nullptr);
  }
  // Replaces the sets by one active set per term.
  void UseTerms(const std::vector<const char*>& terms) {
    doc->m_currentSet = nullptr;
    doc->m_manager.RemoveAll();
    for (const char* term : terms) {
      CEngineSet* set = new CEngineSet(&doc->m_database, 1, term);
      doc->m_manager.AddSet(set);
      if (!doc->m_currentSet) doc->m_currentSet = set;
    }
  }
  RecordingCmdUI Update(UINT id) {
    RecordingCmdUI ui(id);
    ui.DoUpdate(doc.get(), TRUE);
    return ui;
  }

  apptest::LanguageModuleScope language;
  TempFolder folder;
  std::unique_ptr<CZubrinDoc> doc;
};

// What each command's enabling looks at: the run, the number of terms, the read-only file, the
// chosen template and whether the document is new.
TEST_F(DocCommandsTest, CommandsAreEnabledByTheirRules) {
  struct Case {
    const char* why;
    UINT id;
    int terms;
    bool running, readOnly;
    int templateIndex;
    bool enabled;
  };
  const Case cases[] = {
      {"next term with three terms", ID_TERM_NEXT, 3, false, false, -1, true},
      {"next term with one term", ID_TERM_NEXT, 1, false, false, -1, false},
      {"previous term during a run", ID_TERM_PREVIOUS, 3, true, false, -1, false},
      {"update program when idle", ID_CHECK_UPDATE, 1, false, false, -1, true},
      {"update program during a run", ID_CHECK_UPDATE, 1, true, false, -1, false},
      {"save of a read-only file", ID_FILE_SAVE, 1, false, true, -1, false},
      {"save of a writable file", ID_FILE_SAVE, 1, false, false, -1, true},
      {"save during a run", ID_FILE_SAVE, 1, true, false, -1, false},
      {"save as during a run", ID_FILE_SAVE_AS, 1, true, false, -1, false},
      {"new during a run", ID_FILE_NEW, 1, true, false, -1, false},
      {"open when idle", ID_FILE_OPEN, 1, false, false, -1, true},
      {"delete without a chosen template", ID_TEMPLATE_DELETE, 1, false, false, -1, false},
      {"delete with a chosen template", ID_TEMPLATE_DELETE, 1, false, false, 2, true},
      {"engine view's check-all during a run", ID_ENGINE_ALL, 1, true, false, -1, false},
      {"stop when no run is on", ID_RUN_STOP, 1, false, false, -1, false},
      {"stop during a run", ID_RUN_STOP, 1, true, false, -1, true},
      {"delete once the template is deleted", ID_TEMPLATE_DELETE, 1, false, false, -2, false},
      {"save template during a run", ID_TEMPLATE_SAVE, 1, true, false, -1, false},
      // The options sheet's Apply changes what a run's workers read.
      {"options when idle", ID_OPTIONS, 1, false, false, -1, true},
      {"options during a run", ID_OPTIONS, 1, true, false, -1, false},
      {"engine options during a run", ID_ENGINE_OPTIONS, 1, true, false, -1, false},
      {"support mail when idle", ID_SUPPORT_MAIL, 1, false, false, -1, true},
      {"support mail during a run", ID_SUPPORT_MAIL, 1, true, false, -1, false},
      {"debug run when idle", ID_RUN_DEBUG, 1, false, false, -1, true},
      {"debug run during a run", ID_RUN_DEBUG, 1, true, false, -1, false},
      {"engine mark without an engine view", ID_RUN_ENGINE_FLAG, 1, false, false, -1, false},
  };
  for (const Case& c : cases) {
    std::vector<const char*> terms = {"one", "two", "three"};
    terms.resize(static_cast<size_t>(c.terms));
    UseTerms(terms);
    doc->m_running = c.running;
    doc->m_readOnly = c.readOnly;
    doc->m_templateIndex = c.templateIndex;
    EXPECT_EQ(Update(c.id).enabled, c.enabled) << c.why;
  }
}

// The combo follows the document's template index: a position names its entry; -2 (deleted)
// removes the entry and leaves nothing chosen; -3 (saved) adds a new name once; -4 (opened)
// finds the document's template or forgets it. Names differ by case only as well.
TEST_F(DocCommandsTest, TheTemplateComboFollowsTheChosenTemplate) {
  HWND parent = ::CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  struct Case {
    const char* why;
    int index;
    const char* name;
    int selected;  // what the combo shows before the update
    std::vector<std::string> entries;
    int indexAfter;
    const char* nameAfter;
  };
  const std::vector<std::string> three = {"All", "Directories", "all"};
  const Case cases[] = {
      {"a chosen position takes its name", 1, "", -1, three, 1, "Directories"},
      {"a deleted template leaves the combo", -2, "Directories", 1, {"All", "all"}, -1, ""},
      {"a deleted template already gone", -2, "Gone", 0, three, -1, ""},
      {"a saved new template joins it", -3, "Mine", 0, {"All", "Directories", "all", "Mine"}, 3,
       "Mine"},
      {"a saved existing template is found by case", -3, "all", 0, three, 2, "all"},
      {"an opened document's template is found", -4, "Directories", -1, three, 1, "Directories"},
      {"an opened document's template is unknown", -4, "Elsewhere", 0, three, -1, ""},
      {"nothing chosen empties the name", -1, "stale", 0, three, -1, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    HWND combo = ::CreateWindowA("COMBOBOX", "", WS_CHILD | CBS_DROPDOWNLIST, 0, 0, 100, 200, parent,
                                 nullptr, nullptr, nullptr);
    for (const char* entry : {"All", "Directories", "all"})
      ::SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
    ::SendMessageA(combo, CB_SETCURSEL, c.selected, 0);
    doc->m_templateIndex = c.index;
    doc->m_templateName = c.name;
    doc->SyncTemplateCombo(combo);
    std::vector<std::string> entries;
    for (int i = 0, n = static_cast<int>(::SendMessageA(combo, CB_GETCOUNT, 0, 0)); i < n; ++i) {
      char text[64] = {};
      ::SendMessageA(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
      entries.push_back(text);
    }
    EXPECT_EQ(entries, c.entries);
    EXPECT_EQ(doc->m_templateIndex, c.indexAfter);
    EXPECT_STREQ(doc->m_templateName.GetString(), c.nameAfter);
    EXPECT_EQ(::SendMessageA(combo, CB_GETCURSEL, 0, 0), c.indexAfter);
    // A second update changes nothing more.
    doc->SyncTemplateCombo(combo);
    EXPECT_EQ(doc->m_templateIndex, c.indexAfter);
    EXPECT_EQ(::SendMessageA(combo, CB_GETCOUNT, 0, 0), static_cast<LRESULT>(c.entries.size()));
    ::DestroyWindow(combo);
  }
  ::DestroyWindow(parent);
}

// The windows' side of saving a template: the name asked with the current one preset, and the
// engine view's collection.
class TemplateViews : public apptest::FakeRunViews {
 public:
  bool AskTemplateName(CString& name) override {
    preset = name;
    if (!answer) return false;
    name = answer;
    return true;
  }
  bool CollectTemplate(const CString& name) override {
    collected.push_back(name.GetString());
    return saved;
  }
  const char* answer = nullptr;
  bool saved = true;
  CString preset;
  std::vector<std::string> collected;
};

TEST_F(DocCommandsTest, SaveTemplateStoresTheCheckedEnginesUnderTheEnteredName) {
  TemplateViews views;
  doc->SetRunViews(&views);
  int boxes = 0;
  static int* s_boxes = nullptr;
  s_boxes = &boxes;
  AfxSetMessageBoxHandler([](LPCSTR, UINT) { ++*s_boxes; return IDOK; });
  struct Case {
    const char* why;
    const char* answer;
    bool saved;
    int indexAfter;
    const char* nameAfter;
    int boxes;
  } cases[] = {
      {"cancelled: nothing changes", nullptr, true, 1, "Current", 0},
      {"saved under a new name", "Mine", true, -3, "Mine", 0},
      {"kept, but the file could not be written", "Mine", false, -3, "Mine", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    views.answer = c.answer;
    views.saved = c.saved;
    views.collected.clear();
    boxes = 0;
    doc->m_templateIndex = 1;
    doc->m_templateName = "Current";
    doc->OnCmdMsg(ID_TEMPLATE_SAVE, CN_COMMAND, nullptr, nullptr);
    EXPECT_STREQ(views.preset.GetString(), "Current");
    EXPECT_EQ(views.collected, c.answer ? std::vector<std::string>{c.answer} : std::vector<std::string>{});
    EXPECT_EQ(doc->m_templateIndex, c.indexAfter);
    EXPECT_STREQ(doc->m_templateName.GetString(), c.nameAfter);
    EXPECT_EQ(boxes, c.boxes);
  }
  // Not during a run.
  views.answer = "Other";
  doc->m_running = 1;
  views.collected.clear();
  doc->OnCmdMsg(ID_TEMPLATE_SAVE, CN_COMMAND, nullptr, nullptr);
  EXPECT_TRUE(views.collected.empty());
  doc->m_running = 0;
  doc->SetRunViews(nullptr);
}

// The terms are a ring: next from the last is the first, previous from the first the last.
TEST_F(DocCommandsTest, NextAndPreviousTermWrapAround) {
  UseTerms({"one", "two", "three"});
  const struct {
    bool next;
    const char* becomes;
  } steps[] = {{true, "two"}, {true, "three"}, {true, "one"}, {false, "three"}, {false, "two"}};
  for (const auto& step : steps) {
    EXPECT_TRUE(doc->MoveToTerm(step.next));
    EXPECT_STREQ(doc->GetSearchTerm().GetString(), step.becomes);
  }
}

TEST_F(DocCommandsTest, NoTermMoveWithOneTermOrDuringARun) {
  UseTerms({"only"});
  EXPECT_FALSE(doc->MoveToTerm(true));
  EXPECT_STREQ(doc->GetSearchTerm().GetString(), "only");
  UseTerms({"one", "two"});
  doc->m_running = 1;
  EXPECT_FALSE(doc->MoveToTerm(true));
  EXPECT_STREQ(doc->GetSearchTerm().GetString(), "one");
}

// The unit changes at 1024 and at 1,048,576 bytes per second; the number is rounded.
TEST_F(DocCommandsTest, RatePaneTextFollowsTheThresholds) {
  struct Case {
    bool running, meter;
    uint32_t rate;
    const char* text;
  } cases[] = {
      {false, false, 0, "Idle"},
      {false, true, 5000, "Idle"},
      {true, false, 5000, ""},
      {true, true, 0, "0 B/s"},
      {true, true, 1023, "1023 B/s"},
      {true, true, 1024, "1 KB/s"},
      {true, true, 1535, "1 KB/s"},
      {true, true, 1536, "2 KB/s"},
      {true, true, 1048575, "1024 KB/s"},
      {true, true, 1048576, "1 MB/s"},
      {true, true, 3u * 1048576 + 600000, "4 MB/s"},
  };
  for (const Case& c : cases)
    EXPECT_STREQ(CZubrinDoc::RatePaneText(c.running, c.meter, c.rate).GetString(), c.text)
        << c.rate;
}

TEST_F(DocCommandsTest, ElapsedPaneSplitsHoursMinutesSeconds) {
  const struct {
    long seconds;
    const char* text;
  } cases[] = {{0, "00:00:00"},
               {59, "00:00:59"},
               {3725, "01:02:05"},
               {360000, "100:00:00"},
               {-5, "00:00:00"}};
  for (const auto& c : cases)
    EXPECT_STREQ(CZubrinDoc::ElapsedPaneText(c.seconds).GetString(), c.text) << c.seconds;
}

TEST_F(DocCommandsTest, CounterPanesShowTheDocument) {
  EXPECT_EQ(Update(ID_INDICATOR_ENGINES).text, "Engines: 2");
  RecordingCmdUI rate = Update(ID_INDICATOR_RATE);
  EXPECT_TRUE(rate.enabled);
  EXPECT_EQ(rate.text, "Idle");
}

// A close asked for during a run waits for the run's end; without a run the close goes on.
TEST_F(DocCommandsTest, CloseDuringARunIsOnlyMarkedPending) {
  doc->SetModifiedFlag(FALSE);
  EXPECT_TRUE(doc->SaveModified());
  EXPECT_EQ(doc->m_closePending, 0);
  doc->m_running = 1;
  EXPECT_FALSE(doc->SaveModified());
  EXPECT_EQ(doc->m_closePending, 1);
}

class AppLogTest : public ::testing::Test {
 protected:
  void TearDown() override { CZubrinAppLog::Reset(); }
  TempFolder folder;
};

TEST_F(AppLogTest, LogLivesBesideTheDocumentNamedAfterIt) {
  const struct {
    const char* document;
    const char* log;
  } cases[] = {
      {"C:\\work\\site.zbp", "C:\\work\\site.log"},
      {"C:\\work\\site", "C:\\work\\site.log"},
      {"C:\\my.projects\\site", "C:\\my.projects\\site.log"},  // a dot in a folder's name
      {"C:\\work\\site.v2.zbp", "C:\\work\\site.v2.log"},
  };
  for (const auto& c : cases)
    EXPECT_STREQ(CZubrinAppLog::PathFor(c.document).GetString(), c.log) << c.document;
}

// Every failure is one line of the file and turns the exit code into a failure; notes do not.
TEST_F(AppLogTest, FailuresAreLinesAndMakeTheExitCodeNonZero) {
  std::string document = folder.File("site.zbp");
  CZubrinAppLog::Open(document.c_str());
  CZubrinAppLog::Note("Mail: summary.htm was sent.");
  EXPECT_FALSE(CZubrinAppLog::HasFailed());
  EXPECT_EQ(CZubrinAppLog::ExitCode(0), 0);
  CZubrinAppLog::Fail("The CSV file %s could not be opened.", "x.csv");
  CZubrinAppLog::Fail("The document was not saved.");
  EXPECT_TRUE(CZubrinAppLog::HasFailed());
  EXPECT_EQ(CZubrinAppLog::ExitCode(0), 1);
  EXPECT_EQ(CZubrinAppLog::ExitCode(3), 3);
  std::string text = apptest::ReadBytes(folder.File("site.log"));
  EXPECT_NE(text.find("could not be opened"), std::string::npos);
  int lines = 0;
  for (char ch : text) lines += ch == '\n';
  EXPECT_EQ(lines, 3) << text;
}

}  // namespace
