// Message maps: dispatch and base chaining, creation messages, commands and their update route,
// reflection to child objects, subclassing with Default, PreTranslateMessage order, and windows
// that delete themselves or get messages while they are destroyed.
#include <gtest/gtest.h>

#include <memory>

#include "framework/threads/WinThread.h"
#include "framework/tests/wnd/WndTestSupport.h"

namespace {

const UINT kAppPing = WM_APP + 1;
const UINT kAppBaseOnly = WM_APP + 2;
const UINT kCmdBase = 100;
const UINT kCmdDerived = 101;
const UINT kCmdRangeFirst = 200;
const UINT kCmdRangeLast = 209;
UINT g_registered = ::RegisterWindowMessageA("ZbFwTestRegistered");

class CBaseWnd : public CWnd {
 public:
  CallLog log;

 protected:
  int OnCreate(LPCREATESTRUCT cs) {
    log.Add(std::string("base-create:") + (cs->lpszName ? cs->lpszName : ""));
    return CWnd::OnCreate(cs);
  }
  BOOL OnNcCreate(LPCREATESTRUCT cs) {
    log.Add("base-nccreate");
    return CWnd::OnNcCreate(cs);
  }
  LRESULT OnPing(WPARAM w, LPARAM) {
    log.Add("base-ping:" + std::to_string(w));
    return 10;
  }
  LRESULT OnBaseOnly(WPARAM, LPARAM) {
    log.Add("base-only");
    return 11;
  }
  LRESULT OnRegistered(WPARAM, LPARAM) {
    log.Add("registered");
    return 12;
  }
  void OnCmdBase() { log.Add("cmd-base"); }
  void OnSize(UINT type, int cx, int cy) {
    log.Add("size:" + std::to_string(type) + ":" + std::to_string(cx) + "x" + std::to_string(cy));
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBaseWnd, CWnd)
  ON_WM_NCCREATE()
  ON_WM_CREATE()
  ON_WM_SIZE()
  ON_MESSAGE(kAppPing, OnPing)
  ON_MESSAGE(kAppBaseOnly, OnBaseOnly)
  ON_REGISTERED_MESSAGE(g_registered, OnRegistered)
  ON_COMMAND(kCmdBase, OnCmdBase)
END_MESSAGE_MAP()

class CDerivedWnd : public CBaseWnd {
 protected:
  LRESULT OnPingDerived(WPARAM w, LPARAM) {
    log.Add("derived-ping:" + std::to_string(w));
    return 20;
  }
  void OnCmdDerived() { log.Add("cmd-derived"); }
  void OnCmdRange(UINT id) { log.Add("range:" + std::to_string(id)); }
  BOOL OnCmdEx(UINT id) {
    log.Add("ex:" + std::to_string(id));
    return FALSE;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDerivedWnd, CBaseWnd)
  ON_MESSAGE(kAppPing, OnPingDerived)
  ON_COMMAND(kCmdDerived, OnCmdDerived)
  ON_COMMAND_EX(kCmdRangeFirst + 5, OnCmdEx)
  ON_COMMAND_RANGE(kCmdRangeFirst, kCmdRangeLast, OnCmdRange)
END_MESSAGE_MAP()

TEST(MessageMap, CreationMessagesReachTheObjectFromTheFirstOne) {
  CBaseWnd wnd;
  ASSERT_TRUE(CreateTestWindow(wnd, "first"));
  ASSERT_GE(wnd.log.calls.size(), 2u);
  EXPECT_EQ(wnd.log.calls[0], "base-nccreate");
  EXPECT_EQ(wnd.log.calls[1], "base-create:first");
  EXPECT_EQ(CWnd::FromHandlePermanent(wnd.m_hWnd), &wnd);
  wnd.DestroyWindow();
  EXPECT_EQ(wnd.m_hWnd, nullptr);
}

TEST(MessageMap, DerivedEntriesWinAndBaseEntriesChain) {
  CDerivedWnd wnd;
  ASSERT_TRUE(CreateTestWindow(wnd));
  struct Case {
    UINT message;
    WPARAM wParam;
    LRESULT result;
    const char* call;
  };
  const Case cases[] = {
      {kAppPing, 7, 20, "derived-ping:7"},  // the derived map overrides the base's entry
      {kAppBaseOnly, 0, 11, "base-only"},   // found in the base map
      {g_registered, 0, 12, "registered"},  // registered message by its variable
      {WM_APP + 50, 0, 0, ""},              // nobody: the original procedure
      {WM_COMMAND, kCmdBase, 1, "cmd-base"},
      {WM_COMMAND, kCmdDerived, 1, "cmd-derived"},
      {WM_COMMAND, kCmdRangeFirst, 1, "range:200"},
      {WM_COMMAND, kCmdRangeLast, 1, "range:209"},
      {WM_COMMAND, kCmdRangeFirst + 5, 0, "ex:205"},  // declined: not handled here
      {WM_COMMAND, kCmdRangeLast + 1, 0, ""},
  };
  for (const Case& c : cases) {
    wnd.log.calls.clear();
    LRESULT r = wnd.SendMessage(c.message, c.wParam, 0);
    EXPECT_EQ(r, c.result) << "message " << c.message << " " << c.wParam;
    EXPECT_EQ(wnd.log.Joined(), c.call) << "message " << c.message << " " << c.wParam;
  }
  wnd.log.calls.clear();
  wnd.SetWindowPos(nullptr, 0, 0, 150, 120, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_NE(wnd.log.Joined().find("size:0:"), std::string::npos) << wnd.log.Joined();
}

}  // namespace

namespace {

// --- commands and their update route ---

const UINT kBtnHandled = 301;
const UINT kBtnNoHandler = 302;
const UINT kBtnUpdateOff = 303;
const UINT kBtnUpdateCheck = 304;
const UINT kBtnUpdateSilent = 305;
const UINT kChkNoHandler = 306;

class CCommandWnd : public CWnd {
 public:
  CallLog log;
  BOOL allowHandled = TRUE;

 protected:
  void OnHandled() { log.Add("handled"); }
  void OnUpdateHandled(CCmdUI* ui) { ui->Enable(allowHandled); }
  void OnUpdateOff(CCmdUI* ui) { ui->Enable(FALSE); }
  void OnUpdateCheck(CCmdUI* ui) {
    ui->Enable(TRUE);
    ui->SetCheck(1);
    ui->SetText("checked");
  }
  void OnUpdateSilent(CCmdUI*) {}  // says nothing: the item goes by its command handler
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CCommandWnd, CWnd)
  ON_COMMAND(kBtnHandled, OnHandled)
  ON_UPDATE_COMMAND_UI(kBtnHandled, OnUpdateHandled)
  ON_UPDATE_COMMAND_UI(kBtnUpdateOff, OnUpdateOff)
  ON_UPDATE_COMMAND_UI(kBtnUpdateCheck, OnUpdateCheck)
  ON_UPDATE_COMMAND_UI(kBtnUpdateSilent, OnUpdateSilent)
END_MESSAGE_MAP()

HWND AddChild(CWnd& parent, LPCSTR cls, DWORD style, UINT id) {
  return ::CreateWindowExA(0, cls, "", WS_CHILD | WS_VISIBLE | style, 0, 0, 50, 20,
                           parent.m_hWnd, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                           nullptr, nullptr);
}

TEST(CommandRouting, ControlsAreEnabledByTheirHandlersAndDisabledWithout) {
  CCommandWnd wnd;
  ASSERT_TRUE(CreateTestWindow(wnd));
  struct Case {
    UINT id;
    DWORD style;
    BOOL enabled;
    int check;
    const char* text;
  };
  const Case cases[] = {
      {kBtnHandled, BS_PUSHBUTTON, TRUE, 0, ""},               // a command handler
      {kBtnNoHandler, BS_PUSHBUTTON, FALSE, 0, ""},            // nobody handles it
      {kBtnUpdateOff, BS_PUSHBUTTON, FALSE, 0, ""},            // the update handler says no
      {kBtnUpdateCheck, BS_CHECKBOX, TRUE, 1, "checked"},      // enabled, checked, relabelled
      {kBtnUpdateSilent, BS_PUSHBUTTON, FALSE, 0, ""},         // silent update, no command
      {kChkNoHandler, BS_AUTOCHECKBOX, TRUE, 0, ""},           // works by itself
  };
  for (const Case& c : cases) AddChild(wnd, "BUTTON", c.style, c.id);
  wnd.UpdateDialogControls(&wnd, TRUE);
  for (const Case& c : cases) {
    HWND h = ::GetDlgItem(wnd.m_hWnd, c.id);
    EXPECT_EQ(::IsWindowEnabled(h) != 0, c.enabled != 0) << c.id;
    EXPECT_EQ(::SendMessageA(h, BM_GETCHECK, 0, 0), c.check) << c.id;
    char text[32] = "";
    ::GetWindowTextA(h, text, sizeof text);
    EXPECT_STREQ(text, c.text) << c.id;
  }
  // Without bDisableIfNoHndler nothing is disabled for lack of a handler.
  ::EnableWindow(::GetDlgItem(wnd.m_hWnd, kBtnNoHandler), TRUE);
  wnd.UpdateDialogControls(&wnd, FALSE);
  EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(wnd.m_hWnd, kBtnNoHandler)));
}

TEST(CommandRouting, AMenuCommandTheUpdateHandlerDisablesIsNotRun) {
  CCommandWnd wnd;
  ASSERT_TRUE(CreateTestWindow(wnd));
  wnd.SendMessage(WM_COMMAND, MAKEWPARAM(kBtnHandled, 0), 0);
  wnd.allowHandled = FALSE;
  wnd.SendMessage(WM_COMMAND, MAKEWPARAM(kBtnHandled, 0), 0);  // menu
  wnd.SendMessage(WM_COMMAND, MAKEWPARAM(kBtnHandled, 1), 0);  // accelerator
  EXPECT_EQ(wnd.log.Joined(), "handled");
}

TEST(CommandRouting, HandlerLookupWithoutCalling) {
  CCommandWnd wnd;
  AFX_CMDHANDLERINFO info = {nullptr};
  EXPECT_TRUE(wnd.OnCmdMsg(kBtnHandled, CN_COMMAND, nullptr, &info));
  EXPECT_EQ(info.pTarget, &wnd);
  EXPECT_TRUE(wnd.log.calls.empty());
  EXPECT_FALSE(wnd.OnCmdMsg(kBtnNoHandler, CN_COMMAND, nullptr, &info));
}

// --- reflection ---

const UINT kChildId = 401;
const UINT kCodeCustom = 0x77;

class CReflectingChild : public CWnd {
 public:
  CallLog* log = nullptr;
  BOOL passClicks = FALSE;

 protected:
  BOOL OnClicked() {
    log->Add("child-clicked");
    return !passClicks;  // FALSE lets the parent see it too
  }
  void OnCustomNotify(NMHDR* hdr, LRESULT* result) {
    log->Add("child-notify:" + std::to_string(hdr->idFrom));
    *result = 42;
  }
  HBRUSH CtlColor(CDC*, UINT nCtlColor) {
    log->Add("child-color:" + std::to_string(nCtlColor));
    return static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH));
  }
  void DrawItem(LPDRAWITEMSTRUCT dis) { log->Add("child-draw:" + std::to_string(dis->itemID)); }
  void HScroll(UINT code, UINT pos) {
    log->Add("child-scroll:" + std::to_string(code) + ":" + std::to_string(pos));
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CReflectingChild, CWnd)
  ON_CONTROL_REFLECT_EX(BN_CLICKED, OnClicked)
  ON_NOTIFY_REFLECT(kCodeCustom, OnCustomNotify)
  ON_WM_CTLCOLOR_REFLECT()
  ON_WM_DRAWITEM_REFLECT()
  ON_WM_HSCROLL_REFLECT()
END_MESSAGE_MAP()

class CReflectingParent : public CWnd {
 public:
  CallLog log;

 protected:
  void OnChildClicked() { log.Add("parent-clicked"); }
  void OnChildNotify2(NMHDR*, LRESULT* result) {
    log.Add("parent-notify");
    *result = 7;
  }
  void OnOtherNotify(NMHDR*, LRESULT* result) {
    log.Add("parent-other-notify");
    *result = 8;
  }
  HBRUSH OnCtlColor(CDC*, CWnd* pWnd, UINT nCtlColor) {
    log.Add("parent-color:" + std::to_string(nCtlColor) + ":" + std::to_string(pWnd->GetDlgCtrlID()));
    return static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CReflectingParent, CWnd)
  ON_BN_CLICKED(kChildId, OnChildClicked)
  ON_NOTIFY(kCodeCustom, kChildId, OnChildNotify2)
  ON_NOTIFY(kCodeCustom + 1, kChildId, OnOtherNotify)
  ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

TEST(Reflection, ChildObjectsHandleTheirParentsNotificationsFirst) {
  CReflectingParent parent;
  ASSERT_TRUE(CreateTestWindow(parent));
  CReflectingChild child;
  child.log = &parent.log;
  ASSERT_TRUE(child.SubclassWindow(AddChild(parent, "BUTTON", BS_OWNERDRAW, kChildId)));
  HWND hChild = child.m_hWnd;

  // WM_COMMAND: the _EX handler decides whether the parent sees it too.
  parent.SendMessage(WM_COMMAND, MAKEWPARAM(kChildId, BN_CLICKED), reinterpret_cast<LPARAM>(hChild));
  child.passClicks = TRUE;
  parent.SendMessage(WM_COMMAND, MAKEWPARAM(kChildId, BN_CLICKED), reinterpret_cast<LPARAM>(hChild));
  EXPECT_EQ(parent.log.Joined(), "child-clicked,child-clicked,parent-clicked");

  // WM_NOTIFY: the child's reflected handler wins and sets the result; a code it does not
  // handle reaches the parent.
  struct Case {
    UINT code;
    LRESULT result;
    const char* log;
  };
  const Case cases[] = {{kCodeCustom, 42, "child-notify:401"},
                        {kCodeCustom + 1, 8, "parent-other-notify"}};
  for (const Case& c : cases) {
    parent.log.calls.clear();
    NMHDR hdr = {hChild, kChildId, c.code};
    EXPECT_EQ(parent.SendMessage(WM_NOTIFY, kChildId, reinterpret_cast<LPARAM>(&hdr)), c.result);
    EXPECT_EQ(parent.log.Joined(), c.log);
  }

  // Colours and owner drawing go to the child as well.
  parent.log.calls.clear();
  HDC dc = ::GetDC(hChild);
  LRESULT brush = parent.SendMessage(WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc),
                                     reinterpret_cast<LPARAM>(hChild));
  ::ReleaseDC(hChild, dc);
  EXPECT_EQ(reinterpret_cast<HBRUSH>(brush), ::GetStockObject(BLACK_BRUSH));
  DRAWITEMSTRUCT dis = {};
  dis.CtlType = ODT_BUTTON;
  dis.CtlID = kChildId;
  dis.itemID = 5;
  dis.hwndItem = hChild;
  EXPECT_EQ(parent.SendMessage(WM_DRAWITEM, kChildId, reinterpret_cast<LPARAM>(&dis)), TRUE);
  parent.SendMessage(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 17), reinterpret_cast<LPARAM>(hChild));
  EXPECT_EQ(parent.log.Joined(), "child-color:" + std::to_string(CTLCOLOR_BTN) +
                                     ",child-draw:5,child-scroll:4:17");

  // A control without an object leaves its colours to the parent's own handler.
  parent.log.calls.clear();
  HWND hLabel = AddChild(parent, "STATIC", 0, 402);
  dc = ::GetDC(hLabel);
  brush = parent.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                             reinterpret_cast<LPARAM>(hLabel));
  ::ReleaseDC(hLabel, dc);
  EXPECT_EQ(reinterpret_cast<HBRUSH>(brush), ::GetStockObject(WHITE_BRUSH));
  EXPECT_EQ(parent.log.Joined(), "parent-color:" + std::to_string(CTLCOLOR_STATIC) + ":402");
}

// --- subclassing and Default ---

class CUpperEdit : public CWnd {
 public:
  int setTextCalls = 0;

 protected:
  // Changes the text on its way to the control's own procedure.
  LRESULT OnSetText(WPARAM, LPARAM lParam) {
    ++setTextCalls;
    std::string text(reinterpret_cast<LPCSTR>(lParam));
    for (char& ch : text) ch = static_cast<char>(toupper(static_cast<unsigned char>(ch)));
    return DefWindowProc(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
  LRESULT OnGetTextLength(WPARAM, LPARAM) { return Default() + 100; }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CUpperEdit, CWnd)
  ON_MESSAGE(WM_SETTEXT, OnSetText)
  ON_MESSAGE(WM_GETTEXTLENGTH, OnGetTextLength)
END_MESSAGE_MAP()

TEST(Subclassing, HandlersReachTheControlsOwnProcedureAndUnsubclassRestoresIt) {
  CWnd parent;
  ASSERT_TRUE(CreateTestWindow(parent));
  HWND hEdit = AddChild(parent, "EDIT", ES_AUTOHSCROLL, 501);
  WNDPROC original = reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(hEdit, GWLP_WNDPROC));
  CUpperEdit edit;
  ASSERT_TRUE(edit.SubclassDlgItem(501, &parent));
  EXPECT_FALSE(CUpperEdit().SubclassWindow(hEdit)) << "a window has one object at a time";

  ::SetWindowTextA(hEdit, "mixed Case");
  char text[64] = "";
  ::GetWindowTextA(hEdit, text, sizeof text);
  EXPECT_STREQ(text, "MIXED CASE");
  EXPECT_EQ(::GetWindowTextLengthA(hEdit), 110);

  EXPECT_EQ(edit.UnsubclassWindow(), hEdit);
  EXPECT_EQ(reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(hEdit, GWLP_WNDPROC)), original);
  EXPECT_EQ(CWnd::FromHandlePermanent(hEdit), nullptr);
  ::SetWindowTextA(hEdit, "plain");
  ::GetWindowTextA(hEdit, text, sizeof text);
  EXPECT_STREQ(text, "plain");
  EXPECT_EQ(edit.setTextCalls, 1);
}

class CPreparedWnd : public CWnd {
 public:
  std::vector<HWND> prepared;
  void PreSubclassWindow() override { prepared.push_back(m_hWnd); }
};

TEST(Subclassing, PreSubclassWindowSeesTheWindowHoweverItWasAttached) {
  CPreparedWnd created;
  ASSERT_TRUE(CreateTestWindow(created));
  HWND hEdit = AddChild(created, "EDIT", 0, 502);
  CPreparedWnd subclassed;
  ASSERT_TRUE(subclassed.SubclassWindow(hEdit));
  ASSERT_EQ(created.prepared.size(), 1u);
  EXPECT_EQ(created.prepared[0], created.m_hWnd);
  ASSERT_EQ(subclassed.prepared.size(), 1u);
  EXPECT_EQ(subclassed.prepared[0], hEdit);
}

TEST(HandleMap, TemporaryWrappersStandInUntilIdle) {
  HWND desktop = ::GetDesktopWindow();
  CWnd* temp = CWnd::FromHandle(desktop);
  ASSERT_NE(temp, nullptr);
  EXPECT_EQ(temp->m_hWnd, desktop);
  EXPECT_EQ(CWnd::FromHandle(desktop), temp);
  EXPECT_EQ(CWnd::FromHandlePermanent(desktop), nullptr);
  CWnd::DeleteTempMap();
  EXPECT_TRUE(::IsWindow(desktop)) << "a wrapper never destroys its window";
  EXPECT_EQ(CWnd::FromHandle(nullptr), nullptr);
}

}  // namespace

namespace {

// --- menus and tool tips ---

TEST(CommandRouting, MenuItemsFollowTheirHandlers) {
  CCommandWnd wnd;
  ASSERT_TRUE(CreateTestWindow(wnd));
  CMenu popup;
  ASSERT_TRUE(popup.CreatePopupMenu());
  popup.AppendMenu(MF_STRING, kBtnHandled, "Handled");
  popup.AppendMenu(MF_SEPARATOR);
  popup.AppendMenu(MF_STRING, kBtnNoHandler, "Nobody");
  popup.AppendMenu(MF_STRING, kBtnUpdateCheck, "Check");
  popup.AppendMenu(MF_STRING, kBtnUpdateOff, "Off");
  AfxUpdateMenuCmdUI(&popup, &wnd, TRUE);
  struct Case {
    UINT pos;
    UINT state;  // MF_GRAYED / MF_CHECKED bits expected
    const char* text;
  };
  const Case cases[] = {{0, 0, "Handled"},
                        {2, MF_GRAYED, "Nobody"},
                        {3, MF_CHECKED, "checked"},
                        {4, MF_GRAYED, "Off"}};
  for (const Case& c : cases) {
    UINT state = popup.GetMenuState(c.pos, MF_BYPOSITION);
    EXPECT_EQ(state & (MF_GRAYED | MF_CHECKED), c.state) << c.pos;
    CString text;
    popup.GetMenuString(c.pos, text, MF_BYPOSITION);
    EXPECT_STREQ(text, c.text);
  }
}

VOID CALLBACK CloseMenu(HWND, UINT, UINT_PTR id, DWORD) {
  ::KillTimer(nullptr, id);
  ::EndMenu();
}

TEST(CommandRouting, APopupMenuIsOwnedByAWindowObject) {
  CCommandWnd wnd;
  ASSERT_TRUE(CreateTestWindow(wnd));
  wnd.ShowWindow(SW_SHOW);
  CMenu popup;
  ASSERT_TRUE(popup.CreatePopupMenu());
  popup.AppendMenu(MF_STRING, kBtnHandled, "Handled");
  CWnd* none = nullptr;
  EXPECT_FALSE(popup.TrackPopupMenu(TPM_RETURNCMD, 10, 10, none)) << "no owner, no menu";
  ::SetTimer(nullptr, 0, 100, CloseMenu);
  EXPECT_EQ(popup.TrackPopupMenu(TPM_RETURNCMD, 10, 10, &wnd), 0) << "closed without a choice";
  EXPECT_TRUE(wnd.log.calls.empty());
}

TEST(ToolTips, HitTestFindsTheControlAndItsTextComesFromTheStringAfterTheNewline) {
  CWnd wnd;
  ASSERT_TRUE(CreateTestWindow(wnd));
  HWND button = ::CreateWindowExA(0, "BUTTON", "x", WS_CHILD | WS_VISIBLE, 20, 20, 60, 20,
                                  wnd.m_hWnd, reinterpret_cast<HMENU>(2201), nullptr, nullptr);
  TOOLINFOA ti = {};
  ti.cbSize = sizeof ti;
  EXPECT_EQ(wnd.OnToolHitTest(CPoint(30, 25), &ti), 2201);
  EXPECT_EQ(ti.uId, reinterpret_cast<UINT_PTR>(button));
  EXPECT_EQ(wnd.OnToolHitTest(CPoint(5, 5), nullptr), -1) << "no control there";
  // The tooltip control's question, sent directly (the system's tooltip asks the same way).
  NMTTDISPINFOA info = {};
  info.hdr.hwndFrom = nullptr;
  info.hdr.idFrom = reinterpret_cast<UINT_PTR>(button);
  info.hdr.code = TTN_NEEDTEXTA;
  info.uFlags = TTF_IDISHWND;
  wnd.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
  ASSERT_NE(info.lpszText, nullptr);
  EXPECT_STREQ(info.lpszText, "Start");
  EXPECT_TRUE(wnd.EnableToolTips(TRUE));
}

}  // namespace
