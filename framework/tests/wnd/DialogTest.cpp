// Dialogs driven from the test: a modal dialog with data exchange and validation, the keys
// going through the modal loop's PreTranslateMessage, idle work in the loop, a modeless dialog
// that deletes itself, a modal dialog on a worker thread, and a property sheet's pages.
#include <gtest/gtest.h>

#include <functional>

#include "framework/app/MessageBox.h"
#include "framework/threads/WinThread.h"
#include "framework/dialogs/DataExchange.h"
#include "framework/dialogs/Dialog.h"
#include "framework/dialogs/FileDialog.h"
#include "framework/dialogs/PropertySheet.h"
#include "framework/tests/wnd/TestDialogIds.h"
#include "framework/tests/wnd/WndTestSupport.h"

namespace {


std::vector<std::string> g_boxes;
int RecordBox(LPCSTR text, UINT) {
  g_boxes.push_back(text);
  return IDOK;
}

// A dialog whose steps run one at a time whenever its modal loop is idle: each step may change
// the controls and post what the user would do next.
class CFormDialog : public CDialog {
 public:
  CFormDialog() : CDialog(IDD_TEST_FORM) {}
  std::vector<std::function<void(CFormDialog&)>> steps;
  int number = 5;
  CString name = "start";
  int check = 1;
  int radio = 2;
  int combo = 1;
  HWND ownerAtInit = nullptr;
  int kicks = 0;
  CallLog log;

  void DoDataExchange(CDataExchange* pDX) override {
    DDX_Text(pDX, IDC_TEST_NUMBER, number);
    DDV_MinMaxInt(pDX, number, 1, 99);
    DDX_Text(pDX, IDC_TEST_NAME, name);
    DDV_MaxChars(pDX, name, 8);
    DDX_Check(pDX, IDC_TEST_CHECK, check);
    DDX_Radio(pDX, IDC_TEST_RADIO1, radio);
    DDX_CBIndex(pDX, IDC_TEST_COMBO, combo);
  }
  BOOL OnInitDialog() override {
    for (const char* s : {"red", "green", "blue"}) {
      SendDlgItemMessage(IDC_TEST_COMBO, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
    }
    ownerAtInit = ::GetWindow(m_hWnd, GW_OWNER);
    return CDialog::OnInitDialog();
  }
  void SetText(int id, LPCSTR text) { SetDlgItemText(id, text); }
  void PressOK() { PostMessage(WM_COMMAND, IDOK); }
  // The last edit that was given the focus. Another program's window on the
  // same display may take the activation (and so GetFocus) away at any time;
  // the edit's own notice that it got the focus cannot be taken back.
  int lastFocusedEdit = 0;

 protected:
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
    if (HIWORD(wParam) == EN_SETFOCUS) lastFocusedEdit = LOWORD(wParam);
    return CDialog::OnCommand(wParam, lParam);
  }
  LRESULT OnKickIdle(WPARAM, LPARAM) {
    ++kicks;
    if (m_next < steps.size()) steps[m_next++](*this);
    return m_next < steps.size();
  }
  size_t m_next = 0;
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CFormDialog, CDialog)
  ON_MESSAGE(WM_KICKIDLE, OnKickIdle)
END_MESSAGE_MAP()

class DialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_boxes.clear();
    AfxSetMessageBoxHandler(RecordBox);
  }
  void TearDown() override { AfxSetMessageBoxHandler(nullptr); }
};

TEST_F(DialogTest, ModalDialogLoadsAndSavesItsFields) {
  CFormDialog dlg;
  CString seen;
  dlg.steps = {[&](CFormDialog& d) {
                 d.GetDlgItemText(IDC_TEST_NAME, seen);  // loaded from the member
                 d.SetText(IDC_TEST_NUMBER, " 42 ");
                 d.SetText(IDC_TEST_NAME, "changed");
                 d.CheckDlgButton(IDC_TEST_CHECK, BST_UNCHECKED);
                 d.CheckRadioButton(IDC_TEST_RADIO1, IDC_TEST_RADIO3, IDC_TEST_RADIO1);
                 d.SendDlgItemMessage(IDC_TEST_COMBO, CB_SETCURSEL, 2);
               },
               [](CFormDialog& d) { d.PressOK(); }};
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_STREQ(seen, "start");
  EXPECT_EQ(dlg.number, 42);
  EXPECT_STREQ(dlg.name, "changed");
  EXPECT_EQ(dlg.check, 0);
  EXPECT_EQ(dlg.radio, 0);
  EXPECT_EQ(dlg.combo, 2);
  EXPECT_GT(dlg.kicks, 0) << "the modal loop does idle work";
  EXPECT_EQ(dlg.m_hWnd, nullptr);
  EXPECT_TRUE(g_boxes.empty());
}

TEST_F(DialogTest, LoadingFillsTheControlsAndSavingReadsThemBack) {
  CFormDialog dlg;
  ASSERT_TRUE(dlg.Create(IDD_TEST_FORM));  // modeless: OnInitDialog loads the members
  CString text;
  dlg.GetDlgItemText(IDC_TEST_NUMBER, text);
  EXPECT_STREQ(text, "5");
  EXPECT_EQ(dlg.IsDlgButtonChecked(IDC_TEST_CHECK), 1u);
  EXPECT_EQ(dlg.IsDlgButtonChecked(IDC_TEST_RADIO3), 1u);
  EXPECT_EQ(dlg.SendDlgItemMessage(IDC_TEST_COMBO, CB_GETCURSEL), 1);
  struct Case {
    const char* number;
    int radioChecked;  // 0: none
    BOOL ok;
    int radio;
  };
  const Case cases[] = {
      {"12", 0, TRUE, -1},            // no button of the group checked
      {"-0", IDC_TEST_RADIO2, FALSE, -1},  // 0 is outside 1..99
      {"2147483648", IDC_TEST_RADIO1, FALSE, -1},  // does not fit an int
      {"99", IDC_TEST_RADIO1, TRUE, 0},
  };
  for (const Case& c : cases) {
    g_boxes.clear();
    dlg.radio = -5;
    dlg.SetText(IDC_TEST_NUMBER, c.number);
    dlg.CheckRadioButton(IDC_TEST_RADIO1, IDC_TEST_RADIO3, c.radioChecked);
    EXPECT_EQ(dlg.UpdateData(TRUE), c.ok) << c.number;
    EXPECT_EQ(g_boxes.size(), c.ok ? 0u : 1u) << c.number;
    if (c.ok) {
      EXPECT_EQ(dlg.radio, c.radio) << c.number;
    }
  }
  dlg.DestroyWindow();
}

TEST_F(DialogTest, AFailedCheckKeepsTheDialogOpenWithTheFieldFocused) {
  struct Case {
    int field;
    const char* bad;
    const char* good;
    const char* prompt;
  };
  const Case cases[] = {
      {IDC_TEST_NUMBER, "100", "99", "Please enter an integer between 1 and 99."},
      {IDC_TEST_NUMBER, "12x", "1", "Please enter an integer."},
      {IDC_TEST_NUMBER, "", "7", "Please enter an integer."},
      {IDC_TEST_NAME, "ninechars", "eight ch", "Please enter no more than 8 characters."},
  };
  for (const Case& c : cases) {
    g_boxes.clear();
    CFormDialog dlg;
    int focusAfterFail = 0;
    bool stillOpen = false;
    dlg.steps = {[&](CFormDialog& d) {
                   d.SetText(c.field, c.bad);
                   // Move the focus off the field so that putting it back shows.
                   ::SetFocus(::GetDlgItem(d.m_hWnd, IDC_TEST_CHECK));
                   d.lastFocusedEdit = 0;
                   d.PressOK();
                 },
                 [&](CFormDialog& d) {
                   stillOpen = ::IsWindowVisible(d.m_hWnd) != 0;
                   focusAfterFail = d.lastFocusedEdit;
                   d.SetText(c.field, c.good);
                   d.PressOK();
                 }};
    EXPECT_EQ(dlg.DoModal(), IDOK) << c.bad;
    EXPECT_TRUE(stillOpen) << c.bad;
    EXPECT_EQ(focusAfterFail, c.field) << c.bad;
    ASSERT_EQ(g_boxes.size(), 1u) << c.bad;
    EXPECT_EQ(g_boxes[0], c.prompt);
  }
}

TEST_F(DialogTest, EscapeGoesThroughTheLoopsPreTranslateMessageAndCancels) {
  CFormDialog dlg;
  dlg.steps = {[](CFormDialog& d) {
    d.SetText(IDC_TEST_NUMBER, "77");
    HWND edit = ::GetDlgItem(d.m_hWnd, IDC_TEST_NUMBER);
    ::SetFocus(edit);
    ::PostMessageA(edit, WM_KEYDOWN, VK_ESCAPE, 1);
  }};
  EXPECT_EQ(dlg.DoModal(), IDCANCEL);
  EXPECT_EQ(dlg.number, 5) << "Cancel keeps the members";
}

TEST_F(DialogTest, AModalDialogDisablesItsOwnerWhileItRuns) {
  CWnd owner;
  ASSERT_TRUE(CreateTestWindow(owner));
  owner.ShowWindow(SW_SHOW);
  CFormDialog dlg;
  dlg.m_pParentWnd = &owner;
  bool ownerEnabled = true;
  dlg.steps = {[&](CFormDialog& d) {
    ownerEnabled = owner.IsWindowEnabled() != 0;
    d.PressOK();
  }};
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_EQ(dlg.ownerAtInit, owner.m_hWnd);
  EXPECT_FALSE(ownerEnabled);
  EXPECT_TRUE(owner.IsWindowEnabled());
}

UINT ModalOnWorker(LPVOID param) {
  auto* result = static_cast<std::pair<INT_PTR, HWND>*>(param);
  CFormDialog dlg;
  dlg.steps = {[](CFormDialog& d) {
    d.SetText(IDC_TEST_NUMBER, "3");
    d.PressOK();
  }};
  result->first = dlg.DoModal();
  result->second = dlg.ownerAtInit;
  return dlg.number;
}

TEST_F(DialogTest, AModalDialogOnAWorkerThreadHasNoOwner) {
  // The main thread has a main window; the worker's dialog must not be owned by it.
  CWnd mainWnd;
  ASSERT_TRUE(CreateTestWindow(mainWnd));
  CWinThread mainThread;
  mainThread.m_pMainWnd = &mainWnd;
  AfxSetThread(&mainThread);
  std::pair<INT_PTR, HWND> result{-5, reinterpret_cast<HWND>(1)};
  CWinThread* worker = AfxBeginThread(ModalOnWorker, &result, THREAD_PRIORITY_NORMAL, 0,
                                      CREATE_SUSPENDED);
  ASSERT_NE(worker, nullptr);
  worker->m_bAutoDelete = FALSE;
  worker->ResumeThread();
  // The main thread keeps its own queue going meanwhile.
  while (::MsgWaitForMultipleObjects(1, &worker->m_hThread, FALSE, 10000, QS_ALLINPUT) ==
         WAIT_OBJECT_0 + 1) {
    PumpPending();
  }
  DWORD code = 0;
  ::GetExitCodeThread(worker->m_hThread, &code);
  delete worker;
  AfxSetThread(nullptr);
  mainThread.m_pMainWnd = nullptr;
  EXPECT_EQ(result.first, IDOK);
  EXPECT_EQ(result.second, nullptr);
  EXPECT_EQ(code, 3u);
}

class CModeless : public CDialog {
 public:
  explicit CModeless(bool* deleted) : m_deleted(deleted) {}
  ~CModeless() override { *m_deleted = true; }

 protected:
  void OnCancel() override { DestroyWindow(); }
  void PostNcDestroy() override { delete this; }
  bool* m_deleted;
};

TEST_F(DialogTest, AModelessDialogLivesBesideTheCallerAndDeletesItselfOnCancel) {
  bool deleted = false;
  auto* dlg = new CModeless(&deleted);
  ASSERT_TRUE(dlg->Create(IDD_TEST_FORM));
  HWND h = dlg->m_hWnd;
  EXPECT_TRUE(::IsWindow(h));
  ::SendMessageA(h, WM_COMMAND, IDCANCEL, 0);
  EXPECT_TRUE(deleted);
  EXPECT_FALSE(::IsWindow(h));
}

TEST_F(DialogTest, AMissingTemplateFailsWithoutAWindow) {
  CDialog dlg(9999);
  EXPECT_EQ(dlg.DoModal(), -1);
  EXPECT_FALSE(dlg.Create(9999));
}

// --- property sheets ---

class CLoggingPage : public CPropertyPage {
 public:
  CLoggingPage(UINT id, const char* name, CallLog* log) : CPropertyPage(id), m_name(name), m_log(log) {}
  BOOL refuseLeave = FALSE;

  BOOL OnSetActive() override {
    m_log->Add(std::string("active-") + m_name);
    return CPropertyPage::OnSetActive();
  }
  BOOL OnKillActive() override {
    m_log->Add(std::string("leave-") + m_name);
    return !refuseLeave && CPropertyPage::OnKillActive();
  }
  BOOL OnApply() override {
    m_log->Add(std::string("apply-") + m_name);
    return CPropertyPage::OnApply();
  }
  void OnReset() override { m_log->Add(std::string("reset-") + m_name); }

 protected:
  const char* m_name;
  CallLog* m_log;
};

// A sheet whose steps run one at a time whenever its modal loop is idle.
class CScriptedSheet : public CPropertySheet {
 public:
  CScriptedSheet(LPCSTR caption, UINT startPage) : CPropertySheet(caption, nullptr, startPage) {}
  std::vector<std::function<void()>> steps;

 protected:
  LRESULT OnKickIdle(WPARAM, LPARAM) {
    if (m_next < steps.size()) steps[m_next++]();
    return m_next < steps.size();
  }
  DECLARE_MESSAGE_MAP()
  size_t m_next = 0;
};

BEGIN_MESSAGE_MAP(CScriptedSheet, CPropertySheet)
  ON_MESSAGE(WM_KICKIDLE, OnKickIdle)
END_MESSAGE_MAP()

TEST_F(DialogTest, APropertySheetSwitchesPagesAppliesAndEndsWithOK) {
  CallLog log;
  CLoggingPage first(IDD_TEST_PAGE1, "first", &log);
  CLoggingPage second(IDD_TEST_PAGE2, "second", &log);
  CScriptedSheet sheet("Sheet", 0);
  sheet.AddPage(&first);
  sheet.AddPage(&second);
  int activeAfterSwitch = -1;
  int activeAfterRefusal = -1;
  sheet.steps = {[&] {
                   first.SetModified();
                   sheet.SetActivePage(1);
                   activeAfterSwitch = sheet.GetActiveIndex();
                 },
                 [&] {
                   second.refuseLeave = TRUE;
                   sheet.SetActivePage(0);  // the second page keeps the focus
                   activeAfterRefusal = sheet.GetActiveIndex();
                   second.refuseLeave = FALSE;
                 },
                 [&] {
                   log.Add("press-ok");
                   sheet.PressButton(PSBTN_OK);
                 }};
  EXPECT_EQ(sheet.DoModal(), IDOK);
  EXPECT_EQ(activeAfterSwitch, 1);
  EXPECT_EQ(activeAfterRefusal, 1);
  EXPECT_EQ(log.Joined(),
            "active-first,leave-first,active-second,leave-second,press-ok,leave-second,"
            "apply-first,apply-second");
  EXPECT_EQ(sheet.m_hWnd, nullptr);
}

TEST_F(DialogTest, APropertySheetStartsOnTheChosenPageAndCancels) {
  CallLog log;
  CLoggingPage first(IDD_TEST_PAGE1, "first", &log);
  CLoggingPage second(IDD_TEST_PAGE2, "second", &log);
  CScriptedSheet sheet("Sheet", 1);
  sheet.m_psh.dwFlags |= PSH_NOAPPLYNOW;
  sheet.SetTitle("Site", PSH_PROPTITLE);
  sheet.AddPage(&first);
  sheet.AddPage(&second);
  bool applyShown = true;
  CString caption;
  sheet.steps = {[&] {
    sheet.GetWindowText(caption);
    applyShown = ::IsWindowVisible(::GetDlgItem(sheet.m_hWnd, 0x3021)) != 0;  // Apply button
    sheet.PressButton(PSBTN_CANCEL);
  }};
  EXPECT_EQ(sheet.DoModal(), IDCANCEL);
  EXPECT_FALSE(applyShown);
  EXPECT_NE(caption.Find("Site"), -1);
  EXPECT_STRNE(caption, "Site") << "the system's properties wording around the title";
  EXPECT_EQ(log.Joined(), "active-second,reset-second");
}

}  // namespace

namespace {

VOID CALLBACK CancelFileBox(HWND, UINT, UINT_PTR id, DWORD) {
  HWND box = ::FindWindowA(nullptr, "FileDialogTest");
  if (!box) return;
  ::KillTimer(nullptr, id);
  ::PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
}

TEST(FileDialog, ARecordSizeMadeFor32BitsStillOpensTheBox) {
  struct Case {
    int adjust;  // what a caller did to the record's size
    DWORD expected;
  };
  const Case cases[] = {{0, sizeof(OPENFILENAMEA)},
                        {12, sizeof(OPENFILENAMEA)},  // "the newer layout is 12 bytes more"
                        {static_cast<int>(OPENFILENAME_SIZE_VERSION_400A) -
                             static_cast<int>(sizeof(OPENFILENAMEA)),
                         OPENFILENAME_SIZE_VERSION_400A}};
  for (const Case& c : cases) {
    CFileDialog dlg(TRUE, "txt", nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST,
                    "Text files (*.txt)|*.txt|All files (*.*)|*.*||");
    dlg.m_ofn.lStructSize += c.adjust;
    dlg.m_ofn.lpstrTitle = "FileDialogTest";
    UINT_PTR timer = ::SetTimer(nullptr, 0, 100, CancelFileBox);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    ::KillTimer(nullptr, timer);
    EXPECT_EQ(::CommDlgExtendedError(), 0u) << "cancelled by the user, not refused";
    EXPECT_EQ(dlg.m_ofn.lStructSize, c.expected);
  }
}

TEST(FileDialog, PathPartsAndTheFilter) {
  CFileDialog dlg(FALSE, "csv", "C:\\reports\\ranks.2024.csv", 0, "CSV (*.csv)|*.csv||");
  EXPECT_STREQ(dlg.GetPathName(), "C:\\reports\\ranks.2024.csv");
  EXPECT_STREQ(dlg.GetFileName(), "ranks.2024.csv");
  EXPECT_STREQ(dlg.GetFileExt(), "csv");
  EXPECT_STREQ(dlg.GetFileTitle(), "ranks.2024");
  EXPECT_STREQ(dlg.GetFolderPath(), "C:\\reports");
  const char expected[] = "CSV (*.csv)\0*.csv\0";
  EXPECT_EQ(memcmp(dlg.m_ofn.lpstrFilter, expected, sizeof expected), 0);
}

}  // namespace
