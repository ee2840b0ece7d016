// CWgOwnerDrawButton: the base of the toolkit's owner-drawn push buttons. It draws into a memory
// bitmap and copies the result in one go; derived buttons draw their contents and run their own
// click action. The button style is kept owner-drawn whatever a caller sets.
#pragma once
#include "framework/controls/Button.h"

// Sent to the parent (or owner) of a colour well: wParam the sender's control id, lParam the
// colour. The other one asks for another colour than the grid offers (no arguments).
constexpr UINT WM_WG_COLORCHOSEN = WM_USER + 101;
constexpr UINT WM_WG_OTHERCOLOR = WM_USER + 102;

class CWgOwnerDrawButton : public CButton {
  DECLARE_DYNAMIC(CWgOwnerDrawButton)
 public:
  CWgOwnerDrawButton();

  BOOL Create(LPCSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParent, UINT nID,
              BOOL bDefault = FALSE);
  BOOL SubclassDlgItem(UINT nID, CWnd* pParent, BOOL bDefault = FALSE);

  BOOL IsNewLook() const { return m_bNewLook; }
  void SetNewLook(BOOL bNewLook) { m_bNewLook = bNewLook; }
  BOOL IsDefault() const { return m_bDefault; }

  void DrawItem(LPDRAWITEMSTRUCT lpDIS) override;

  // The drawing steps; rect is the whole button, in the memory bitmap's coordinates.
  virtual void OnClickAction() {}
  virtual void PrepareDraw(HDC) {}
  // Draws the face and borders; returns the contents' rectangle (moved when pushed).
  virtual CRect DrawFrame(HDC hdc, const CRect& rect, BOOL bPushed);
  virtual void RestoreDraw(HDC) {}
  virtual void DrawFocus(HDC hdc, const CRect& rect);
  virtual void DrawFocusChange(HDC hdc, const CRect& rect);
  virtual void DrawContents(HDC, const CRect&, UINT /*itemState*/) {}

  // Draws a monochrome mask of the bitmap embossed, as the system draws disabled images.
  static void DrawDisabledBitmap(HDC hdc, HBITMAP hBitmap, int x, int y, int cx, int cy);

 protected:
  LRESULT OnSetStyle(WPARAM wParam, LPARAM lParam);
  UINT OnGetDlgCode();
  void OnLButtonUp(UINT nFlags, CPoint point);
  void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
  DECLARE_MESSAGE_MAP()

  BOOL m_bNewLook;
  BOOL m_bDefault = FALSE;
};
