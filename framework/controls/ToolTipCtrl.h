// CToolTipCtrl: tool tips ("tooltips_class32") for tools of a window.
#pragma once
#include "framework/wnd/Wnd.h"

class CToolTipCtrl : public CWnd {
 public:
  BOOL Create(CWnd* pParentWnd, DWORD dwStyle = 0) {
    return CreateEx(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_NOPREFIX | dwStyle, CW_USEDEFAULT,
                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                    pParentWnd ? pParentWnd->m_hWnd : nullptr, nullptr);
  }
  // A tool for a whole window (by its handle) or a rectangle of it (by id); text, or the
  // TTN_NEEDTEXT callback when null.
  BOOL AddTool(CWnd* pWnd, LPCSTR lpszText = LPSTR_TEXTCALLBACKA, LPCRECT lpRectTool = nullptr, UINT_PTR nIDTool = 0) {
    TOOLINFOA ti = MakeInfo(pWnd, lpRectTool, nIDTool);
    ti.lpszText = const_cast<LPSTR>(lpszText);
    return static_cast<BOOL>(SendMessage(TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti)));
  }
  void DelTool(CWnd* pWnd, UINT_PTR nIDTool = 0) {
    TOOLINFOA ti = MakeInfo(pWnd, nullptr, nIDTool);
    SendMessage(TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
  }
  void UpdateTipText(LPCSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool = 0) {
    TOOLINFOA ti = MakeInfo(pWnd, nullptr, nIDTool);
    ti.lpszText = const_cast<LPSTR>(lpszText);
    SendMessage(TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&ti));
  }
  void SetToolRect(CWnd* pWnd, UINT_PTR nIDTool, LPCRECT lpRect) {
    TOOLINFOA ti = MakeInfo(pWnd, lpRect, nIDTool);
    SendMessage(TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&ti));
  }
  int GetToolCount() const { return static_cast<int>(SendMessage(TTM_GETTOOLCOUNT)); }
  void Activate(BOOL bActivate) { SendMessage(TTM_ACTIVATE, bActivate); }
  void RelayEvent(LPMSG lpMsg) { SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(lpMsg)); }
  void SetDelayTime(UINT nDelay) { SendMessage(TTM_SETDELAYTIME, TTDT_AUTOMATIC, nDelay); }
  int SetMaxTipWidth(int iWidth) { return static_cast<int>(SendMessage(TTM_SETMAXTIPWIDTH, 0, iWidth)); }
  void Pop() { SendMessage(TTM_POP); }

 private:
  static TOOLINFOA MakeInfo(CWnd* pWnd, LPCRECT lpRect, UINT_PTR nIDTool) {
    TOOLINFOA ti = {};
    ti.cbSize = sizeof ti;
    ti.hwnd = pWnd ? pWnd->m_hWnd : nullptr;
    if (lpRect) {
      ti.uId = nIDTool;
      ti.rect = *lpRect;
    } else if (nIDTool) {
      ti.uId = nIDTool;
    } else {
      ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
      ti.uId = reinterpret_cast<UINT_PTR>(ti.hwnd);
      ti.hwnd = pWnd && ::GetParent(pWnd->m_hWnd) ? ::GetParent(pWnd->m_hWnd) : ti.hwnd;
    }
    return ti;
  }
};
