// CMyHyperLink: a static text of a dialog made into a link. It shows the text in link colours
// (underlined by option), changes colour while the mouse is over it or while it has the focus,
// shows a hand cursor and a tool tip with the address, and opens the address with the shell on a
// click or the space key; after a successful open it shows the visited colour.
#pragma once
#include "framework/controls/Static.h"
#include "framework/controls/ToolTipCtrl.h"

class CMyHyperLink : public CStatic {
 public:
  // The option word.
  enum : DWORD {
    kUnderline = 1,         // underline the text
    kHoverColour = 2,       // the hover colour while the mouse is over the control
    kSizeToText = 4,        // size the control to its text
    kOpenOnPress = 8,       // open on the button press instead of its release
    kFocusOnPress = 16,     // take the focus when pressed
    kNoHandCursor = 32,     // keep the control's own cursor
    kNoPressedColour = 64,  // no pressed colour
    kDefaultOptions = kUnderline | kSizeToText | kFocusOnPress,
  };

  // Shared by all links.
  static const COLORREF kLinkColour;
  static const COLORREF kPressedColour;
  static const COLORREF kVisitedColour;
  static const COLORREF kHoverColourValue;

  CMyHyperLink();
  ~CMyHyperLink() override;

  // On a live control the size and the tool tip follow the new address; the text stays.
  void SetURL(LPCSTR lpszURL);
  const CString& GetURL() const { return m_strURL; }

  // FALSE, changing nothing, when an option is both removed and added.
  BOOL SetLinkOptions(DWORD dwRemove, DWORD dwAdd, BOOL bRedraw = TRUE);
  DWORD GetLinkOptions() const { return m_dwOptions; }

  // The link font is made from this one (underlined by option) and the control sized to it.
  void SetFont(CFont* pFont, BOOL bRedraw = TRUE);

  BOOL IsVisited() const { return m_bVisited; }
  BOOL IsMouseOver() const { return m_bOverControl; }
  BOOL IsPressed() const { return m_bPressed; }
  // The text colour the control paints in now.
  COLORREF CurrentColour() const;
  HCURSOR GetLinkCursor() const { return m_hLinkCursor; }
  CToolTipCtrl& GetToolTip() { return m_toolTip; }

  // Opens the address: marks the link visited on success; otherwise beeps and tells the user
  // why. TRUE on success.
  BOOL GotoURL();

  // What opens an address: the shell's result code (above 32 is success). Tests put their own
  // in place of the shell; null restores it. Returns the previous one.
  using OpenFunction = int (*)(LPCSTR lpszURL, int nShowCmd);
  static OpenFunction SetOpenFunction(OpenFunction function);

  BOOL PreTranslateMessage(MSG* pMsg) override;

 protected:
  void PreSubclassWindow() override;

  HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);
  LRESULT OnNcHitTest(CPoint point);
  void OnMouseMove(UINT nFlags, CPoint point);
  void OnLButtonDown(UINT nFlags, CPoint point);
  void OnLButtonUp(UINT nFlags, CPoint point);
  void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  void OnSetFocus(CWnd* pOldWnd);
  void OnKillFocus(CWnd* pNewWnd);
  BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  DECLARE_MESSAGE_MAP()

 private:
  // A copy of the given font with the underline of option 1; set on the control. FALSE when the
  // font cannot be read.
  BOOL BuildLinkFont(HFONT hFrom);
  // Option 4: the window fitted to its text in the link font, its borders kept.
  void PositionWindow();
  void UpdateToolTipRect();

  CString m_strURL;
  DWORD m_dwOptions = kDefaultOptions;
  HFONT m_hLinkFont = nullptr;
  HCURSOR m_hLinkCursor = nullptr;
  CToolTipCtrl m_toolTip;
  BOOL m_bOverControl = FALSE;
  BOOL m_bVisited = FALSE;
  BOOL m_bPressed = FALSE;
};
