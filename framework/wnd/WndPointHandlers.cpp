// The base handlers that take a point: the framework's own handling is the original procedure.
#include "framework/wnd/Wnd.h"

#include "framework/gdi/Rect.h"

LRESULT CWnd::OnNcHitTest(CPoint) {
  return Default();
}

void CWnd::OnNcLButtonDown(UINT, CPoint) {
  Default();
}

void CWnd::OnNcLButtonUp(UINT, CPoint) {
  Default();
}

void CWnd::OnNcLButtonDblClk(UINT, CPoint) {
  Default();
}

void CWnd::OnNcRButtonDown(UINT, CPoint) {
  Default();
}

void CWnd::OnNcRButtonUp(UINT, CPoint) {
  Default();
}

void CWnd::OnNcMouseMove(UINT, CPoint) {
  Default();
}

void CWnd::OnMouseMove(UINT, CPoint) {
  Default();
}

void CWnd::OnLButtonDown(UINT, CPoint) {
  Default();
}

void CWnd::OnLButtonUp(UINT, CPoint) {
  Default();
}

void CWnd::OnLButtonDblClk(UINT, CPoint) {
  Default();
}

void CWnd::OnRButtonDown(UINT, CPoint) {
  Default();
}

void CWnd::OnRButtonUp(UINT, CPoint) {
  Default();
}

void CWnd::OnRButtonDblClk(UINT, CPoint) {
  Default();
}

void CWnd::OnMButtonDown(UINT, CPoint) {
  Default();
}

void CWnd::OnMButtonUp(UINT, CPoint) {
  Default();
}

BOOL CWnd::OnMouseWheel(UINT, short, CPoint) {
  return static_cast<BOOL>(Default());
}

void CWnd::OnContextMenu(CWnd*, CPoint) {
  Default();
}
