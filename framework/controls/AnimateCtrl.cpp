#include "framework/controls/AnimateCtrl.h"

#include "framework/app/AfxResource.h"

BOOL CAnimateCtrl::Open(UINT nID) {
  // The clip is read from the current resource module; the control loads it from there.
  HINSTANCE hInst = AfxGetResourceHandle();
  return static_cast<BOOL>(::SendMessageA(m_hWnd, ACM_OPENA, reinterpret_cast<WPARAM>(hInst),
                                          reinterpret_cast<LPARAM>(MAKEINTRESOURCEA(nID))));
}
