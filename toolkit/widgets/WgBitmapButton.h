// CWgBitmapButton: an owner-drawn button showing a bitmap whose standard greys follow the current
// system colours (reloaded when they change). CWgMenuButton: a bitmap button whose click action
// runs after the button's own release handling.
#pragma once
#include "framework/core/String.h"
#include "toolkit/widgets/WgOwnerDrawButton.h"

class CWgBitmapButton : public CWgOwnerDrawButton {
  DECLARE_DYNAMIC(CWgBitmapButton)
 public:
  ~CWgBitmapButton() override;

  // Loads the bitmap from the toolkit's resource module; FALSE when it is missing.
  BOOL SetBitmapResource(LPCSTR lpszName);
  BOOL SetBitmapResource(UINT nID) { return SetBitmapResource(MAKEINTRESOURCEA(nID)); }
  HBITMAP GetLoadedBitmap() const { return m_hBitmap; }

  // Black, dark grey, light grey and white become button text, shadow, face and highlight.
  static HBITMAP LoadSysColorBitmap(HINSTANCE hInst, LPCSTR lpszName);

  void DrawContents(HDC hdc, const CRect& rect, UINT itemState) override;

 protected:
  BOOL Reload();
  void OnSysColorChange();
  DECLARE_MESSAGE_MAP()

  LPCSTR m_lpszName = nullptr;  // an integer resource, or points into m_name
  CString m_name;
  HBITMAP m_hBitmap = nullptr;
};

class CWgMenuButton : public CWgBitmapButton {
  DECLARE_DYNAMIC(CWgMenuButton)
 protected:
  void OnLButtonUp(UINT nFlags, CPoint point);
  DECLARE_MESSAGE_MAP()
};
