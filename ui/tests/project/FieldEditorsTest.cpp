// The field editors driven as the user drives them: the editor each kind of field gets and the
// value it gives back, translation against the fake translation service, the directory's
// category tree from the fake search engine, and the list of fields a submission lacks.
#include <gtest/gtest.h>

#include <commctrl.h>

#include <string>

#include "app/document/ZubrinDoc.h"
#include "app/run/RunViews.h"
#include "resources/resource.h"
#include "tests/fakeengine/FakeTranslator.h"
#include "ui/RunWindows.h"
#include "ui/dialogs/fields/MissingInfo.h"
#include "ui/dialogs/fields/ModifyCategory.h"
#include "ui/dialogs/fields/ModifyNV.h"
#include "ui/tests/project/ProjectDriver.h"
#include "ui/tests/project/ProjectFixture.h"

namespace {

using namespace projtest;

Step OnDialog(int id, std::function<void(HWND)> act) {
  return [id, act] {
    HWND dialog = DialogWith(id);
    if (!dialog) return false;
    act(dialog);
    return true;
  };
}

Step Press(int dialogControl, int button) {
  return OnDialog(dialogControl, [button](HWND dialog) { Click(dialog, button); });
}

}  // namespace

// Which descriptions offer a translation, from and to which language.
TEST(FieldTranslation, OfferedBetweenTheUsersLanguageAndTheFields) {
  struct Case {
    const char* key;
    const char* ui;
    bool offered;
    const char* source;
    const char* target;
  };
  const Case cases[] = {
      {"SHORTDESC_FR", "enu", true, "enu", "fra"},
      {"LONGDESC_BR", "ENU", true, "enu", "ptb"},
      {"ONELINEDESC_MX", "enu", true, "enu", "esm"},
      {"SHORTDESC_DE", "enu", true, "enu", "deu"},
      {"SHORTDESC_IT", "enu", true, "enu", "ita"},
      // The user's own language, and languages the service does not translate.
      {"SHORTDESC", "enu", false, "", ""},
      {"SHORTDESC_NL", "enu", false, "", ""},
      {"SHORTDESC_SE", "enu", false, "", ""},
      // Another user language translates the plain descriptions into English, nothing else.
      {"SHORTDESC", "deu", true, "deu", "enu"},
      {"LONGDESC", "fra", true, "fra", "enu"},
      {"SHORTDESC_FR", "deu", false, "", ""},
      // Fields that are no descriptions.
      {"EMAIL", "enu", false, "", ""},
      {"ZIP", "deu", false, "", ""},
      {"FLIX_ORT", "enu", false, "", ""},
      {"DE", "enu", false, "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.key) + " " + c.ui);
    CModifyNV::Translation t = CModifyNV::TranslationFor(c.key, c.ui);
    EXPECT_EQ(t.offered, c.offered);
    EXPECT_STREQ(t.source, c.source);
    EXPECT_STREQ(t.target, c.target);
  }
}

class FieldEditorsTest : public ProjectFixture {
 protected:
  void TearDown() override {
    CModifyNV::SetTranslationService(nullptr);
    CMissingInfo::SetSheetRunner(nullptr);
    ProjectFixture::TearDown();
  }
};

// Each kind gets its editor and gives its value back in the form it is stored.
TEST_F(FieldEditorsTest, EachKindEditsAndReturnsItsValue) {
  struct Case {
    const char* why;
    const char* key;
    const char* kind;
    const char* value;
    int editor;  // the control that edits it
    std::function<void(HWND)> edit;
    const char* result;
  };
  const Case cases[] = {
      {"a line", "EMAIL", "EDIT", "old@site.test", IDC_NV_EDIT,
       [](HWND d) { SetText(d, IDC_NV_EDIT, "new@site.test"); }, "new@site.test"},
      {"several lines", "LONGDESC", "MULTIEDIT", "one", IDC_NV_MULTIEDIT,
       [](HWND d) { SetText(d, IDC_NV_MULTIEDIT, "one\r\ntwo"); }, "one\r\ntwo"},
      {"yes preselected and kept", "ISTASMANIA", "YESNO", "1", IDC_NV_YES,
       [](HWND d) { EXPECT_EQ(::IsDlgButtonChecked(d, IDC_NV_YES), BST_CHECKED); }, "1"},
      {"not a number is no", "ISTASMANIA", "YESNO", "maybe", IDC_NV_NO,
       [](HWND d) { EXPECT_EQ(::IsDlgButtonChecked(d, IDC_NV_NO), BST_CHECKED); }, "0"},
      {"yes chosen", "ISTASMANIA", "YESNO", "0", IDC_NV_YES,
       [](HWND d) { ::CheckRadioButton(d, IDC_NV_NO, IDC_NV_YES, IDC_NV_YES); }, "1"},
      {"a pick list from the categories data", "SITE_TYPE", "PICK", "", IDC_NV_LIST,
       [](HWND d) { ::SendDlgItemMessageA(d, IDC_NV_LIST, CB_SETCURSEL, 1, 0); }, nullptr},
      {"a value the list lacks stays while nothing is chosen", "SITE_TYPE", "PICK", "Blog ring",
       IDC_NV_LIST, [](HWND) {}, "Blog ring"},
      // Without a list for its key a pick field is edited as a line, and that line is its
      // value (an empty list text would have wiped what the user typed).
      {"a pick field without a list", "JAYDE_CATEGORY", "PICK", "Arts", IDC_NV_EDIT,
       [](HWND d) { SetText(d, IDC_NV_EDIT, "Travel"); }, "Travel"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    CModifyNV dlg;
    dlg.m_pDoc = doc.get();
    dlg.m_strKey = c.key;
    dlg.m_strKind = c.kind;
    dlg.m_strValue = c.value;
    dlg.m_strLabel = "Label";
    std::string secondEntry;
    bool translateShown = true;
    INT_PTR result = Drive([&] { return dlg.DoModal(); },
                           {OnDialog(IDC_NV_EDIT,
                                     [&](HWND d) {
                                       for (int id : {IDC_NV_EDIT, IDC_NV_MULTIEDIT, IDC_NV_LIST, IDC_NV_NO})
                                         EXPECT_EQ(Visible(d, id), id == c.editor ||
                                                                       (c.editor == IDC_NV_YES && id == IDC_NV_NO))
                                             << id;
                                       translateShown = Visible(d, IDC_NV_TRANSLATE);
                                       char text[256] = {};
                                       ::SendDlgItemMessageA(d, IDC_NV_LIST, CB_GETLBTEXT, 1,
                                                             reinterpret_cast<LPARAM>(text));
                                       secondEntry = text;
                                       c.edit(d);
                                       Click(d, IDOK);
                                     })});
    EXPECT_EQ(result, IDOK);
    EXPECT_FALSE(translateShown);
    if (c.result) {
      EXPECT_STREQ(dlg.m_strValue, c.result);
    } else {
      EXPECT_FALSE(secondEntry.empty());
      EXPECT_EQ(std::string(dlg.m_strValue), secondEntry);
    }
  }
}

// A description in another language translates through the service; an unknown phrase comes
// back as it was; Cancel during the request stops it and leaves the dialog and the text as
// they were.
TEST_F(FieldEditorsTest, TranslatesThroughTheService) {
  zbtest::AddFakeTranslator(fake);
  zbtest::HttpResponse stalled = zbtest::HttpResponse::Text("<html></html>");
  stalled.stallAfter = 0;
  fake.Route("/stalled/", stalled);
  struct Case {
    const char* why;
    std::string service;
    const char* text;
    const char* shown;
    bool cancel;
  };
  const Case cases[] = {
      {"a known phrase", zbtest::FakeTranslatorAddress(fake), "hello", "bonjour", false},
      {"an unknown phrase", zbtest::FakeTranslatorAddress(fake), "bicycle repairs",
       "bicycle repairs", false},
      {"cancelled while the service holds the request", fake.Url("/stalled"), "hello", "hello", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    CModifyNV::SetTranslationService(c.service.c_str());
    CModifyNV dlg;
    dlg.m_pDoc = doc.get();
    dlg.m_strKey = "SHORTDESC_FR";
    dlg.m_strKind = "MULTIEDIT";
    dlg.m_strValue = c.text;
    bool busyOkEnabled = true, stillOpen = false;
    std::string shown;
    std::vector<Step> steps = {
        // Pressed synchronously, so the busy state is seen before the worker can report.
        OnDialog(IDC_NV_TRANSLATE, [&](HWND d) {
          EXPECT_TRUE(Visible(d, IDC_NV_TRANSLATE));
          EXPECT_TRUE(Enabled(d, IDC_NV_TRANSLATE));
          ::SendMessageA(d, WM_COMMAND, MAKEWPARAM(IDC_NV_TRANSLATE, BN_CLICKED),
                         reinterpret_cast<LPARAM>(::GetDlgItem(d, IDC_NV_TRANSLATE)));
          busyOkEnabled = Enabled(d, IDOK) || Enabled(d, IDC_NV_MULTIEDIT);
          EXPECT_TRUE(Visible(d, IDC_NV_ANIMATION));
        })};
    if (c.cancel) {
      steps.push_back([&] { return fake.Requests().size() > 0 && CModifyNV::IsTranslating(); });
      steps.push_back(Press(IDC_NV_TRANSLATE, IDCANCEL));
    }
    steps.push_back([] { return !CModifyNV::IsTranslating(); });
    steps.push_back(OnDialog(IDC_NV_TRANSLATE, [&](HWND d) {
      if (!Enabled(d, IDOK)) return;
      stillOpen = true;
      shown = Text(d, IDC_NV_MULTIEDIT);
      EXPECT_FALSE(Visible(d, IDC_NV_ANIMATION));
      EXPECT_TRUE(Enabled(d, IDC_NV_MULTIEDIT));
      Click(d, IDCANCEL);
    }));
    EXPECT_EQ(Drive([&] { return dlg.DoModal(); }, steps), IDCANCEL);
    EXPECT_FALSE(busyOkEnabled) << "OK and the text stay closed while the service works";
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(shown, c.shown);
    EXPECT_STREQ(dlg.m_strValue, c.text) << "Cancel keeps the value";
    fake.ClearRecords();
  }
}

class CategoryTreeTest : public FieldEditorsTest {
 protected:
  void SetUp() override {
    FieldEditorsTest::SetUp();
    doc->m_profile.SetAt("EMAIL", "owner@site.test");
    CModifyCategory::SetStopPollInterval(10);
  }
  void TearDown() override {
    EXPECT_EQ(CategoryNode::LiveCount(), 0) << "every node goes with its dialog";
    CModifyCategory::SetStopPollInterval(250);
    FieldEditorsTest::TearDown();
  }
  std::string Cat(const std::string& path) const { return fake.Base() + "/dir/cat/" + path; }
  int RequestsFor(const std::string& path) const {
    int count = 0;
    for (const zbtest::HttpRequest& r : fake.RequestsTo("dir"))
      count += r.target.find("/dir/cat/" + path) != std::string::npos &&
               r.target.find("/dir/cat/" + path) + 9 + path.size() == r.target.size();
    return count;
  }
  static HWND TreeOf(HWND d) { return ::GetDlgItem(d, IDC_CATEGORY_TREE); }
  static HTREEITEM Item(HWND d, std::vector<const char*> path) {
    HTREEITEM item = nullptr;
    for (const char* name : path) {
      item = FindTreeItem(TreeOf(d), item, name);
      if (!item) return nullptr;
    }
    return item;
  }
  static void Select(HWND d, HTREEITEM item) {
    ::SendMessageA(TreeOf(d), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
  }
  // Selects the item once it is in the tree.
  static Step SelectWhenThere(std::vector<const char*> path) {
    return [path] {
      HWND d = DialogWith(IDC_CATEGORY_TREE);
      HTREEITEM item = d ? Item(d, path) : nullptr;
      if (!item) return false;
      Select(d, item);
      return true;
    };
  }
  static Step Settled() { return [] { return CModifyCategory::RunningWorkers() == 0; }; }
};

// The top level comes with the dialog; each level below when its item is chosen; OK gives the
// whole path, top level first.
TEST_F(CategoryTreeTest, AThirdLevelCategoryGivesThreeLines) {
  CModifyCategory dlg(doc.get(), doc->m_profile);
  dlg.m_strGroup = "Yahoo";
  dlg.m_strKey = "YAHOO_CATEGORY";
  std::string top;
  bool okAtStart = true, okOnJazz = false;
  INT_PTR result = Drive(
      [&] { return dlg.DoModal(); },
      {OnDialog(IDC_CATEGORY_TREE,
                [&](HWND d) {
                  // Only the roots: the tree may select (and so open) the first by itself.
                  for (const char* name : {"Arts", "Business & Economy", "Computers & Internet",
                                           "Recreation & Sports"})
                    if (Item(d, {name})) top += std::string(name) + ";";
                  top += std::to_string(::SendMessageA(TreeOf(d), TVM_GETCOUNT, 0, 0) >= 4);
                  okAtStart = Enabled(d, IDOK);
                }),
       SelectWhenThere({"Arts"}), SelectWhenThere({"Arts", "Music"}),
       SelectWhenThere({"Arts", "Music", "Jazz"}), Settled(),
       OnDialog(IDC_CATEGORY_TREE, [&](HWND d) {
         okOnJazz = Enabled(d, IDOK);
         Click(d, IDOK);
       })});
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(top, "Arts;Business & Economy;Computers & Internet;Recreation & Sports;1");
  EXPECT_FALSE(okAtStart) << "a top-level category cannot be chosen";
  EXPECT_TRUE(okOnJazz);
  EXPECT_EQ(std::string(dlg.m_strValue),
            Cat("arts/") + "\n" + Cat("arts/music/") + "\n" + Cat("arts/music/jazz/"));
}

// Selecting a category again, however quickly, fetches its children once; a level that did not
// come back is fetched again on the next selection.
TEST_F(CategoryTreeTest, ALevelIsFetchedOnceAndAgainAfterAFailure) {
  CModifyCategory dlg(doc.get(), doc->m_profile);
  dlg.m_strGroup = "Yahoo";
  std::string outline;
  int failedRequests = 0;
  Drive([&] { return dlg.DoModal(); },
        {OnDialog(IDC_CATEGORY_TREE,
                  [&](HWND d) {
                    for (int round = 0; round < 3; ++round) {
                      Select(d, Item(d, {"Arts"}));
                      Select(d, Item(d, {"Business & Economy"}));
                    }
                  }),
         Settled(),
         OnDialog(IDC_CATEGORY_TREE,
                  [&](HWND d) {
                    outline = TreeOutline(TreeOf(d));
                    // The directory stops answering: the level stays empty and unloaded.
                    fake.Route("/dir/cat/recreation/", zbtest::HttpResponse::Text("gone", "text/html", 500));
                    Select(d, Item(d, {"Recreation & Sports"}));
                  }),
         Settled(),
         OnDialog(IDC_CATEGORY_TREE,
                  [&](HWND d) {
                    failedRequests = RequestsFor("recreation/");
                    Select(d, Item(d, {"Arts"}));
                  }),
         Settled(),
         OnDialog(IDC_CATEGORY_TREE, [&](HWND d) {
           Select(d, Item(d, {"Recreation & Sports"}));
         }),
         Settled(), Press(IDC_CATEGORY_TREE, IDCANCEL)});
  EXPECT_EQ(RequestsFor("arts/"), 1);
  EXPECT_EQ(RequestsFor("business/"), 1);
  EXPECT_EQ(outline,
            "Arts[Music,Painting];Business & Economy[Companies,Jobs];Computers & Internet[];"
            "Recreation & Sports[]");
  EXPECT_EQ(failedRequests, 1);
  EXPECT_EQ(RequestsFor("recreation/"), 2);
}

// Closing while the directory holds a request stops the worker before the dialog's data goes.
TEST_F(CategoryTreeTest, ClosingStopsTheWorkers) {
  zbtest::HttpResponse stalled = zbtest::HttpResponse::Text("<html></html>");
  stalled.stallAfter = 0;
  fake.Route("/dir/cat/arts/", stalled);
  CModifyCategory dlg(doc.get(), doc->m_profile);
  dlg.m_strGroup = "Yahoo";
  DWORD started = 0;
  EXPECT_EQ(Drive([&] { return dlg.DoModal(); },
                  {SelectWhenThere({"Arts"}), [&] { return RequestsFor("arts/") == 1; },
                   [&] {
                     started = ::GetTickCount();
                     return true;
                   },
                   Press(IDC_CATEGORY_TREE, IDCANCEL)}),
            IDCANCEL);
  EXPECT_EQ(CModifyCategory::RunningWorkers(), 0);
  EXPECT_LT(::GetTickCount() - started, 5000u);
}

// The list names the fields by their labels; filling them in on the sheet takes them off, and
// the dialog ends by itself with OK once none is left. A cancelled sheet changes nothing.
TEST_F(FieldEditorsTest, MissingFieldsLeaveTheListAsTheyAreFilledIn) {
  CNVList missing;
  for (const char* key : {"EMAIL", "NO_SUCH_FIELD", "TITLE"}) missing.SetAt(key, key);
  static std::vector<std::pair<const char*, const char*>> s_fill;
  static INT_PTR s_answer;
  CMissingInfo::SetSheetRunner([](CZubrinDoc* d, CWnd*) {
    for (const auto& entry : s_fill) d->m_profile.SetAt(entry.first, entry.second);
    return s_answer;
  });
  std::vector<std::vector<std::string>> lists;
  auto look = OnDialog(IDC_MISSING_LIST, [&](HWND d) { lists.push_back(ListItems(::GetDlgItem(d, IDC_MISSING_LIST))); });
  auto fill = [&](std::vector<std::pair<const char*, const char*>> values, INT_PTR answer) {
    return OnDialog(IDC_MISSING_LIST, [values, answer](HWND d) {
      s_fill = values;
      s_answer = answer;
      Click(d, IDC_MISSING_FILL);
    });
  };
  CMissingInfo dlg(doc.get(), missing);
  INT_PTR result = Drive([&] { return dlg.DoModal(); },
                         {look, fill({{"EMAIL", "owner@site.test"}}, IDCANCEL), look,
                          fill({{"EMAIL", "owner@site.test"}}, IDOK), look,
                          fill({{"TITLE", ""}}, IDOK), look,
                          fill({{"TITLE", "Springfield Bikes"}}, IDOK)});
  EXPECT_EQ(result, IDOK);
  ASSERT_EQ(lists.size(), 4u);
  const std::vector<std::string> both = {"E-mail address", "Site title"};
  const std::vector<std::string> title = {"Site title"};
  EXPECT_EQ(lists[0], both);
  EXPECT_EQ(lists[1], both) << "a cancelled sheet takes nothing off";
  EXPECT_EQ(lists[2], title);
  EXPECT_EQ(lists[3], title) << "an empty value is still missing";
}

// Before a submission with empty fields the user gets the list, with the sheet behind it on its
// fields page without Apply; cancelling keeps the submission from starting.
TEST_F(FieldEditorsTest, ASubmissionWithEmptyFieldsShowsTheList) {
  EnableOnly({"Alpha Search"});
  CNVList missing;
  missing.SetAt("EMAIL", "EMAIL");
  CMainRunViews views;
  std::vector<std::string> listed;
  bool applyShown = true, onFields = false;
  std::vector<std::string> afterCancel;
  bool started = true;
  Drive(
      [&] {
        started = views.ShowMissingInfo(missing);
        return started ? IDOK : IDCANCEL;
      },
      {OnDialog(IDC_MISSING_LIST,
                [&](HWND d) {
                  listed = ListItems(::GetDlgItem(d, IDC_MISSING_LIST));
                  Click(d, IDC_MISSING_FILL);
                }),
       OnDialog(IDOK,
                [&](HWND sheet) {
                  HWND apply = ::GetDlgItem(sheet, 0x3021);
                  applyShown = apply && ::IsWindowVisible(apply);
                  onFields = ::GetDlgItem(CurrentPage(sheet), IDC_FIELDS_TREE) != nullptr;
                  ::PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
                }),
       OnDialog(IDC_MISSING_LIST,
                [&](HWND d) {
                  afterCancel = ListItems(::GetDlgItem(d, IDC_MISSING_LIST));
                  Click(d, IDCANCEL);
                })});
  EXPECT_FALSE(started);
  EXPECT_EQ(listed, std::vector<std::string>{"E-mail address"});
  EXPECT_FALSE(applyShown);
  EXPECT_TRUE(onFields);
  EXPECT_EQ(afterCancel, listed);
}

// Children a worker posted that the window never took (it closed first) go with the window.
TEST_F(CategoryTreeTest, ChildrenPostedToAClosingWindowAreFreed) {
  CModifyCategory dlg(doc.get(), doc->m_profile);
  dlg.m_strGroup = "Yahoo";
  bool finished = false;
  Drive([&] { return dlg.DoModal(); },
        {Settled(), OnDialog(IDC_CATEGORY_TREE, [&](HWND d) {
           Select(d, Item(d, {"Business & Economy"}));
           // The worker ends while this thread takes no messages: its children wait in the queue.
           for (int i = 0; i < 500 && CModifyCategory::RunningWorkers() > 0; ++i) ::Sleep(10);
           finished = CModifyCategory::RunningWorkers() == 0;
           ::SendMessageA(d, WM_COMMAND, IDCANCEL, 0);
         })});
  EXPECT_TRUE(finished);
  EXPECT_EQ(RequestsFor("business/"), 1);
}
