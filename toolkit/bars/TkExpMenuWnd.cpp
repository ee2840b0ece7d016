#include "toolkit/bars/TkExpMenuWnd.h"

#include <algorithm>
#include <string>
#include <vector>

#include "framework/frame/FrameWnd.h"
#include "resources/ids/ToolkitFrameIds.h"
#include "toolkit/bars/TkToolBarLayout.h"
#include "toolkit/core/ToolkitData.h"
#include "toolkit/core/ToolkitHelpers.h"
#include "toolkit/popups/TkPopupShadow.h"
#include "toolkit/widgets/TkColorPickerPopup.h"

IMPLEMENT_DYNAMIC(CTkExpMenuWnd, CWnd)

namespace {

constexpr DWORD kHiddenBarStyle = 0x50002035;   // child, visible, top, fly-by, tips, dynamic
constexpr DWORD kCommandBarStyle = 0x50002034;  // the same without fly-by
constexpr UINT kClassStyle = CS_SAVEBITS | CS_CLASSDC | CS_HREDRAW | CS_VREDRAW;

// The toolbar's owner window: its frame, which carries out the buttons' commands.
CWnd* FrameOf(CTkToolBar* bar) {
  CWnd* owner = bar->GetOwner();
  return owner ? owner : bar->GetParent();
}

}  // namespace

int TkExpMenuWidthLimit(int nButtonWidth) { return std::min(6 * nButtonWidth, 250); }

POINT TkExpMenuPosition(const RECT& rc, int cx, int cy, DWORD dwDockSide) {
  switch (dwDockSide & CBRS_ALIGN_ANY) {
    case CBRS_ALIGN_BOTTOM:
      return {rc.right - cx + 1, rc.top - cy + 1};  // above the chevron
    case CBRS_ALIGN_RIGHT:
      return {rc.left - cx + 1, rc.bottom - cy + 1};  // to its left
    case CBRS_ALIGN_LEFT:
      return {rc.right, rc.bottom - cy + 1};  // to its right
    default:
      return {rc.right - cx + 1, rc.bottom};  // below it
  }
}

CTkHiddenButtonsToolbar::CTkHiddenButtonsToolbar() {
  // The popup's frame is the border: its toolbars have none of their own.
  m_cxLeftBorder = m_cxRightBorder = 0;
  m_cyTopBorder = m_cyBottomBorder = 0;
}

// The rows are committed at once, and the width they took is kept as the one later layouts of
// this floating bar wrap to, so that the buttons stay in the rows the popup was sized for.
CSize CTkHiddenButtonsToolbar::CalcDynamicLayout(int nLength, DWORD nMode) {
  if (!(nMode & LM_HORZ)) return CTkToolBar::CalcDynamicLayout(nLength, nMode);
  return CTkToolBar::CalcDynamicLayout(nLength, nMode | LM_COMMIT);
}

LRESULT CTkHiddenButtonsWndHook::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCACTIVATE:
      // The frame's caption stays active while the popup has the focus.
      return CTkWndHook::WindowProc(message, TRUE, lParam);
    case WM_COMMAND: {
      CTkExpMenuWnd* popup = m_pPopup;
      HWND bar = popup->m_wndHidden.m_hWnd;
      UINT id = LOWORD(wParam);
      // A button's command, not the notification of a control lent to the popup: the popup goes
      // first, then the frame carries the command out.
      if (popup->m_hWnd && bar && !::GetDlgItem(bar, static_cast<int>(id)) && !popup->m_bDestroyed) {
        CTkToolBar* owner = popup->m_pOwnerToolBar;
        if (owner && owner->m_hWnd && owner->OpensMenusFromPopup()) {
          // The menu opens once the popup is gone, outside this message.
          RECT rc = {};
          ::SendMessageA(bar, TB_GETRECT, id, reinterpret_cast<LPARAM>(&rc));
          ::MapWindowPoints(bar, nullptr, reinterpret_cast<POINT*>(&rc), 2);
          auto* request = new TkHiddenMenuRequest{id, rc};
          ::PostMessageA(owner->m_hWnd, TkOpenHiddenMenuMessage(), 0,
                         reinterpret_cast<LPARAM>(request));
        } else {
          ::PostMessageA(m_hWnd, WM_COMMAND, MAKEWPARAM(id, 0), 0);
        }
        popup->DestroyWindow();
        return 0;
      }
      break;
    }
    case WM_TK_CLOSE_EXPMENU:
      if (m_pPopup->m_hWnd) ::PostMessageA(m_pPopup->m_hWnd, WM_CLOSE, 0, 0);
      break;
  }
  return CTkWndHook::WindowProc(message, wParam, lParam);
}


CTkExpMenuWnd::CTkExpMenuWnd(CWnd* pNotifyWnd, UINT nNotifyMsg)
    : m_hook(this), m_hWndNotify(pNotifyWnd ? pNotifyWnd->m_hWnd : nullptr),
      m_nNotifyMsg(nNotifyMsg) {
  m_wndHidden.m_pPopup = this;
  m_wndCommand.m_pPopup = this;
}

CTkExpMenuWnd::~CTkExpMenuWnd() {
  if (m_hook.IsHooked()) m_hook.HookWindow(static_cast<HWND>(nullptr));
}

HWND CTkExpMenuWnd::Open(CWnd* pNotifyWnd, UINT nNotifyMsg, const RECT& rc,
                         CTkToolBar* pOwnerToolBar) {
  if (!pOwnerToolBar || !pOwnerToolBar->m_hWnd) return nullptr;
  auto* popup = new CTkExpMenuWnd(pNotifyWnd, nNotifyMsg);
  // A failed creation has deleted the object already.
  if (!popup->Create(rc.left, rc.top, rc.right, rc.bottom, pOwnerToolBar)) return nullptr;
  return popup->m_hWnd;
}

CTkExpMenuWnd* CTkExpMenuWnd::FromOpenWindow(HWND hWnd) {
  // The handle map forgets the window before the object deletes itself, so a closed popup's
  // handle leads nowhere, and a handle reused since by another window is not taken for one.
  if (!hWnd || !::IsWindow(hWnd)) return nullptr;
  return dynamic_cast<CTkExpMenuWnd*>(CWnd::FromHandlePermanent(hWnd));
}

void CTkExpMenuWnd::Close(HWND hWnd) {
  if (CTkExpMenuWnd* popup = FromOpenWindow(hWnd)) popup->DestroyWindow();
}

BOOL CTkExpMenuWnd::IsFlatMenuLook() const { return ToolkitData().m_bFlatLook; }

CSize CTkExpMenuWnd::FrameSize() {
  NCCALCSIZE_PARAMS params = {};
  params.rgrc[0] = {0, 0, 100, 100};
  SendMessage(WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&params.rgrc[0]));
  const RECT& rc = params.rgrc[0];
  return CSize(100 - (rc.right - rc.left), 100 - (rc.bottom - rc.top));
}

BOOL CTkExpMenuWnd::Create(int left, int top, int right, int bottom, CTkToolBar* pOwnerToolBar) {
  m_pOwnerToolBar = pOwnerToolBar;
  LPCSTR cls = AfxRegisterWndClass(kClassStyle, ::LoadCursorA(nullptr, IDC_ARROW));
  if (!CreateEx(0, cls, "", WS_POPUP | WS_DLGFRAME, 0, 0, 0, 0, pOwnerToolBar->m_hWnd, nullptr))
    return FALSE;
  // The hook on the popup shows the shadow with the popup and deletes it with it. It goes on
  // once the window is made: the framework sets the window's procedure when creation ends,
  // which would cut out a hook put on earlier.
  if (ToolkitData().m_bMenuShadows) new CTkPopupShadow(m_hWnd, FALSE, TRUE);
  int buttonWidth = LOWORD(pOwnerToolBar->SendMessage(TB_GETBUTTONSIZE));
  int limit = TkExpMenuWidthLimit(buttonWidth);
  pOwnerToolBar->CopyHiddenButtons(&m_wndHidden, limit);
  CSize size = m_wndHidden.CalcDynamicLayout(limit, LM_HORZ);
  if (pOwnerToolBar->AllowsCustomize() && m_wndCommand.m_hWnd) {
    CSize command = m_wndCommand.CalcDynamicLayout(limit, LM_HORZ);
    size = CSize(std::max(size.cx, command.cx), size.cy + command.cy);
    m_wndCommand.SendMessage(TB_SETBUTTONSIZE, 0, MAKELONG(0, ::GetSystemMetrics(SM_CYMENU)));
    m_wndCommand.SendMessage(TB_SETBUTTONWIDTH, 0, MAKELONG(size.cx, size.cx));
  }
  size += FrameSize();
  m_rcChevron.SetRect(left, top, right, bottom);
  CWnd* frame = FrameOf(pOwnerToolBar);
  if (auto* target = dynamic_cast<CFrameWnd*>(frame); target && !pOwnerToolBar->OpensMenusFromPopup())
    m_wndHidden.OnUpdateCmdUI(target, TRUE);
  SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(ToolkitData().GetBarFont()), FALSE);
  int cx = size.cx + 2, cy = size.cy + 3;
  POINT at = TkExpMenuPosition(m_rcChevron, cx, cy, pOwnerToolBar->GetBarStyle());
  SetWindowPos(nullptr, at.x, at.y, cx, cy, SWP_NOZORDER | SWP_SHOWWINDOW);
  return TRUE;
}

int CTkExpMenuWnd::OnCreate() {
  CWnd* frame = FrameOf(m_pOwnerToolBar);
  if (frame) m_hook.HookWindow(frame->m_hWnd);
  if (IsFlatMenuLook()) {
    ModifyStyle(WS_CAPTION | WS_THICKFRAME, 0);
    ::SetWindowLongPtrA(m_hWnd, GWL_EXSTYLE,
                        ::GetWindowLongPtrA(m_hWnd, GWL_EXSTYLE) &
                            ~static_cast<LONG_PTR>(WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE |
                                                   WS_EX_STATICEDGE));
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  }

  DWORD ownerStyle = static_cast<DWORD>(::GetWindowLongPtrA(m_pOwnerToolBar->m_hWnd, GWL_STYLE));
  if (!m_wndHidden.CreateEx(this, ownerStyle & (TBSTYLE_FLAT | TBSTYLE_LIST), kHiddenBarStyle,
                            AFX_IDW_TOOLBAR))
    return -1;
  m_wndHidden.SetBorders(0, 0, 0, 0);
  m_wndHidden.SendMessage(TB_SETBUTTONSIZE, 0, m_pOwnerToolBar->SendMessage(TB_GETBUTTONSIZE));
  if (auto images = reinterpret_cast<HIMAGELIST>(m_pOwnerToolBar->SendMessage(TB_GETIMAGELIST))) {
    int cx = 0, cy = 0;
    ::ImageList_GetIconSize(images, &cx, &cy);
    m_wndHidden.SendMessage(TB_SETBITMAPSIZE, 0, MAKELONG(cx, cy));
  }
  m_wndHidden.SendMessage(WM_SETFONT, m_pOwnerToolBar->SendMessage(WM_GETFONT), FALSE);
  // The buttons' commands go to the frame, where the hook takes them.
  if (frame) {
    m_wndHidden.SetOwner(frame);
    m_wndHidden.SendMessage(TB_SETPARENT, reinterpret_cast<WPARAM>(frame->m_hWnd));
  }

  if (m_pOwnerToolBar->AllowsCustomize()) {
    bool hasControls = ::GetWindow(m_pOwnerToolBar->m_hWnd, GW_CHILD) != nullptr;
    DWORD style = kCommandBarStyle | (hasControls ? 0 : CBRS_BORDER_TOP);
    if (!m_wndCommand.CreateEx(this, TBSTYLE_FLAT | TBSTYLE_LIST, style, AFX_IDW_TOOLBAR + 1))
      return -1;
    m_wndCommand.SetBorders(0, 0, 0, 0);
    m_wndCommand.SetOwner(this);
    m_wndCommand.SendMessage(TB_SETBITMAPSIZE, 0, MAKELONG(0, 0));
    m_wndCommand.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(ToolkitData().GetBarFont()),
                             FALSE);
    CString text = TkLoadString(IDS_TK_CUSTOMIZE);
    std::string list(static_cast<LPCSTR>(text));
    list.push_back('\0');
    TBBUTTON button = {};
    button.iBitmap = I_IMAGENONE;
    button.idCommand = kTkAddRemoveButtonsCmd;
    button.fsState = TBSTATE_ENABLED;
    button.fsStyle = TBSTYLE_BUTTON | BTNS_SHOWTEXT;
    button.iString = m_wndCommand.SendMessage(TB_ADDSTRINGA, 0,
                                              reinterpret_cast<LPARAM>(list.c_str()));
    m_wndCommand.SendMessage(TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&button));
  }
  return 0;
}

BOOL CTkExpMenuWnd::DestroyWindow() {
  if (m_bDestroyed || !m_hWnd) return FALSE;
  m_bDestroyed = TRUE;
  return CWnd::DestroyWindow();
}

void CTkExpMenuWnd::OnDestroy() {
  m_bDestroyed = TRUE;
  if (m_hook.IsHooked()) m_hook.HookWindow(static_cast<HWND>(nullptr));
  // The controls lent by the owner go back to it, hidden: its own layout shows them again.
  if (m_wndHidden.m_hWnd && m_pOwnerToolBar && m_pOwnerToolBar->m_hWnd) {
    std::vector<HWND> lent;
    for (HWND child = ::GetWindow(m_wndHidden.m_hWnd, GW_CHILD); child;
         child = ::GetWindow(child, GW_HWNDNEXT))
      if (::GetDlgCtrlID(child) != static_cast<int>(kTkAddRemoveButtonsCmd)) lent.push_back(child);
    for (HWND child : lent) {
      ::ShowWindow(child, SW_HIDE);
      ::SetParent(child, m_pOwnerToolBar->m_hWnd);
    }
  }
  if (m_nNotifyMsg && m_hWndNotify) ::PostMessageA(m_hWndNotify, m_nNotifyMsg, 0, 0);
}

void CTkExpMenuWnd::OnWindowPosChanged(const WINDOWPOS* lpwp) {
  if (lpwp->cx <= 0 || lpwp->cy <= 0 || !m_wndHidden.m_hWnd) return;
  RECT rc;
  ::GetWindowRect(m_hWnd, &rc);
  int width = (rc.right - rc.left) - FrameSize().cx;
  CSize hidden = m_wndHidden.CalcDynamicLayout(width, LM_HORZ | LM_COMMIT);
  m_wndHidden.SetWindowPos(nullptr, 1, 1, width, hidden.cy, SWP_NOZORDER | SWP_NOACTIVATE);
  if (m_wndCommand.m_hWnd) {
    CSize command = m_wndCommand.CalcDynamicLayout(width, LM_HORZ | LM_COMMIT);
    int y = hidden.cy >= 4 ? hidden.cy + 2 : 1;
    m_wndCommand.SetWindowPos(nullptr, 1, y, width - 2, command.cy,
                              SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void CTkExpMenuWnd::OnNcPaint() {
  RECT rc;
  ::GetWindowRect(m_hWnd, &rc);
  HDC hdc = ::GetWindowDC(m_hWnd);
  RECT frame = {0, 0, rc.right - rc.left, rc.bottom - rc.top};
  HBRUSH border = ::CreateSolidBrush(ToolkitData().m_clrDarkShadowTint);
  ::FrameRect(hdc, &frame, border);
  ::DeleteObject(border);
  // Open toward the chevron where the two touch.
  if (!m_rcChevron.IsRectEmpty()) {
    RECT window = rc;
    window.bottom -= 1;
    CTkColorPickerPopup::DrawPopupGap(hdc, ToolkitData().m_clrFaceTint, m_rcChevron, window);
  }
  ::ReleaseDC(m_hWnd, hdc);
}

LRESULT CTkExpMenuWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      if (CWnd::WindowProc(message, wParam, lParam) == -1) return -1;
      return OnCreate();
    case WM_COMMAND:
      if (LOWORD(wParam) == kTkAddRemoveButtonsCmd) {
        if (m_hWndNotify)
          ::PostMessageA(m_hWndNotify, WM_COMMAND, MAKEWPARAM(kTkAddRemoveButtonsCmd, 0), 0);
        DestroyWindow();
        return 0;
      }
      break;
    case WM_KEYDOWN:
      if (wParam == VK_ESCAPE) {
        DestroyWindow();
        return 0;
      }
      break;
    case WM_ACTIVATE: {
      LRESULT result = CWnd::WindowProc(message, wParam, lParam);
      if (LOWORD(wParam) == WA_INACTIVE) DestroyWindow();
      return result;
    }
    case WM_ACTIVATEAPP: {
      LRESULT result = CWnd::WindowProc(message, wParam, lParam);
      if (!wParam) DestroyWindow();
      return result;
    }
    case WM_KILLFOCUS: {
      LRESULT result = CWnd::WindowProc(message, wParam, lParam);
      if (reinterpret_cast<HWND>(wParam) != m_hWnd) ::ReleaseCapture();
      return result;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
      return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
    case WM_NCCALCSIZE:
      if (IsFlatMenuLook()) {
        auto* rc = reinterpret_cast<RECT*>(lParam);  // the first rectangle either way
        ::InflateRect(rc, -1, -1);
        return 0;
      }
      break;
    case WM_NCPAINT:
      if (IsFlatMenuLook()) OnNcPaint();
      break;
    case WM_ERASEBKGND: {
      RECT rc;
      ::GetClientRect(m_hWnd, &rc);
      HBRUSH brush = ::CreateSolidBrush(IsFlatMenuLook() ? ToolkitData().m_clrWindowTint
                                                         : ToolkitData().m_clrFace);
      ::FillRect(reinterpret_cast<HDC>(wParam), &rc, brush);
      ::DeleteObject(brush);
      return TRUE;
    }
    case WM_WINDOWPOSCHANGED: {
      LRESULT result = CWnd::WindowProc(message, wParam, lParam);
      OnWindowPosChanged(reinterpret_cast<const WINDOWPOS*>(lParam));
      return result;
    }
    case WM_DESTROY:
      OnDestroy();
      break;
  }
  return CWnd::WindowProc(message, wParam, lParam);
}
