// CDC's text output and measuring.
#include <cstring>

#include "framework/core/String.h"
#include "framework/gdi/Dc.h"

namespace {

// A count of -1 means "up to the terminator"; a null string is no text at all.
int TextLength(LPCSTR lpsz, int nCount) {
  if (lpsz == nullptr) return 0;
  return nCount < 0 ? static_cast<int>(strlen(lpsz)) : nCount;
}

}  // namespace

BOOL CDC::TextOut(int x, int y, LPCSTR lpszString, int nCount) {
  return ::TextOutA(m_hDC, x, y, lpszString, TextLength(lpszString, nCount));
}

BOOL CDC::TextOut(int x, int y, const CString& str) {
  return TextOut(x, y, str, str.GetLength());
}

BOOL CDC::ExtTextOut(int x, int y, UINT nOptions, LPCRECT lpRect, LPCSTR lpszString, UINT nCount,
                     LPINT lpDxWidths) {
  return ::ExtTextOutA(m_hDC, x, y, nOptions, lpRect, lpszString,
                       lpszString != nullptr ? nCount : 0, lpDxWidths);
}

BOOL CDC::ExtTextOut(int x, int y, UINT nOptions, LPCRECT lpRect, const CString& str,
                     LPINT lpDxWidths) {
  return ExtTextOut(x, y, nOptions, lpRect, str, static_cast<UINT>(str.GetLength()), lpDxWidths);
}

CSize CDC::TabbedTextOut(int x, int y, LPCSTR lpszString, int nCount, int nTabPositions,
                         LPINT lpnTabStopPositions, int nTabOrigin) {
  LONG extent = ::TabbedTextOutA(m_hDC, x, y, lpszString, TextLength(lpszString, nCount),
                                 nTabPositions, lpnTabStopPositions, nTabOrigin);
  return CSize(static_cast<DWORD>(extent));
}

int CDC::DrawText(LPCSTR lpszString, int nCount, LPRECT lpRect, UINT nFormat) {
  if (lpszString == nullptr) return 0;
  return ::DrawTextA(m_hDC, lpszString, nCount, lpRect, nFormat);
}

int CDC::DrawText(const CString& str, LPRECT lpRect, UINT nFormat) {
  return DrawText(str, str.GetLength(), lpRect, nFormat);
}

CSize CDC::GetTextExtent(LPCSTR lpszString, int nCount) const {
  CSize size;
  ::GetTextExtentPoint32A(m_hAttribDC, lpszString, TextLength(lpszString, nCount), &size);
  return size;
}

CSize CDC::GetTextExtent(const CString& str) const {
  return GetTextExtent(str, str.GetLength());
}

CSize CDC::GetOutputTextExtent(LPCSTR lpszString, int nCount) const {
  CSize size;
  ::GetTextExtentPoint32A(m_hDC, lpszString, TextLength(lpszString, nCount), &size);
  return size;
}

CSize CDC::GetOutputTextExtent(const CString& str) const {
  return GetOutputTextExtent(str, str.GetLength());
}

CSize CDC::GetTabbedTextExtent(LPCSTR lpszString, int nCount, int nTabPositions,
                               LPINT lpnTabStopPositions) const {
  DWORD extent = ::GetTabbedTextExtentA(m_hAttribDC, lpszString, TextLength(lpszString, nCount),
                                        nTabPositions, lpnTabStopPositions);
  return CSize(extent);
}

BOOL CDC::GetTextMetrics(LPTEXTMETRICA lpMetrics) const {
  return ::GetTextMetricsA(m_hAttribDC, lpMetrics);
}

BOOL CDC::GetOutputTextMetrics(LPTEXTMETRICA lpMetrics) const {
  return ::GetTextMetricsA(m_hDC, lpMetrics);
}

int CDC::GetTextFace(int nCount, LPSTR lpszFacename) const {
  return ::GetTextFaceA(m_hAttribDC, nCount, lpszFacename);
}

int CDC::GetTextFace(CString& rString) const {
  char face[LF_FACESIZE] = "";
  int n = ::GetTextFaceA(m_hAttribDC, LF_FACESIZE, face);
  rString = face;
  return n;
}

UINT CDC::GetTextAlign() const {
  return ::GetTextAlign(m_hAttribDC);
}

UINT CDC::SetTextAlign(UINT nFlags) {
  return ::SetTextAlign(m_hDC, nFlags);
}

int CDC::GetTextCharacterExtra() const {
  return ::GetTextCharacterExtra(m_hAttribDC);
}

int CDC::SetTextCharacterExtra(int nCharExtra) {
  return ::SetTextCharacterExtra(m_hDC, nCharExtra);
}

BOOL CDC::GetCharWidth(UINT nFirstChar, UINT nLastChar, LPINT lpBuffer) const {
  return ::GetCharWidthA(m_hAttribDC, nFirstChar, nLastChar, lpBuffer);
}

BOOL CDC::GrayString(CBrush* pBrush, BOOL(CALLBACK* lpfnOutput)(HDC, LPARAM, int), LPARAM lpData,
                     int nCount, int x, int y, int nWidth, int nHeight) {
  return ::GrayStringA(m_hDC, pBrush != nullptr ? HBRUSH(*pBrush) : nullptr, lpfnOutput, lpData,
                       nCount, x, y, nWidth, nHeight);
}
