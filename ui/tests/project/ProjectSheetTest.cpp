// The project's properties sheet driven as the user drives it: what each page shows, how its
// values reach the document, when the document counts as changed, and the rules of the site
// addresses, the imported values and the report folder.
#include <gtest/gtest.h>

#include <commctrl.h>

#include <string>

#include "app/services/AppServices.h"
#include "app/document/ZubrinDoc.h"
#include "engines/db/ProfileFields.h"
#include "resources/resource.h"
#include "ui/dialogs/ImportProperties.h"
#include "ui/dialogs/fields/ModifyNV.h"
#include "ui/sheets/project/ZubSheet.h"
#include "ui/tests/project/ProjectDriver.h"
#include "ui/tests/project/ProjectFixture.h"

namespace {

using namespace projtest;

const int kApplyButton = 0x3021;

std::string Value(const CNVList& list, const char* key) { return list.GetValue(key).c_str(); }

// Opens the sheet on the document, runs the steps (the first ones find the sheet by then).
INT_PTR RunSheet(CZubrinDoc* doc, int page, bool withApply, const std::vector<Step>& steps) {
  return Drive(
      [&] {
        CZubSheet sheet(static_cast<UINT>(page), nullptr, doc);
        if (!withApply) sheet.HideApply();
        return sheet.DoModal();
      },
      steps);
}

Step PressSheet(int button) {
  return [button] {
    HWND sheet = DialogWith(kApplyButton);
    if (!sheet) return false;
    ::PostMessageA(sheet, PSM_PRESSBUTTON, button, 0);
    return true;
  };
}

// A step on the sheet's current page, once the sheet shows.
Step OnPage(std::function<void(HWND page)> act) {
  return [act] {
    HWND sheet = DialogWith(kApplyButton);
    HWND page = sheet ? CurrentPage(sheet) : nullptr;
    if (!page) return false;
    act(page);
    return true;
  };
}

void Check(HWND page, int id, bool on) {
  ::CheckDlgButton(page, id, on ? BST_CHECKED : BST_UNCHECKED);
  ::SendMessageA(page, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(page, id)));
}

}  // namespace

TEST(ProjectSheetRules, SiteAddressesAreStoredOneALineEachWithOnePrefix) {
  struct Case {
    const char* why;
    const char* typed;
    const char* stored;
  };
  const Case cases[] = {
      {"one prefix kept, the other kind replaced", "http://www.a.example http:\\\\www.b.example",
       "http://www.a.example\r\nhttp://www.b.example"},
      {"no prefix gets one", "www.c.example", "http://www.c.example"},
      {"line breaks and runs of blanks separate", "  www.a.example\r\n\r\nhttp://www.b.example  \n",
       "http://www.a.example\r\nhttp://www.b.example"},
      {"only the first prefix of a word goes", "http://http://www.d.example",
       "http://http://www.d.example"},
      {"nothing stays nothing", "  \r\n ", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    EXPECT_STREQ(CZubSubmitInfo::NormaliseSiteUrls(c.typed), c.stored);
  }
}

TEST(ProjectSheetRules, AnImportFillsTitleKeywordsAndEveryDescription) {
  struct Case {
    const char* keywords;
    const char* spaced;
  };
  // Keywords written with a comma and a blank keep their blanks; written with commas alone
  // they run together where the commas were.
  const Case cases[] = {
      {"bikes, boards, rentals", "bikes boards rentals"},
      {"bikes,boards,rentals", "bikesboardsrentals"},
      {"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keywords);
    CNVList profile;
    profile.SetAt("EMAIL", "owner@site.test");
    CZubSubmitInfo::TakeImport(profile, "Bikes & Boards", "Repairs since 1982", c.keywords);
    EXPECT_EQ(Value(profile, "TITLE"), "Bikes & Boards");
    EXPECT_EQ(Value(profile, "KEYWORDS_COMMA"), c.keywords);
    EXPECT_EQ(Value(profile, "KEYWORDS_SPACE"), c.spaced);
    EXPECT_EQ(Value(profile, "EMAIL"), "owner@site.test");
    for (const char* key : {"ONELINEDESC", "SHORTDESC", "LONGDESC"})
      for (const char* suffix : {"", "_BR", "_DE", "_FR", "_IT", "_NL", "_SE", "_MX"})
        EXPECT_EQ(Value(profile, (std::string(key) + suffix).c_str()), "Repairs since 1982")
            << key << suffix;
  }
}

class ProjectSheetTest : public ProjectFixture {};

// Engine fields show while their engine takes part; general fields while an enabled engine's
// submission uses them; each group holds its fields in the order of their keys.
TEST_F(ProjectSheetTest, TheFieldTreeShowsWhatTheEnabledEnginesNeed) {
  struct Case {
    std::vector<const char*> enabled;
    const char* outline;
  };
  const Case cases[] = {
      {{}, ""},
      {{"Alpha Search"}, "Common[E-mail address,Site address]"},
      {{"Biwe"},
       "Biwe[Biwe location,Biwe password];"
       "Common[E-mail address,One-line description,Phone,Site title,Site address]"},
      {{"Tasmania Online"}, "Common[E-mail address,Site type,Site address];Tasmania Online[Tasmanian site]"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.outline);
    EnableOnly(c.enabled);
    std::string outline;
    RunSheet(doc.get(), CZubSheet::kFields, true,
             {OnPage([&](HWND page) { outline = TreeOutline(::GetDlgItem(page, IDC_FIELDS_TREE)); }),
              PressSheet(PSBTN_CANCEL)});
    EXPECT_EQ(outline, c.outline);
  }
}

// Each page's values reach the document with OK and mark it changed.
TEST_F(ProjectSheetTest, EachPagesValuesReachTheDocument) {
  EnableOnly({"Alpha Search"});
  struct Case {
    const char* why;
    int page;
    std::vector<Step> edits;
    std::function<void()> verify;
  };
  CZubrinDoc* d = doc.get();
  std::string folderPath = folder.Path();
  const Case cases[] = {
      {"the rules", CZubSheet::kRules,
       {OnPage([](HWND page) {
         Check(page, IDC_RULES_AUTO, true);
         ::CheckRadioButton(page, IDC_RULES_WHEN_RANK, IDC_RULES_WHEN_PAGE, IDC_RULES_WHEN_PAGE);
         Check(page, IDC_RULES_WHEN_PAGE, true);
         SetText(page, IDC_RULES_PAGENO, "3");
         ::SendDlgItemMessageA(page, IDC_RULES_LIMIT, CB_SETCURSEL, 1, 0);
       })},
       [d] {
         EXPECT_EQ(d->m_submitAuto, 1);
         EXPECT_EQ(d->m_submitWhen, 1);
         EXPECT_EQ(d->m_submitPageNo, 3);
         EXPECT_EQ(d->m_limitTo, 1);
       }},
      {"the mail", CZubSheet::kMail,
       {OnPage([](HWND page) {
         SetText(page, IDC_MAIL_TO, "boss@site.test");
         SetText(page, IDC_MAIL_CC, "team@site.test");
         SetText(page, IDC_MAIL_FROM, "ranks@site.test");
         SetText(page, IDC_MAIL_SUBJECT, "This month");
         SetText(page, IDC_MAIL_BODY, "Line one\r\nLine two");
       })},
       [d] {
         EXPECT_STREQ(d->m_reportTo, "boss@site.test");
         EXPECT_STREQ(d->m_emailCc, "team@site.test");
         EXPECT_STREQ(d->m_emailFrom, "ranks@site.test");
         EXPECT_STREQ(d->m_emailSubject, "This month");
         EXPECT_STREQ(d->m_emailBody, "Line one\r\nLine two");
       }},
      {"the folder, its last backslash dropped", CZubSheet::kOutput,
       {OnPage([folderPath](HWND page) { SetText(page, IDC_OUTPUT_FOLDER, folderPath.c_str()); })},
       [d, folderPath] {
         EXPECT_EQ(std::string(d->m_reportsDir), folderPath.substr(0, folderPath.size() - 1));
       }},
      {"a site field through its editor", CZubSheet::kFields,
       {OnPage([](HWND page) {
          HWND tree = ::GetDlgItem(page, IDC_FIELDS_TREE);
          HTREEITEM common = FindTreeItem(tree, nullptr, "Common");
          ::SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET,
                         reinterpret_cast<LPARAM>(FindTreeItem(tree, common, "Site address")));
          Click(page, IDC_FIELDS_EDIT);
        }),
        [] {
          HWND editor = DialogWith(IDC_NV_MULTIEDIT);
          if (!editor) return false;
          SetText(editor, IDC_NV_MULTIEDIT, "www.a.example http:\\\\www.b.example");
          Click(editor, IDOK);
          return true;
        },
        [] { return DialogWith(kApplyButton) != nullptr; }},
       [d] {
         EXPECT_EQ(Value(d->m_profile, "URL_WITH_PREFIX"),
                   "http://www.a.example\r\nhttp://www.b.example");
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    doc->SetModifiedFlag(FALSE);
    std::vector<Step> steps = c.edits;
    steps.push_back(PressSheet(PSBTN_OK));
    EXPECT_EQ(RunSheet(doc.get(), c.page, false, steps), IDOK);
    c.verify();
    EXPECT_TRUE(doc->IsModified()) << "a change that is not marked is lost on close";
  }
}

// OK over every page without a change leaves the document unchanged; Cancel after changes on
// every page leaves the document as it was.
TEST_F(ProjectSheetTest, NoChangeMarksNothingAndCancelDiscards) {
  EnableOnly({"Alpha Search"});
  doc->m_reportsDir = "";
  doc->m_profile.SetAt("EMAIL", "owner@site.test");
  auto visitAll = [](std::function<void(HWND)> act) {
    std::vector<Step> steps;
    for (int page = 0; page < 4; ++page)
      steps.push_back([page, act] {
        HWND sheet = DialogWith(kApplyButton);
        if (!sheet) return false;
        ::SendMessageA(sheet, PSM_SETCURSEL, page, 0);
        act(CurrentPage(sheet));
        return true;
      });
    return steps;
  };
  for (bool withApply : {true, false}) {
    SCOPED_TRACE(withApply ? "with Apply" : "without Apply");
    doc->SetModifiedFlag(FALSE);
    std::vector<Step> steps = visitAll([](HWND) {});
    steps.push_back(PressSheet(PSBTN_OK));
    EXPECT_EQ(RunSheet(doc.get(), 0, withApply, steps), IDOK);
    EXPECT_FALSE(doc->IsModified());
  }

  std::vector<Step> steps = visitAll([](HWND page) {
    for (int id : {IDC_MAIL_TO, IDC_OUTPUT_FOLDER, IDC_RULES_RANKING})
      if (::GetDlgItem(page, id)) SetText(page, id, "77");
    if (::GetDlgItem(page, IDC_RULES_AUTO)) Check(page, IDC_RULES_AUTO, true);
  });
  // The output page is left without a folder check: the steps end on it.
  steps.push_back(PressSheet(PSBTN_CANCEL));
  EXPECT_EQ(RunSheet(doc.get(), 0, true, steps), IDCANCEL);
  EXPECT_FALSE(doc->IsModified());
  EXPECT_STREQ(doc->m_reportTo, "");
  EXPECT_EQ(doc->m_submitAuto, 0);
  EXPECT_EQ(doc->m_submitRanking, 10);
  EXPECT_STREQ(doc->m_reportsDir, "");
}

// Apply hands the changes over at once; a second Apply with nothing new changes nothing.
TEST_F(ProjectSheetTest, ApplyHandsOverOnce) {
  bool modifiedAfterApply = false, modifiedAfterSecond = true;
  RunSheet(doc.get(), CZubSheet::kMail, true,
           {OnPage([](HWND page) { SetText(page, IDC_MAIL_TO, "boss@site.test"); }),
            PressSheet(PSBTN_APPLYNOW),
            [&] {
              modifiedAfterApply = doc->IsModified();
              doc->SetModifiedFlag(FALSE);
              return true;
            },
            PressSheet(PSBTN_APPLYNOW),
            [&] {
              modifiedAfterSecond = doc->IsModified();
              return true;
            },
            PressSheet(PSBTN_CANCEL)});
  EXPECT_TRUE(modifiedAfterApply);
  EXPECT_FALSE(modifiedAfterSecond);
  EXPECT_STREQ(doc->m_reportTo, "boss@site.test");
}

// While automatic submission is off nothing of it can be set; on, the rank and page rules
// follow the choice between them, and submitting to every unlisted engine leaves them out.
TEST_F(ProjectSheetTest, TheRulesEnableWhatApplies) {
  struct Case {
    int autoOn, notListed, when;
    bool notListedBox, radios, ranking, pageNo, limit;
  };
  const Case cases[] = {
      {0, 0, 0, false, false, false, false, false},
      {0, 1, 1, false, false, false, false, false},
      {1, 0, 0, true, true, true, false, true},
      {1, 0, 1, true, true, false, true, true},
      {1, 1, 0, true, false, false, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.autoOn << c.notListed << c.when);
    doc->m_submitAuto = c.autoOn;
    doc->m_submitNotListed = c.notListed;
    doc->m_submitWhen = c.when;
    RunSheet(doc.get(), CZubSheet::kRules, true,
             {OnPage([&](HWND page) {
                EXPECT_EQ(Enabled(page, IDC_RULES_NOTLISTED), c.notListedBox);
                EXPECT_EQ(Enabled(page, IDC_RULES_WHEN_RANK), c.radios);
                EXPECT_EQ(Enabled(page, IDC_RULES_WHEN_PAGE), c.radios);
                EXPECT_EQ(Enabled(page, IDC_RULES_RANKING), c.ranking);
                EXPECT_EQ(Enabled(page, IDC_RULES_PAGENO), c.pageNo);
                EXPECT_EQ(Enabled(page, IDC_RULES_LIMIT), c.limit);
              }),
              PressSheet(PSBTN_CANCEL)});
  }
}

TEST_F(ProjectSheetTest, WithoutARecipientTheOtherMailFieldsAreClosed) {
  std::vector<std::pair<bool, bool>> seen;
  auto look = [&](HWND page) {
    seen.push_back({Enabled(page, IDC_MAIL_CC), Enabled(page, IDC_MAIL_BODY)});
  };
  RunSheet(doc.get(), CZubSheet::kMail, true,
           {OnPage(look), OnPage([](HWND page) { SetText(page, IDC_MAIL_TO, "boss@site.test"); }),
            OnPage(look), OnPage([](HWND page) { SetText(page, IDC_MAIL_TO, ""); }), OnPage(look),
            PressSheet(PSBTN_CANCEL)});
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[0], std::make_pair(false, false));
  EXPECT_EQ(seen[1], std::make_pair(true, true));
  EXPECT_EQ(seen[2], std::make_pair(false, false));
}

// A missing report folder is offered for creation; No keeps the user on the page.
TEST_F(ProjectSheetTest, AMissingFolderIsOfferedForCreation) {
  const std::string missing = folder.File("reports\\march");
  struct Case {
    int answer;
    INT_PTR result;
    bool created;
  };
  for (const Case& c : {Case{IDNO, IDCANCEL, false}, Case{IDYES, IDOK, true}}) {
    SCOPED_TRACE(c.answer == IDYES ? "yes" : "no");
    AnswerBoxes(c.answer);
    s_boxes.clear();
    bool stayed = false;
    std::vector<Step> steps = {
        OnPage([&](HWND page) { SetText(page, IDC_OUTPUT_FOLDER, (missing + "\\").c_str()); }),
        PressSheet(PSBTN_OK)};
    // Kept on the page, the user gives up.
    if (!c.created)
      steps.push_back([&] {
        HWND sheet = DialogWith(kApplyButton);
        if (!sheet || s_boxes.empty()) return false;
        stayed = ::GetDlgItem(CurrentPage(sheet), IDC_OUTPUT_FOLDER) != nullptr;
        ::PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
        return true;
      });
    INT_PTR result = RunSheet(doc.get(), CZubSheet::kOutput, true, steps);
    EXPECT_EQ(result, c.result);
    ASSERT_EQ(s_boxes.size(), 1u);
    EXPECT_EQ(s_boxes[0], std::string(LoadResString(IDS_PROJECT_CREATE_FOLDER)));
    EXPECT_EQ(stayed, !c.created);
    EXPECT_EQ(::GetFileAttributesA(missing.c_str()) != INVALID_FILE_ATTRIBUTES, c.created);
    EXPECT_EQ(std::string(doc->m_reportsDir), c.created ? missing : "");
  }
  ::RemoveDirectoryA(missing.c_str());
  ::RemoveDirectoryA(folder.File("reports").c_str());
}

// The sheet opens where it was left; its caption names the project.
TEST_F(ProjectSheetTest, ItOpensOnThePageShownLast) {
  RunSheet(doc.get(), CZubSheet::kMail, true, {PressSheet(PSBTN_CANCEL)});
  EXPECT_EQ(LastProjectPage, CZubSheet::kMail);
  bool onMail = false;
  std::string caption;
  Drive(
      [&] {
        CZubSheet sheet(nullptr, doc.get());
        return sheet.DoModal();
      },
      {OnPage([&](HWND page) {
         onMail = ::GetDlgItem(page, IDC_MAIL_TO) != nullptr;
         char text[256] = {};
         ::GetWindowTextA(::GetParent(page), text, sizeof text);
         caption = text;
       }),
       PressSheet(PSBTN_CANCEL)});
  EXPECT_TRUE(onMail);
  EXPECT_NE(caption.find("Springfield Bikes"), std::string::npos) << caption;
}

// Every field the page can show has its label and its description in the language module.
TEST_F(ProjectSheetTest, EveryFieldHasItsTexts) {
  for (const SiteProfileField* row = GetProfileFieldNames(); row->key; ++row) {
    SCOPED_TRACE(row->key);
    EXPECT_FALSE(LoadResString(row->labelId).IsEmpty());
    EXPECT_FALSE(LoadResString(row->helpId).IsEmpty());
  }
}

// A field's tip is its value; a category's only its last line (the category itself).
TEST_F(ProjectSheetTest, AFieldsTipIsItsValue) {
  EnableOnly({"Yahoo", "Alpha Search"});
  doc->m_profile.SetAt("EMAIL", "owner@site.test");
  doc->m_profile.SetAt("YAHOO_CATEGORY", "http://dir.example/arts/\nhttp://dir.example/arts/music/");
  struct Case {
    const char* group;
    const char* label;
    const char* tip;
  };
  const Case cases[] = {
      {"Common", "E-mail address", "owner@site.test"},
      {"Yahoo", "Yahoo category", "http://dir.example/arts/music/"},
      {"Common", "Site address", ""},
      {"Yahoo", nullptr, ""},  // a group has none
  };
  std::vector<std::string> tips;
  RunSheet(doc.get(), CZubSheet::kFields, true,
           {OnPage([&](HWND page) {
              HWND tree = ::GetDlgItem(page, IDC_FIELDS_TREE);
              for (const Case& c : cases) {
                HTREEITEM item = FindTreeItem(tree, nullptr, c.group);
                if (c.label) item = FindTreeItem(tree, item, c.label);
                char text[256] = "stale";
                NMTVGETINFOTIPA tip = {};
                tip.hdr.hwndFrom = tree;
                tip.hdr.idFrom = IDC_FIELDS_TREE;
                tip.hdr.code = TVN_GETINFOTIPA;
                tip.pszText = text;
                tip.cchTextMax = sizeof text;
                tip.hItem = item;
                ::SendMessageA(page, WM_NOTIFY, IDC_FIELDS_TREE, reinterpret_cast<LPARAM>(&tip));
                tips.push_back(item ? text : "no item");
              }
            }),
            PressSheet(PSBTN_CANCEL)});
  ASSERT_EQ(tips.size(), std::size(cases));
  for (size_t i = 0; i < tips.size(); ++i) EXPECT_EQ(tips[i], cases[i].tip) << i;
}

// The import reads the site's page and fills the fields in; the tree shows them filled. An
// editor that ends with Cancel changes nothing.
TEST_F(ProjectSheetTest, AnImportFillsTheFieldsAndACancelledEditorNothing) {
  EnableOnly({"Biwe"});
  fake.Route("/site/", zbtest::HttpResponse::Text(
                           "<html><head><title>Bikes &amp; Boards</title>\n"
                           "<meta name=\"description\" content=\"Repairs since 1982\">\n"
                           "<meta name=\"keywords\" content=\"bikes, boards\">\n</head></html>"));
  doc->m_siteUrl = fake.Url("/site/").c_str();
  doc->m_profile.SetAt("PHONE", "555-0100");
  int titleImageBefore = -1, titleImageAfter = -1;
  auto imageOf = [](HWND page, const char* label) {
    HWND tree = ::GetDlgItem(page, IDC_FIELDS_TREE);
    TVITEMA item = {};
    item.mask = TVIF_IMAGE;
    item.hItem = FindTreeItem(tree, FindTreeItem(tree, nullptr, "Common"), label);
    ::SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return item.hItem ? item.iImage : -1;
  };
  INT_PTR result = RunSheet(
      doc.get(), CZubSheet::kFields, true,
      {OnPage([&](HWND page) {
         HWND tree = ::GetDlgItem(page, IDC_FIELDS_TREE);
         ::SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET,
                        reinterpret_cast<LPARAM>(FindTreeItem(tree, FindTreeItem(tree, nullptr, "Common"), "Phone")));
         Click(page, IDC_FIELDS_EDIT);
       }),
       [] {
         HWND editor = DialogWith(IDC_NV_EDIT);
         if (!editor) return false;
         SetText(editor, IDC_NV_EDIT, "555-0199");
         Click(editor, IDCANCEL);
         return true;
       },
       OnPage([&](HWND page) {
         titleImageBefore = imageOf(page, "Site title");
         Click(page, IDC_FIELDS_IMPORT);
       }),
       [] {
         HWND import = DialogWith(IDC_IMPORT_START);
         if (!import) return false;
         Click(import, IDC_IMPORT_START);
         return true;
       },
       OnPage([&](HWND page) { titleImageAfter = imageOf(page, "Site title"); }),
       PressSheet(PSBTN_OK)});
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(Value(doc->m_profile, "PHONE"), "555-0100");
  EXPECT_EQ(Value(doc->m_profile, "TITLE"), "Bikes & Boards");
  EXPECT_EQ(Value(doc->m_profile, "KEYWORDS_COMMA"), "bikes, boards");
  EXPECT_EQ(Value(doc->m_profile, "KEYWORDS_SPACE"), "bikes boards");
  EXPECT_EQ(Value(doc->m_profile, "ONELINEDESC"), "Repairs since 1982");
  EXPECT_EQ(Value(doc->m_profile, "LONGDESC_MX"), "Repairs since 1982");
  EXPECT_TRUE(doc->IsModified());
  // The fixture's icons: 1 for an empty field, 2 for a filled one.
  EXPECT_EQ(titleImageBefore, 1);
  EXPECT_EQ(titleImageAfter, 2);
}

// The output folder carries a "..." button at its right end, next in the tab order, that opens
// the shell's folder browser; a cancelled browser leaves the folder as it was.
TEST_F(ProjectSheetTest, TheOutputFolderHasAButtonThatAsksForAFolder) {
  std::string buttonText, after = "?";
  RECT edit = {}, button = {};
  bool browserOpened = false;
  RunSheet(doc.get(), CZubSheet::kOutput, true,
           {OnPage([&](HWND page) {
              SetText(page, IDC_OUTPUT_FOLDER, "C:\\");
              HWND field = ::GetDlgItem(page, IDC_OUTPUT_FOLDER);
              HWND next = ::GetWindow(field, GW_HWNDNEXT);
              char text[16] = {};
              ::GetWindowTextA(next, text, sizeof text);
              buttonText = text;
              ::GetWindowRect(field, &edit);
              ::GetWindowRect(next, &button);
              Click(page, ::GetDlgCtrlID(next));
            }),
            [&] {
              HWND browser = ActiveDialog();
              if (!browser || ::GetDlgItem(browser, kApplyButton)) return false;
              browserOpened = true;
              ::PostMessageA(browser, WM_COMMAND, IDCANCEL, 0);
              return true;
            },
            OnPage([&](HWND page) { after = Text(page, IDC_OUTPUT_FOLDER); }),
            PressSheet(PSBTN_CANCEL)});
  EXPECT_EQ(buttonText, "...");
  EXPECT_EQ(button.top, edit.top);
  EXPECT_GE(button.left, edit.right) << "right of the field";
  EXPECT_TRUE(browserOpened);
  EXPECT_EQ(after, "C:\\");
}
