#include "toolkit/widgets/WgWellButton.h"

#include "framework/dialogs/ColorDialog.h"
#include "framework/dialogs/DataExchange.h"
#include "framework/wnd/MessageMap.h"

IMPLEMENT_DYNAMIC(CWgWellButton, CWgOwnerDrawButton)

BEGIN_MESSAGE_MAP(CWgWellButton, CWgOwnerDrawButton)
  ON_MESSAGE(WM_WG_COLORCHOSEN, OnColorChosen)
  ON_MESSAGE(WM_WG_OTHERCOLOR, OnOtherColor)
END_MESSAGE_MAP()

namespace {
BOOL RunColorDialog(CWnd* pOwner, COLORREF& color, DWORD flags) {
  CColorDialog dialog(color, flags, pOwner);
  if (dialog.DoModal() != IDOK) return FALSE;
  color = dialog.GetColor();
  return TRUE;
}
CWgWellButton::ColorDialogProc g_colorDialog = RunColorDialog;
}  // namespace

void CWgWellButton::SetColorDialogProc(ColorDialogProc proc) {
  g_colorDialog = proc ? proc : RunColorDialog;
}

CWgWellButton::CWgWellButton() {
  LOGPALETTE palette = {0x300, 1, {{0, 0, 0, 0}}};
  m_hPalette = ::CreatePalette(&palette);
}

CWgWellButton::~CWgWellButton() {
  if (m_dropDown.m_hWnd) m_dropDown.DestroyWindow();
  if (m_hPalette) ::DeleteObject(m_hPalette);
}

void CWgWellButton::SetColor(COLORREF color) {
  m_color = color & 0xFFFFFF;
  if (m_hPalette) {
    PALETTEENTRY entry = {GetRValue(m_color), GetGValue(m_color), GetBValue(m_color), 0};
    ::SetPaletteEntries(m_hPalette, 0, 1, &entry);
  }
  if (m_hWnd) Invalidate(FALSE);
}

void CWgWellButton::PrepareDraw(HDC hdc) {
  if (!m_hPalette) return;
  m_hOldPalette = ::SelectPalette(hdc, m_hPalette, FALSE);
  ::RealizePalette(hdc);
}

void CWgWellButton::RestoreDraw(HDC hdc) {
  if (m_hOldPalette) ::SelectPalette(hdc, m_hOldPalette, FALSE);
  m_hOldPalette = nullptr;
}

void CWgWellButton::DrawContents(HDC hdc, const CRect& rect, UINT itemState) {
  CDC* dc = CDC::FromHandle(hdc);
  BOOL disabled = (itemState & ODS_DISABLED) != 0;
  // The arrow: a 5 by 3 triangle whose left edge is 7 pixels from the right, centred.
  COLORREF arrow = ::GetSysColor(disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT);
  int ax = rect.right - 7, ay = rect.top + (rect.Height() - 3) / 2;
  for (int i = 0; i < 3; ++i) dc->FillSolidRect(ax + i, ay + i, 5 - 2 * i, 1, arrow);
  // Two-line separator to the left of the arrow.
  int sx = ax - 4;
  dc->FillSolidRect(sx, rect.top + 2, 1, rect.Height() - 4, ::GetSysColor(COLOR_BTNSHADOW));
  dc->FillSolidRect(sx + 1, rect.top + 2, 1, rect.Height() - 4, ::GetSysColor(COLOR_BTNHIGHLIGHT));
  if (disabled) return;
  CRect swatch(rect.left + 3, rect.top + 3, sx - 3, rect.bottom - 3);
  if (swatch.Width() <= 2 || swatch.Height() <= 2) return;
  dc->Draw3dRect(&swatch, RGB(0, 0, 0), RGB(0, 0, 0));
  swatch.DeflateRect(1, 1);
  // PALETTEINDEX picks the one entry of our palette, which holds the colour.
  dc->FillSolidRect(&swatch, m_hPalette ? PALETTERGB(GetRValue(m_color), GetGValue(m_color),
                                                     GetBValue(m_color))
                                        : m_color);
}

void CWgWellButton::OnClickAction() {
  if (m_dropDown.m_hWnd) return;
  CRect rect;
  GetWindowRect(&rect);
  // As many rows as the standard colours need in the set number of columns.
  int columns = m_nColumns > 0 ? m_nColumns : 1;
  m_dropDown.Create(rect, this, GetCurrentColor(), columns, (20 + columns - 1) / columns, m_bOther);
}

LRESULT CWgWellButton::OnColorChosen(WPARAM, LPARAM lParam) {
  SetColor(static_cast<COLORREF>(lParam));
  UpdateWindow();
  // The parent hears the button's own id, not the drop-down's 0.
  CWnd* parent = GetParent();
  if (parent) parent->SendMessage(WM_WG_COLORCHOSEN, GetDlgCtrlID(), static_cast<LPARAM>(m_color));
  return 0;
}

LRESULT CWgWellButton::OnOtherColor(WPARAM, LPARAM) {
  COLORREF color = GetCurrentColor();
  if (g_colorDialog(this, color, GetColorDialogFlags()))
    OnColorChosen(0, static_cast<LPARAM>(color));
  return 0;
}

void DDX_ColorWell(CDataExchange* pDX, int nIDC, COLORREF& color) {
  HWND hWnd = pDX->PrepareCtrl(nIDC);
  CWgWellButton* button = dynamic_cast<CWgWellButton*>(CWnd::FromHandlePermanent(hWnd));
  if (!button) return;
  if (pDX->m_bSaveAndValidate) color = button->GetColor();
  else button->SetColor(color);
}
