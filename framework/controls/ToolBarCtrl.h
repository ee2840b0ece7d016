// CToolBarCtrl: the common controls' toolbar ("ToolbarWindow32").
#pragma once
#include "framework/wnd/Wnd.h"

class CToolBarCtrl : public CWnd {
 public:
  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    if (!CWnd::Create(TOOLBARCLASSNAMEA, nullptr, dwStyle, rect, pParentWnd, nID)) return FALSE;
    SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    return TRUE;
  }
  BOOL AddButtons(int nNumButtons, const TBBUTTON* p) { return static_cast<BOOL>(SendMessage(TB_ADDBUTTONSA, nNumButtons, reinterpret_cast<LPARAM>(p))); }
  BOOL InsertButton(int nIndex, const TBBUTTON* p) { return static_cast<BOOL>(SendMessage(TB_INSERTBUTTONA, nIndex, reinterpret_cast<LPARAM>(p))); }
  BOOL DeleteButton(int nIndex) { return static_cast<BOOL>(SendMessage(TB_DELETEBUTTON, nIndex)); }
  int GetButtonCount() const { return static_cast<int>(SendMessage(TB_BUTTONCOUNT)); }
  BOOL GetButton(int nIndex, TBBUTTON* p) const { return static_cast<BOOL>(SendMessage(TB_GETBUTTON, nIndex, reinterpret_cast<LPARAM>(p))); }
  int CommandToIndex(UINT nID) const { return static_cast<int>(SendMessage(TB_COMMANDTOINDEX, nID)); }
  BOOL EnableButton(int nID, BOOL bEnable = TRUE) { return static_cast<BOOL>(SendMessage(TB_ENABLEBUTTON, nID, MAKELPARAM(bEnable, 0))); }
  BOOL CheckButton(int nID, BOOL bCheck = TRUE) { return static_cast<BOOL>(SendMessage(TB_CHECKBUTTON, nID, MAKELPARAM(bCheck, 0))); }
  BOOL PressButton(int nID, BOOL bPress = TRUE) { return static_cast<BOOL>(SendMessage(TB_PRESSBUTTON, nID, MAKELPARAM(bPress, 0))); }
  BOOL HideButton(int nID, BOOL bHide = TRUE) { return static_cast<BOOL>(SendMessage(TB_HIDEBUTTON, nID, MAKELPARAM(bHide, 0))); }
  BOOL IsButtonEnabled(int nID) const { return static_cast<BOOL>(SendMessage(TB_ISBUTTONENABLED, nID)); }
  BOOL IsButtonChecked(int nID) const { return static_cast<BOOL>(SendMessage(TB_ISBUTTONCHECKED, nID)); }
  int GetState(int nID) const { return static_cast<int>(SendMessage(TB_GETSTATE, nID)); }
  BOOL SetState(int nID, UINT nState) { return static_cast<BOOL>(SendMessage(TB_SETSTATE, nID, MAKELPARAM(nState, 0))); }
  BOOL GetItemRect(int nIndex, LPRECT r) const { return static_cast<BOOL>(SendMessage(TB_GETITEMRECT, nIndex, reinterpret_cast<LPARAM>(r))); }
  BOOL GetButtonInfo(int nID, TBBUTTONINFOA* p) const { return SendMessage(TB_GETBUTTONINFOA, nID, reinterpret_cast<LPARAM>(p)) != -1; }
  BOOL SetButtonInfo(int nID, TBBUTTONINFOA* p) { return static_cast<BOOL>(SendMessage(TB_SETBUTTONINFOA, nID, reinterpret_cast<LPARAM>(p))); }
  BOOL SetButtonSize(SIZE size) { return static_cast<BOOL>(SendMessage(TB_SETBUTTONSIZE, 0, MAKELPARAM(size.cx, size.cy))); }
  BOOL SetBitmapSize(SIZE size) { return static_cast<BOOL>(SendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(size.cx, size.cy))); }
  HIMAGELIST SetImageList(HIMAGELIST h) { return reinterpret_cast<HIMAGELIST>(SendMessage(TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(h))); }
  HIMAGELIST SetDisabledImageList(HIMAGELIST h) { return reinterpret_cast<HIMAGELIST>(SendMessage(TB_SETDISABLEDIMAGELIST, 0, reinterpret_cast<LPARAM>(h))); }
  HIMAGELIST SetHotImageList(HIMAGELIST h) { return reinterpret_cast<HIMAGELIST>(SendMessage(TB_SETHOTIMAGELIST, 0, reinterpret_cast<LPARAM>(h))); }
  int AddStrings(LPCSTR lpszStrings) { return static_cast<int>(SendMessage(TB_ADDSTRINGA, 0, reinterpret_cast<LPARAM>(lpszStrings))); }
  DWORD SetExtendedStyle(DWORD dwExStyle) { return static_cast<DWORD>(SendMessage(TB_SETEXTENDEDSTYLE, 0, dwExStyle)); }
  DWORD GetExtendedStyle() const { return static_cast<DWORD>(SendMessage(TB_GETEXTENDEDSTYLE)); }
  void SetOwner(CWnd* pWnd) { SendMessage(TB_SETPARENT, reinterpret_cast<WPARAM>(pWnd ? pWnd->m_hWnd : nullptr)); }
  int HitTest(LPPOINT ppt) const { return static_cast<int>(SendMessage(TB_HITTEST, 0, reinterpret_cast<LPARAM>(ppt))); }
  void AutoSize() { SendMessage(TB_AUTOSIZE); }
  BOOL GetMaxSize(LPSIZE pSize) const { return static_cast<BOOL>(SendMessage(TB_GETMAXSIZE, 0, reinterpret_cast<LPARAM>(pSize))); }
  HWND GetToolTips() const { return reinterpret_cast<HWND>(SendMessage(TB_GETTOOLTIPS)); }
  void SetToolTips(CWnd* pTip) { SendMessage(TB_SETTOOLTIPS, reinterpret_cast<WPARAM>(pTip ? pTip->m_hWnd : nullptr)); }
};
