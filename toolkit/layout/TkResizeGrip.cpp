#include "toolkit/layout/TkResizeGrip.h"

namespace {
// The system's size-box bitmap (OBM_SIZE, which <windows.h> names only under OEMRESOURCE).
const UINT kSystemSizeBox = 32766;
}  // namespace

BEGIN_MESSAGE_MAP(CTkResizeGrip, CStatic)
  ON_WM_CREATE()
  ON_WM_SETCURSOR()
  ON_WM_MOUSEMOVE()
  ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

CTkResizeGrip::CTkResizeGrip() : m_hCursor(::LoadCursorA(nullptr, IDC_SIZENWSE)) {}

BOOL CTkResizeGrip::Create(CWnd* pParent) {
  return CStatic::Create(nullptr, kStyle, CRect(0, 0, 16, 16), pParent, kID);
}

int CTkResizeGrip::OnCreate(LPCREATESTRUCT lpcs) {
  if (CStatic::OnCreate(lpcs) == -1) return -1;
  // The system's own size-box picture, so the grip looks like every other one on the desktop.
  if (!m_bitmap.GetSafeHandle()) {
    m_bitmap.Attach(::LoadBitmapA(nullptr, MAKEINTRESOURCEA(kSystemSizeBox)));
  }
  SetBitmap(static_cast<HBITMAP>(m_bitmap.GetSafeHandle()));
  return 0;
}

BOOL CTkResizeGrip::OnSetCursor(CWnd*, UINT, UINT) {
  ::SetCursor(m_hCursor);
  return TRUE;
}

void CTkResizeGrip::OnMouseMove(UINT nFlags, CPoint point) {
  CStatic::OnMouseMove(nFlags, point);
  if (::GetCursor() != m_hCursor) ::SetCursor(m_hCursor);
}

void CTkResizeGrip::OnLButtonDown(UINT nFlags, CPoint point) {
  CStatic::OnLButtonDown(nFlags, point);
  ClientToScreen(&point);
  ::SendMessageA(::GetParent(m_hWnd), WM_NCLBUTTONDOWN, HTBOTTOMRIGHT,
                 MAKELPARAM(point.x, point.y));
}
