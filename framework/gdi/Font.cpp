#include <cstring>

#include "framework/gdi/Dc.h"
#include "framework/gdi/GdiObject.h"

CFont* PASCAL CFont::FromHandle(HFONT hFont) {
  return static_cast<CFont*>(CGdiObject::FromHandle(hFont));
}

BOOL CFont::CreateFontIndirect(const LOGFONTA* lpLogFont) {
  return lpLogFont != nullptr && AttachNew(::CreateFontIndirectA(lpLogFont));
}

BOOL CFont::CreateFont(int nHeight, int nWidth, int nEscapement, int nOrientation, int nWeight,
                       BYTE bItalic, BYTE bUnderline, BYTE cStrikeOut, BYTE nCharSet,
                       BYTE nOutPrecision, BYTE nClipPrecision, BYTE nQuality, BYTE nPitchAndFamily,
                       LPCSTR lpszFacename) {
  return AttachNew(::CreateFontA(nHeight, nWidth, nEscapement, nOrientation, nWeight, bItalic,
                                 bUnderline, cStrikeOut, nCharSet, nOutPrecision, nClipPrecision,
                                 nQuality, nPitchAndFamily, lpszFacename));
}

BOOL CFont::CreatePointFont(int nPointSize, LPCSTR lpszFaceName, CDC* pDC) {
  LOGFONTA logFont{};
  logFont.lfCharSet = DEFAULT_CHARSET;
  logFont.lfHeight = nPointSize;
  // A face name longer than the field is cut, never written past it.
  if (lpszFaceName != nullptr) lstrcpynA(logFont.lfFaceName, lpszFaceName, LF_FACESIZE);
  return CreatePointFontIndirect(&logFont, pDC);
}

// lfHeight in tenths of a point becomes the context's logical height: device pixels from the
// vertical resolution, then back through the mapping mode.
BOOL CFont::CreatePointFontIndirect(const LOGFONTA* lpLogFont, CDC* pDC) {
  if (lpLogFont == nullptr) return FALSE;
  HDC hDC = pDC != nullptr ? pDC->m_hAttribDC : ::GetDC(nullptr);
  if (hDC == nullptr) return FALSE;
  LOGFONTA logFont = *lpLogFont;
  POINT pt = {0, ::MulDiv(::GetDeviceCaps(hDC, LOGPIXELSY), logFont.lfHeight, 720)};
  POINT ptOrg = {0, 0};
  ::DPtoLP(hDC, &pt, 1);
  ::DPtoLP(hDC, &ptOrg, 1);
  logFont.lfHeight = -abs(pt.y - ptOrg.y);
  if (pDC == nullptr) ::ReleaseDC(nullptr, hDC);
  return CreateFontIndirect(&logFont);
}

int CFont::GetLogFont(LOGFONTA* pLogFont) const {
  return GetObject(sizeof(LOGFONTA), pLogFont);
}
