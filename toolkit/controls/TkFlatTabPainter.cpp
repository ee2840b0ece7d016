#include "toolkit/controls/TkFlatTabPainter.h"

#include "toolkit/controls/TkControlFonts.h"
#include "toolkit/gdi/ColorValue.h"

COLORREF TkTabSeparatorColor() {
  return ColorValue(::GetSysColor(COLOR_BTNSHADOW)).Blend(RGB(64, 64, 64), 40);
}

COLORREF TkTabStripColor() {
  return ColorValue(::GetSysColor(COLOR_BTNFACE)).Blend(::GetSysColor(COLOR_WINDOW), 40);
}

CTkFlatTabPainter::CTkFlatTabPainter() : m_cxEdge(::GetSystemMetrics(SM_CYEDGE)) {
  CreatePens();
}

void CTkFlatTabPainter::CreatePens() {
  m_penFrame.DeleteObject();
  m_penLight.DeleteObject();
  m_penFace.DeleteObject();
  m_penSeparator.DeleteObject();
  m_penFrame.CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_WINDOWFRAME));
  m_penLight.CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_WINDOW));
  m_penFace.CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNFACE));
  m_penSeparator.CreatePen(PS_SOLID, 1, TkTabSeparatorColor());
}

CRect CTkFlatTabPainter::ChildRectFor(const CRect& rcClient, DWORD dwStyle, int w, int h,
                                      int nRows) {
  CRect rc = rcClient;
  if (dwStyle & TCS_VERTICAL) {
    if (dwStyle & TCS_RIGHT) {
      rc.top += 3, rc.left += 3, rc.right -= w * nRows + 5, rc.bottom -= 3;
    } else {
      rc.top += 3, rc.left += 5 + w * nRows, rc.right -= 3, rc.bottom -= 3;
    }
  } else if (dwStyle & TCS_BOTTOM) {
    rc.top += 3, rc.left += 3, rc.right -= 3, rc.bottom -= h * nRows + 5;
  } else {
    rc.top += 5 + h * nRows, rc.left += 3, rc.right -= 3, rc.bottom -= 3;
  }
  return rc;
}

void CTkFlatTabPainter::GetChildRect(CRect& rect) const {
  rect = CRect(0, 0, 0, 0);
  int nSel = m_pTab ? m_pTab->GetCurSel() : -1;
  if (nSel < 0) return;
  CRect rcClient, rcItem;
  m_pTab->GetClientRect(&rcClient);
  m_pTab->GetItemRect(nSel, &rcItem);
  int nRows = static_cast<int>(m_pTab->SendMessage(TCM_GETROWCOUNT));
  rect = ChildRectFor(rcClient, m_pTab->GetStyle(), rcItem.Width(), rcItem.Height(), nRows);
}

void CTkFlatTabPainter::DrawLabels(CDC* pDC, const CRect& rcSel, BOOL bVertical) {
  DWORD dwStyle = m_pTab->GetStyle();
  BOOL bRight = (dwStyle & TCS_RIGHT) != 0;
  int nSel = m_pTab->GetCurSel();
  HIMAGELIST hImages = reinterpret_cast<HIMAGELIST>(m_pTab->SendMessage(TCM_GETIMAGELIST));
  pDC->SetBkMode(TRANSPARENT);
  for (int i = 0; i < m_pTab->GetItemCount(); ++i) {
    CRect rc;
    m_pTab->GetItemRect(i, &rc);
    char szText[65] = "";
    TCITEMA item = {};
    item.mask = TCIF_TEXT | TCIF_IMAGE;
    item.pszText = szText;
    item.cchTextMax = sizeof szText - 1;
    m_pTab->GetItem(i, &item);
    CRect rcText = rc;
    if (hImages && item.iImage >= 0) {
      int cx = 0, cy = 0;
      ImageList_GetIconSize(hImages, &cx, &cy);
      if (bVertical) {
        ImageList_Draw(hImages, item.iImage, pDC->GetSafeHdc(), rc.left + m_cxEdge, rc.top + m_cxEdge, ILD_TRANSPARENT);
        rcText.top += cy + m_cxEdge;
      } else {
        ImageList_Draw(hImages, item.iImage, pDC->GetSafeHdc(), rc.left + 2 + m_cxEdge, rc.top + m_cxEdge, ILD_TRANSPARENT);
        rcText.left += cx + m_cxEdge;
      }
    }
    BOOL bSelected = i == nSel;
    BOOL bBold = bSelected && m_bBoldSelected;
    pDC->SetTextColor(bSelected ? ::GetSysColor(COLOR_BTNTEXT) : TkTabSeparatorColor());
    HFONT hFont = bVertical ? TkGetVertFont(bRight, bBold) : (bBold ? TkGetBoldFont() : TkGetNormalFont());
    HGDIOBJ hOld = ::SelectObject(pDC->GetSafeHdc(), hFont);
    if (bVertical) {
      SIZE size = {};
      ::GetTextExtentPoint32A(pDC->GetSafeHdc(), szText, lstrlenA(szText), &size);
      int y = rcText.bottom - (rcText.Height() - size.cx) / 2;
      ::ExtTextOutA(pDC->GetSafeHdc(), rcText.left + m_cxEdge, y, ETO_CLIPPED, &rcText, szText,
                    static_cast<UINT>(lstrlenA(szText)), nullptr);
    } else {
      ::DrawTextA(pDC->GetSafeHdc(), szText, -1, &rcText, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    ::SelectObject(pDC->GetSafeHdc(), hOld);
    if (i != nSel && i != nSel - 1) {
      CPen* pOld = pDC->SelectObject(&m_penSeparator);
      if (bVertical) {
        pDC->MoveTo(rc.left + 2, rc.bottom);
        pDC->LineTo(rc.right - 2, rc.bottom);
      } else {
        pDC->MoveTo(rc.right, rc.top + 4);
        pDC->LineTo(rc.right, rc.bottom - 2);
      }
      pDC->SelectObject(pOld);
    }
  }
  (void)rcSel;
}

void CTkFlatTabPainter::DrawTopTabs(CDC* pDC, const CRect& rcClient, const CRect& sel) {
  int y = rcClient.top + sel.Height();
  pDC->FillSolidRect(&rcClient, TkTabStripColor());
  CPen* pOld = pDC->SelectObject(&m_penLight);
  pDC->MoveTo(rcClient.left, y);
  pDC->LineTo(rcClient.right, y);
  pDC->FillSolidRect(&sel, ::GetSysColor(COLOR_BTNFACE));
  pDC->MoveTo(sel.left, sel.top);
  pDC->LineTo(sel.left, y);
  pDC->MoveTo(sel.right, sel.top);
  pDC->LineTo(sel.left, sel.top);
  pDC->SelectObject(&m_penFrame);
  pDC->MoveTo(sel.right, y - 1);
  pDC->LineTo(sel.right, sel.top - 1);
  pDC->SelectObject(&m_penFace);
  pDC->MoveTo(sel.left + 1, y);
  pDC->LineTo(sel.right, y);
  pDC->SelectObject(pOld);
  DrawLabels(pDC, sel, FALSE);
}

void CTkFlatTabPainter::DrawBottomTabs(CDC* pDC, const CRect& rcClient, const CRect& sel) {
  pDC->FillSolidRect(&rcClient, TkTabStripColor());
  CPen* pOld = pDC->SelectObject(&m_penFrame);
  pDC->MoveTo(rcClient.left, sel.top);
  pDC->LineTo(rcClient.right, sel.top);
  pDC->FillSolidRect(&sel, ::GetSysColor(COLOR_BTNFACE));
  pDC->MoveTo(sel.right, sel.top + 1);
  pDC->LineTo(sel.right, sel.bottom - 1);
  pDC->LineTo(sel.left, sel.bottom - 1);
  pDC->SelectObject(&m_penLight);
  pDC->MoveTo(sel.left, sel.top);
  pDC->LineTo(sel.left, sel.bottom);
  pDC->SelectObject(&m_penFace);
  pDC->MoveTo(sel.right - 1, sel.bottom - 2);
  pDC->LineTo(sel.left, sel.bottom - 2);
  pDC->SelectObject(pOld);
  DrawLabels(pDC, sel, FALSE);
}

void CTkFlatTabPainter::DrawLeftTabs(CDC* pDC, const CRect& rcClient, const CRect& sel) {
  pDC->FillSolidRect(&rcClient, TkTabStripColor());
  CPen* pOld = pDC->SelectObject(&m_penLight);
  pDC->MoveTo(sel.right, rcClient.top);
  pDC->LineTo(sel.right, rcClient.bottom);
  pDC->FillSolidRect(&sel, ::GetSysColor(COLOR_BTNFACE));
  pDC->MoveTo(sel.left, sel.top);
  pDC->LineTo(sel.left, sel.bottom);
  pDC->MoveTo(sel.right, sel.top);
  pDC->LineTo(sel.left, sel.top);
  pDC->SelectObject(&m_penFrame);
  pDC->MoveTo(sel.left, sel.bottom);
  pDC->LineTo(sel.right, sel.bottom);
  pDC->SelectObject(&m_penFace);
  pDC->MoveTo(sel.right, sel.top);
  pDC->LineTo(sel.right, sel.bottom);
  pDC->SelectObject(pOld);
  DrawLabels(pDC, sel, TRUE);
}

void CTkFlatTabPainter::DrawRightTabs(CDC* pDC, const CRect& rcClient, const CRect& sel) {
  pDC->FillSolidRect(&rcClient, TkTabStripColor());
  CPen* pOld = pDC->SelectObject(&m_penFrame);
  pDC->MoveTo(sel.left, rcClient.top);
  pDC->LineTo(sel.left, rcClient.bottom);
  pDC->FillSolidRect(&sel, ::GetSysColor(COLOR_BTNFACE));
  pDC->MoveTo(sel.right, sel.top);
  pDC->LineTo(sel.right, sel.bottom + 1);
  pDC->MoveTo(sel.left, sel.bottom);
  pDC->LineTo(sel.right, sel.bottom);
  pDC->SelectObject(&m_penLight);
  pDC->MoveTo(sel.right, sel.top);
  pDC->LineTo(sel.left, sel.top);
  pDC->SelectObject(&m_penFace);
  pDC->MoveTo(sel.left, sel.top);
  pDC->LineTo(sel.left, sel.bottom);
  pDC->SelectObject(pOld);
  DrawLabels(pDC, sel, TRUE);
}

void CTkFlatTabPainter::PadLabel(CString& strLabel) const {
  if (strLabel.IsEmpty() || !m_pTab) return;
  BOOL bVertical = (m_pTab->GetStyle() & TCS_VERTICAL) != 0;
  HFONT hNormal = TkGetVertFont(bVertical, FALSE);
  HFONT hBold = TkGetVertFont(bVertical, TRUE);
  HDC hdc = ::GetDC(m_pTab->m_hWnd);
  auto width = [&](HFONT hFont) {
    HGDIOBJ hOld = ::SelectObject(hdc, hFont);
    SIZE size = {};
    ::GetTextExtentPoint32A(hdc, strLabel, strLabel.GetLength(), &size);
    ::SelectObject(hdc, hOld);
    return size.cx;
  };
  int nBold = width(hBold);
  BOOL bEnd = TRUE;
  for (int guard = 0; width(hNormal) < nBold && guard < 64; ++guard) {
    strLabel = bEnd ? strLabel + " " : " " + strLabel;
    bEnd = !bEnd;
  }
  ::ReleaseDC(m_pTab->m_hWnd, hdc);
}

void CTkFlatTabPainter::ApplyTabFont() {
  if (!m_pTab || !m_pTab->GetSafeHwnd()) return;
  DWORD dwStyle = m_pTab->GetStyle();
  HFONT hFont = (dwStyle & TCS_VERTICAL) ? TkGetVertFont((dwStyle & TCS_RIGHT) != 0, FALSE)
                                         : TkGetNormalFont();
  TkApplyFont(m_pTab->m_hWnd, hFont, TRUE);
}
