#include "toolkit/layout/TkResizePropertySheet.h"

#include "framework/wnd/WindowDc.h"
#include "toolkit/gdi/TkMemDC.h"

IMPLEMENT_DYNCREATE(CTkResizePropertySheet, CPropertySheet)

BEGIN_MESSAGE_MAP(CTkSheetTabCtrl, CTabCtrl)
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CTkSheetTabCtrl::CTkSheetTabCtrl() : m_clrBack(::GetSysColor(COLOR_BTNFACE)) {}

void CTkSheetTabCtrl::OnPaint() {
  CPaintDC dc(this);
  CRect rc;
  GetClientRect(&rc);
  CTkMemDC mem(&dc, rc, m_clrBack);
  DefWindowProc(WM_PAINT, reinterpret_cast<WPARAM>(mem.GetSafeHdc()), 0);
}

BEGIN_MESSAGE_MAP(CTkResizePropertySheet, CPropertySheet)
  ON_WM_SIZE()
  ON_WM_GETMINMAXINFO()
  ON_MESSAGE(CTkResizePropertySheet::kInitMessage, OnDeferredInit)
END_MESSAGE_MAP()

CTkResizePropertySheet::CTkResizePropertySheet(UINT nIDCaption, CWnd* pParentWnd,
                                               UINT iSelectPage, DWORD dwFlags)
    : CPropertySheet(nIDCaption, pParentWnd, iSelectPage), CTkResize(this, dwFlags),
      m_dwInitialFlags(dwFlags) {}

CTkResizePropertySheet::CTkResizePropertySheet(LPCSTR pszCaption, CWnd* pParentWnd,
                                               UINT iSelectPage, DWORD dwFlags)
    : CPropertySheet(pszCaption, pParentWnd, iSelectPage), CTkResize(this, dwFlags),
      m_dwInitialFlags(dwFlags) {}

// The sheet object takes over its window while the system is still building it, before any page
// exists; the layout is set up from the first message after that.
void CTkResizePropertySheet::PreSubclassWindow() {
  CPropertySheet::PreSubclassWindow();
  PostMessage(kInitMessage);
}

LRESULT CTkResizePropertySheet::OnDeferredInit(WPARAM, LPARAM) {
  return OnInitDialog();
}

BOOL CTkResizePropertySheet::OnInitDialog() {
  EnableToolTips(TRUE);
  HWND hTab = reinterpret_cast<HWND>(SendMessage(PSM_GETTABCONTROL));
  if (hTab && !m_tabCtrl.GetSafeHwnd()) m_tabCtrl.SubclassWindow(hTab);

  if (!(m_dwInitialFlags & TKRS_NOGRIP)) {
    // One pixel of room on every side for the grip's corner.
    CRect rc;
    GetWindowRect(&rc);
    rc.InflateRect(1, 1);
    MoveWindow(&rc, TRUE);
  }
  AddSizingCommands();
  if (!(GetStyle() & WS_THICKFRAME)) SetFlag(TKRS_NOGRIP);
  Init();

  static const CTkResizeEntry kButtons[] = {
      {IDOK, 1, 1, 1, 1}, {IDCANCEL, 1, 1, 1, 1}, {IDHELP, 1, 1, 1, 1}, {0x3021, 1, 1, 1, 1},
      {0x3020, 0, 0, 1, 1}};
  for (const CTkResizeEntry& e : kButtons) {
    if (::GetDlgItem(m_hWnd, static_cast<int>(e.nID))) SetResize(&e, 1);
  }

  CPropertyPage* pActive = GetActivePage();
  if (pActive && pActive->GetSafeHwnd()) {
    CRect rcPage;
    pActive->GetWindowRect(&rcPage);
    ScreenToClient(&rcPage);
    // Pages made later start from this rectangle and catch up at their first layout.
    for (int i = 0; i < GetPageCount(); ++i) {
      AddItem(GetPage(i), CTkResizeRect(0, 0, 1, 1), rcPage.left, rcPage.top, rcPage.right,
              rcPage.bottom);
    }
  }
  return TRUE;
}

void CTkResizePropertySheet::AddSizingCommands() {
  HMENU hMenu = ::GetSystemMenu(m_hWnd, FALSE);
  if (!hMenu) return;
  HWND hTop = m_hWnd;
  while (::GetParent(hTop)) hTop = ::GetParent(hTop);
  HMENU hTopMenu = ::GetSystemMenu(hTop, FALSE);
  struct Command {
    UINT nID;
    LPCSTR lpszFallback;
    char szText[64];
  } commands[] = {{SC_MAXIMIZE, "Ma&ximize", ""},
                  {SC_MINIMIZE, "Mi&nimize", ""},
                  {SC_SIZE, "&Size", ""},
                  {SC_RESTORE, "&Restore", ""}};
  for (Command& c : commands) {
    if (hTopMenu) ::GetMenuStringA(hTopMenu, c.nID, c.szText, sizeof c.szText, MF_BYCOMMAND);
    if (!c.szText[0]) lstrcpynA(c.szText, c.lpszFallback, sizeof c.szText);
  }
  ::InsertMenuA(hMenu, 1, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
  ::InsertMenuA(hMenu, 1, MF_BYPOSITION | MF_STRING, SC_MAXIMIZE, commands[0].szText);
  ::InsertMenuA(hMenu, 1, MF_BYPOSITION | MF_STRING, SC_MINIMIZE, commands[1].szText);
  ::InsertMenuA(hMenu, 1, MF_BYPOSITION | MF_STRING, SC_SIZE, commands[2].szText);
  ::InsertMenuA(hMenu, 0, MF_BYPOSITION | MF_STRING, SC_RESTORE, commands[3].szText);
}

void CTkResizePropertySheet::OnSize(UINT nType, int cx, int cy) {
  CPropertySheet::OnSize(nType, cx, cy);
  Size();
}
