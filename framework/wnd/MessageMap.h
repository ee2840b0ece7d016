// The entries of a message map, between BEGIN_MESSAGE_MAP and END_MESSAGE_MAP. Each entry calls
// the class's handler with the arguments unpacked from the message; handlers keep the classic
// signatures (OnSize(UINT, int, int), OnLButtonDown(UINT, CPoint), ...). Handler names are given
// bare: ON_COMMAND(ID_FILE_OPEN, OnFileOpen).
#pragma once
#include <windowsx.h>
// windowsx.h names a macro like CWnd's member.
#undef SubclassWindow

#include "framework/wnd/CmdTarget.h"
#include "framework/wnd/CmdUI.h"

// Message ids of the framework's own.
#define WM_SETMESSAGESTRING 0x0362
#define WM_IDLEUPDATECMDUI 0x0363
#define WM_KICKIDLE 0x036A

// A window message whose handler cannot decline it.
#define AFX_ON_MSG(msg, ...)                                                       \
  {msg, 0, 0, 0, nullptr, [](CCmdTarget* t, AFX_MSGCALL& c) -> BOOL {              \
     [[maybe_unused]] ThisClass* p = static_cast<ThisClass*>(t);                    \
     [[maybe_unused]] WPARAM w = c.wParam;                                          \
     [[maybe_unused]] LPARAM l = c.lParam;                                          \
     __VA_ARGS__;                                                                   \
     return TRUE;                                                                   \
   }},
#define AFX_LPOINT CPoint(GET_X_LPARAM(l), GET_Y_LPARAM(l))
#define AFX_WND(h) CWnd::FromHandle(reinterpret_cast<HWND>(h))
#define AFX_DC(h) CDC::FromHandle(reinterpret_cast<HDC>(h))
#define AFX_MENU(h) CMenu::FromHandle(reinterpret_cast<HMENU>(h))
#define AFX_BAR(h) (h ? static_cast<CScrollBar*>(AFX_WND(h)) : nullptr)

// Creation and destruction.
#define ON_WM_NCCREATE() AFX_ON_MSG(WM_NCCREATE, c.result = p->OnNcCreate(reinterpret_cast<LPCREATESTRUCT>(l)))
#define ON_WM_CREATE() AFX_ON_MSG(WM_CREATE, c.result = p->OnCreate(reinterpret_cast<LPCREATESTRUCT>(l)))
#define ON_WM_DESTROY() AFX_ON_MSG(WM_DESTROY, p->OnDestroy())
#define ON_WM_NCDESTROY() AFX_ON_MSG(WM_NCDESTROY, p->OnNcDestroy())
#define ON_WM_CLOSE() AFX_ON_MSG(WM_CLOSE, p->OnClose())
// Painting and the non-client family.
#define ON_WM_PAINT() AFX_ON_MSG(WM_PAINT, p->OnPaint())
#define ON_WM_ERASEBKGND() AFX_ON_MSG(WM_ERASEBKGND, c.result = p->OnEraseBkgnd(AFX_DC(w)))
#define ON_WM_NCPAINT() AFX_ON_MSG(WM_NCPAINT, p->OnNcPaint())
#define ON_WM_NCCALCSIZE() AFX_ON_MSG(WM_NCCALCSIZE, p->OnNcCalcSize(static_cast<BOOL>(w), reinterpret_cast<NCCALCSIZE_PARAMS*>(l)))
#define ON_WM_NCHITTEST() AFX_ON_MSG(WM_NCHITTEST, c.result = p->OnNcHitTest(AFX_LPOINT))
#define ON_WM_NCACTIVATE() AFX_ON_MSG(WM_NCACTIVATE, c.result = p->OnNcActivate(static_cast<BOOL>(w)))
#define ON_WM_NCLBUTTONDOWN() AFX_ON_MSG(WM_NCLBUTTONDOWN, p->OnNcLButtonDown(static_cast<UINT>(w), AFX_LPOINT))
#define ON_WM_NCLBUTTONUP() AFX_ON_MSG(WM_NCLBUTTONUP, p->OnNcLButtonUp(static_cast<UINT>(w), AFX_LPOINT))
#define ON_WM_NCLBUTTONDBLCLK() AFX_ON_MSG(WM_NCLBUTTONDBLCLK, p->OnNcLButtonDblClk(static_cast<UINT>(w), AFX_LPOINT))
#define ON_WM_NCRBUTTONDOWN() AFX_ON_MSG(WM_NCRBUTTONDOWN, p->OnNcRButtonDown(static_cast<UINT>(w), AFX_LPOINT))
#define ON_WM_NCRBUTTONUP() AFX_ON_MSG(WM_NCRBUTTONUP, p->OnNcRButtonUp(static_cast<UINT>(w), AFX_LPOINT))
#define ON_WM_NCMOUSEMOVE() AFX_ON_MSG(WM_NCMOUSEMOVE, p->OnNcMouseMove(static_cast<UINT>(w), AFX_LPOINT))
#define ON_WM_PRINTCLIENT() AFX_ON_MSG(WM_PRINTCLIENT, c.result = p->OnPrintClient(AFX_DC(w), static_cast<UINT>(l)))
// Size, position and state.
#define ON_WM_SIZE() AFX_ON_MSG(WM_SIZE, p->OnSize(static_cast<UINT>(w), LOWORD(l), HIWORD(l)))
#define ON_WM_MOVE() AFX_ON_MSG(WM_MOVE, p->OnMove(static_cast<short>(LOWORD(l)), static_cast<short>(HIWORD(l))))
#define ON_WM_SIZING() AFX_ON_MSG(WM_SIZING, p->OnSizing(static_cast<UINT>(w), reinterpret_cast<LPRECT>(l)); c.result = TRUE)
#define ON_WM_MOVING() AFX_ON_MSG(WM_MOVING, p->OnMoving(static_cast<UINT>(w), reinterpret_cast<LPRECT>(l)); c.result = TRUE)
#define ON_WM_WINDOWPOSCHANGING() AFX_ON_MSG(WM_WINDOWPOSCHANGING, p->OnWindowPosChanging(reinterpret_cast<WINDOWPOS*>(l)))
#define ON_WM_WINDOWPOSCHANGED() AFX_ON_MSG(WM_WINDOWPOSCHANGED, p->OnWindowPosChanged(reinterpret_cast<WINDOWPOS*>(l)))
#define ON_WM_GETMINMAXINFO() AFX_ON_MSG(WM_GETMINMAXINFO, p->OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(l)))
#define ON_WM_ENABLE() AFX_ON_MSG(WM_ENABLE, p->OnEnable(static_cast<BOOL>(w)))
#define ON_WM_SHOWWINDOW() AFX_ON_MSG(WM_SHOWWINDOW, p->OnShowWindow(static_cast<BOOL>(w), static_cast<UINT>(l)))
#define ON_WM_ACTIVATE() AFX_ON_MSG(WM_ACTIVATE, p->OnActivate(LOWORD(w), AFX_WND(l), HIWORD(w)))
#define ON_WM_ACTIVATEAPP() AFX_ON_MSG(WM_ACTIVATEAPP, p->OnActivateApp(static_cast<BOOL>(w), static_cast<DWORD>(l)))
#define ON_WM_MOUSEACTIVATE() AFX_ON_MSG(WM_MOUSEACTIVATE, c.result = p->OnMouseActivate(AFX_WND(w), LOWORD(l), HIWORD(l)))
#define ON_WM_CANCELMODE() AFX_ON_MSG(WM_CANCELMODE, p->OnCancelMode())
#define ON_WM_CAPTURECHANGED() AFX_ON_MSG(WM_CAPTURECHANGED, p->OnCaptureChanged(AFX_WND(l)))
#define ON_WM_SYSCOLORCHANGE() AFX_ON_MSG(WM_SYSCOLORCHANGE, p->OnSysColorChange())
#define ON_WM_SETTINGCHANGE() AFX_ON_MSG(WM_SETTINGCHANGE, p->OnSettingChange(static_cast<UINT>(w), reinterpret_cast<LPCSTR>(l)))
#define ON_WM_SYSCOMMAND() AFX_ON_MSG(WM_SYSCOMMAND, p->OnSysCommand(static_cast<UINT>(w), l))
#define ON_WM_DROPFILES() AFX_ON_MSG(WM_DROPFILES, p->OnDropFiles(reinterpret_cast<HDROP>(w)))
#define ON_WM_PARENTNOTIFY() AFX_ON_MSG(WM_PARENTNOTIFY, p->OnParentNotify(LOWORD(w), l))
#define ON_WM_GETDLGCODE() AFX_ON_MSG(WM_GETDLGCODE, c.result = p->OnGetDlgCode())
// Mouse.
#define ON_WM_MOUSEMOVE() AFX_ON_MSG(WM_MOUSEMOVE, p->OnMouseMove(static_cast<UINT>(w), AFX_LPOINT))
#define ON_WM_LBUTTONDOWN() AFX_ON_MSG(WM_LBUTTONDOWN, p->OnLButtonDown(static_cast<UINT>(w), AFX_LPOINT))
#define ON_WM_LBUTTONUP() AFX_ON_MSG(WM_LBUTTONUP, p->OnLButtonUp(static_cast<UINT>(w), AFX_LPOINT))
#define ON_WM_LBUTTONDBLCLK() AFX_ON_MSG(WM_LBUTTONDBLCLK, p->OnLButtonDblClk(static_cast<UINT>(w), AFX_LPOINT))
#define ON_WM_RBUTTONDOWN() AFX_ON_MSG(WM_RBUTTONDOWN, p->OnRButtonDown(static_cast<UINT>(w), AFX_LPOINT))
#define ON_WM_RBUTTONUP() AFX_ON_MSG(WM_RBUTTONUP, p->OnRButtonUp(static_cast<UINT>(w), AFX_LPOINT))
#define ON_WM_RBUTTONDBLCLK() AFX_ON_MSG(WM_RBUTTONDBLCLK, p->OnRButtonDblClk(static_cast<UINT>(w), AFX_LPOINT))
#define ON_WM_MBUTTONDOWN() AFX_ON_MSG(WM_MBUTTONDOWN, p->OnMButtonDown(static_cast<UINT>(w), AFX_LPOINT))
#define ON_WM_MBUTTONUP() AFX_ON_MSG(WM_MBUTTONUP, p->OnMButtonUp(static_cast<UINT>(w), AFX_LPOINT))
#define ON_WM_MOUSEWHEEL() AFX_ON_MSG(WM_MOUSEWHEEL, c.result = p->OnMouseWheel(GET_KEYSTATE_WPARAM(w), GET_WHEEL_DELTA_WPARAM(w), AFX_LPOINT))
#define ON_WM_MOUSELEAVE() AFX_ON_MSG(WM_MOUSELEAVE, p->OnMouseLeave())
#define ON_WM_SETCURSOR() AFX_ON_MSG(WM_SETCURSOR, c.result = p->OnSetCursor(AFX_WND(w), LOWORD(l), HIWORD(l)))
#define ON_WM_CONTEXTMENU() AFX_ON_MSG(WM_CONTEXTMENU, p->OnContextMenu(AFX_WND(w), AFX_LPOINT))
// Keyboard and focus.
#define AFX_ON_KEY(msg, fn) AFX_ON_MSG(msg, p->fn(static_cast<UINT>(w), LOWORD(l), HIWORD(l)))
#define ON_WM_KEYDOWN() AFX_ON_KEY(WM_KEYDOWN, OnKeyDown)
#define ON_WM_KEYUP() AFX_ON_KEY(WM_KEYUP, OnKeyUp)
#define ON_WM_CHAR() AFX_ON_KEY(WM_CHAR, OnChar)
#define ON_WM_SYSKEYDOWN() AFX_ON_KEY(WM_SYSKEYDOWN, OnSysKeyDown)
#define ON_WM_SYSKEYUP() AFX_ON_KEY(WM_SYSKEYUP, OnSysKeyUp)
#define ON_WM_SYSCHAR() AFX_ON_KEY(WM_SYSCHAR, OnSysChar)
#define ON_WM_SETFOCUS() AFX_ON_MSG(WM_SETFOCUS, p->OnSetFocus(AFX_WND(w)))
#define ON_WM_KILLFOCUS() AFX_ON_MSG(WM_KILLFOCUS, p->OnKillFocus(AFX_WND(w)))
#define ON_WM_TIMER() AFX_ON_MSG(WM_TIMER, p->OnTimer(static_cast<UINT_PTR>(w)))
// Menus.
#define ON_WM_MENUSELECT() AFX_ON_MSG(WM_MENUSELECT, p->OnMenuSelect(LOWORD(w), HIWORD(w), reinterpret_cast<HMENU>(l)))
#define ON_WM_INITMENU() AFX_ON_MSG(WM_INITMENU, p->OnInitMenu(AFX_MENU(w)))
#define ON_WM_INITMENUPOPUP() AFX_ON_MSG(WM_INITMENUPOPUP, p->OnInitMenuPopup(AFX_MENU(w), LOWORD(l), HIWORD(l)))
#define ON_WM_MENUCHAR() AFX_ON_MSG(WM_MENUCHAR, c.result = p->OnMenuChar(LOWORD(w), HIWORD(w), AFX_MENU(l)))
#define ON_WM_ENTERMENULOOP() AFX_ON_MSG(WM_ENTERMENULOOP, p->OnEnterMenuLoop(static_cast<BOOL>(w)))
#define ON_WM_EXITMENULOOP() AFX_ON_MSG(WM_EXITMENULOOP, p->OnExitMenuLoop(static_cast<BOOL>(w)))
#define ON_WM_ENTERIDLE() AFX_ON_MSG(WM_ENTERIDLE, p->OnEnterIdle(static_cast<UINT>(w), AFX_WND(l)))
// Children: scroll bars, colours, owner drawing.
#define ON_WM_HSCROLL() AFX_ON_MSG(WM_HSCROLL, p->OnHScroll(LOWORD(w), HIWORD(w), AFX_BAR(l)))
#define ON_WM_VSCROLL() AFX_ON_MSG(WM_VSCROLL, p->OnVScroll(LOWORD(w), HIWORD(w), AFX_BAR(l)))
#define ON_WM_CTLCOLOR() AFX_ON_MSG(WM_CTLCOLOR, c.result = reinterpret_cast<LRESULT>(p->OnCtlColor(AFX_DC(w), AFX_WND(l), c.nID)))
#define ON_WM_DRAWITEM() AFX_ON_MSG(WM_DRAWITEM, p->OnDrawItem(static_cast<int>(w), reinterpret_cast<LPDRAWITEMSTRUCT>(l)); c.result = TRUE)
#define ON_WM_MEASUREITEM() AFX_ON_MSG(WM_MEASUREITEM, p->OnMeasureItem(static_cast<int>(w), reinterpret_cast<LPMEASUREITEMSTRUCT>(l)); c.result = TRUE)

// Reflected back to the control that sent them to its parent.
#define ON_WM_CTLCOLOR_REFLECT()                                                             \
  {WM_REFLECT_BASE + WM_CTLCOLOR, 0, 0, 0, nullptr, [](CCmdTarget* t, AFX_MSGCALL& c) -> BOOL { \
     HBRUSH b = static_cast<ThisClass*>(t)->CtlColor(AFX_DC(c.wParam), c.nID);                \
     c.result = reinterpret_cast<LRESULT>(b);                                                \
     return b != nullptr;                                                                    \
   }},
#define ON_WM_DRAWITEM_REFLECT() AFX_ON_MSG(WM_REFLECT_BASE + WM_DRAWITEM, p->DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(l)); c.result = TRUE)
#define ON_WM_MEASUREITEM_REFLECT() AFX_ON_MSG(WM_REFLECT_BASE + WM_MEASUREITEM, p->MeasureItem(reinterpret_cast<LPMEASUREITEMSTRUCT>(l)); c.result = TRUE)
#define ON_WM_DELETEITEM_REFLECT() AFX_ON_MSG(WM_REFLECT_BASE + WM_DELETEITEM, p->DeleteItem(reinterpret_cast<LPDELETEITEMSTRUCT>(l)); c.result = TRUE)
#define ON_WM_COMPAREITEM_REFLECT() AFX_ON_MSG(WM_REFLECT_BASE + WM_COMPAREITEM, c.result = p->CompareItem(reinterpret_cast<LPCOMPAREITEMSTRUCT>(l)))
#define ON_WM_HSCROLL_REFLECT() AFX_ON_MSG(WM_REFLECT_BASE + WM_HSCROLL, p->HScroll(LOWORD(w), HIWORD(w)))
#define ON_WM_VSCROLL_REFLECT() AFX_ON_MSG(WM_REFLECT_BASE + WM_VSCROLL, p->VScroll(LOWORD(w), HIWORD(w)))
#define ON_WM_PARENTNOTIFY_REFLECT() AFX_ON_MSG(WM_REFLECT_BASE + WM_PARENTNOTIFY, p->ParentNotify(LOWORD(w), l))

// Any message by number, registered messages, thread messages.
#define ON_MESSAGE(msg, fn) AFX_ON_MSG(msg, c.result = p->fn(w, l))
#define ON_REGISTERED_MESSAGE(var, fn)                                        \
  {0xC000, 0, 0, 0, &var, [](CCmdTarget* t, AFX_MSGCALL& c) -> BOOL {          \
     c.result = static_cast<ThisClass*>(t)->fn(c.wParam, c.lParam);            \
     return TRUE;                                                              \
   }},
#define ON_THREAD_MESSAGE(msg, fn) AFX_ON_MSG(msg, p->fn(w, l))

// Commands and control notifications (WM_COMMAND), by id or id range.
#define AFX_ON_CMD(msg, code, id, idLast, ...)                                      \
  {msg, static_cast<UINT>(code), static_cast<UINT>(id), static_cast<UINT>(idLast),  \
   nullptr, [](CCmdTarget* t, AFX_MSGCALL& c) -> BOOL {                             \
     [[maybe_unused]] ThisClass* p = static_cast<ThisClass*>(t);                     \
     [[maybe_unused]] AFX_NOTIFY* n = static_cast<AFX_NOTIFY*>(c.pExtra);            \
     __VA_ARGS__;                                                                    \
   }},
#define ON_COMMAND(id, fn) AFX_ON_CMD(WM_COMMAND, CN_COMMAND, id, id, p->fn(); return TRUE)
#define ON_COMMAND_EX(id, fn) AFX_ON_CMD(WM_COMMAND, CN_COMMAND, id, id, return p->fn(c.nID))
#define ON_COMMAND_RANGE(id, idLast, fn) AFX_ON_CMD(WM_COMMAND, CN_COMMAND, id, idLast, p->fn(c.nID); return TRUE)
#define ON_COMMAND_EX_RANGE(id, idLast, fn) AFX_ON_CMD(WM_COMMAND, CN_COMMAND, id, idLast, return p->fn(c.nID))
// An update handler that calls ContinueRouting lets the next command target have a say.
#define AFX_ON_UPDATE(id, idLast, fn)                                                     \
  AFX_ON_CMD(WM_COMMAND, 0xFFFF, id, idLast, CCmdUI* ui = static_cast<CCmdUI*>(c.pExtra); \
             ui->m_bContinueRouting = FALSE; p->fn(ui); return !ui->m_bContinueRouting)
#define ON_UPDATE_COMMAND_UI(id, fn) AFX_ON_UPDATE(id, id, fn)
#define ON_UPDATE_COMMAND_UI_RANGE(id, idLast, fn) AFX_ON_UPDATE(id, idLast, fn)
#define ON_CONTROL(code, id, fn) AFX_ON_CMD(WM_COMMAND, code, id, id, p->fn(); return TRUE)
#define ON_CONTROL_RANGE(code, id, idLast, fn) AFX_ON_CMD(WM_COMMAND, code, id, idLast, p->fn(c.nID); return TRUE)
#define ON_CONTROL_REFLECT(code, fn) AFX_ON_CMD(WM_REFLECT_BASE + WM_COMMAND, code, 0, 0, p->fn(); return TRUE)
#define ON_CONTROL_REFLECT_EX(code, fn) AFX_ON_CMD(WM_REFLECT_BASE + WM_COMMAND, code, 0, 0, return p->fn())

// Notifications (WM_NOTIFY): handlers get the header and the result to set.
#define ON_NOTIFY(code, id, fn) AFX_ON_CMD(WM_NOTIFY, code, id, id, p->fn(n->pNMHDR, n->pResult); return TRUE)
#define ON_NOTIFY_RANGE(code, id, idLast, fn) AFX_ON_CMD(WM_NOTIFY, code, id, idLast, p->fn(c.nID, n->pNMHDR, n->pResult); return TRUE)
#define ON_NOTIFY_EX(code, id, fn) AFX_ON_CMD(WM_NOTIFY, code, id, id, return p->fn(c.nID, n->pNMHDR, n->pResult))
#define ON_NOTIFY_EX_RANGE(code, id, idLast, fn) AFX_ON_CMD(WM_NOTIFY, code, id, idLast, return p->fn(c.nID, n->pNMHDR, n->pResult))
#define ON_NOTIFY_REFLECT(code, fn) AFX_ON_CMD(WM_REFLECT_BASE + WM_NOTIFY, code, 0, 0, p->fn(n->pNMHDR, n->pResult); return TRUE)
#define ON_NOTIFY_REFLECT_EX(code, fn) AFX_ON_CMD(WM_REFLECT_BASE + WM_NOTIFY, code, 0, 0, return p->fn(n->pNMHDR, n->pResult))

// Control notification shorthands.
#define ON_BN_CLICKED(id, fn) ON_CONTROL(BN_CLICKED, id, fn)
#define ON_BN_DOUBLECLICKED(id, fn) ON_CONTROL(BN_DOUBLECLICKED, id, fn)
#define ON_BN_SETFOCUS(id, fn) ON_CONTROL(BN_SETFOCUS, id, fn)
#define ON_BN_KILLFOCUS(id, fn) ON_CONTROL(BN_KILLFOCUS, id, fn)
#define ON_EN_CHANGE(id, fn) ON_CONTROL(EN_CHANGE, id, fn)
#define ON_EN_UPDATE(id, fn) ON_CONTROL(EN_UPDATE, id, fn)
#define ON_EN_SETFOCUS(id, fn) ON_CONTROL(EN_SETFOCUS, id, fn)
#define ON_EN_KILLFOCUS(id, fn) ON_CONTROL(EN_KILLFOCUS, id, fn)
#define ON_EN_MAXTEXT(id, fn) ON_CONTROL(EN_MAXTEXT, id, fn)
#define ON_CBN_SELCHANGE(id, fn) ON_CONTROL(CBN_SELCHANGE, id, fn)
#define ON_CBN_DBLCLK(id, fn) ON_CONTROL(CBN_DBLCLK, id, fn)
#define ON_CBN_SETFOCUS(id, fn) ON_CONTROL(CBN_SETFOCUS, id, fn)
#define ON_CBN_KILLFOCUS(id, fn) ON_CONTROL(CBN_KILLFOCUS, id, fn)
#define ON_CBN_EDITCHANGE(id, fn) ON_CONTROL(CBN_EDITCHANGE, id, fn)
#define ON_CBN_EDITUPDATE(id, fn) ON_CONTROL(CBN_EDITUPDATE, id, fn)
#define ON_CBN_DROPDOWN(id, fn) ON_CONTROL(CBN_DROPDOWN, id, fn)
#define ON_CBN_CLOSEUP(id, fn) ON_CONTROL(CBN_CLOSEUP, id, fn)
#define ON_CBN_SELENDOK(id, fn) ON_CONTROL(CBN_SELENDOK, id, fn)
#define ON_CBN_SELENDCANCEL(id, fn) ON_CONTROL(CBN_SELENDCANCEL, id, fn)
#define ON_LBN_SELCHANGE(id, fn) ON_CONTROL(LBN_SELCHANGE, id, fn)
#define ON_LBN_DBLCLK(id, fn) ON_CONTROL(LBN_DBLCLK, id, fn)
#define ON_LBN_SETFOCUS(id, fn) ON_CONTROL(LBN_SETFOCUS, id, fn)
#define ON_LBN_KILLFOCUS(id, fn) ON_CONTROL(LBN_KILLFOCUS, id, fn)
#define ON_LBN_SELCANCEL(id, fn) ON_CONTROL(LBN_SELCANCEL, id, fn)
#define ON_STN_CLICKED(id, fn) ON_CONTROL(STN_CLICKED, id, fn)
