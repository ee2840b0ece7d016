#include "toolkit/widgets/TkBrowseBtn.h"

#include <commctrl.h>

#include <utility>

#include "framework/wnd/MessageMap.h"
#include "resources/ids/ToolkitWidgetsIds.h"
#include "toolkit/core/ToolkitData.h"
#include "toolkit/core/ToolkitHelpers.h"
#include "toolkit/widgets/TkBrowseEdit.h"
#include "toolkit/widgets/TkItemEdit.h"

// The framework's button carries no class record of its own: the chain goes on at the window.
IMPLEMENT_DYNAMIC(CTkBrowseBtn, CWnd)

BEGIN_MESSAGE_MAP(CTkBrowseBtn, CButton)
  ON_WM_KILLFOCUS()
  ON_CONTROL_REFLECT(BN_CLICKED, OnClicked)
END_MESSAGE_MAP()

namespace {
constexpr int kImageWidth = 11;   // the images of the toolkit's strip are this wide
constexpr int kArrowImage = 4;    // the drop-down arrow in that strip
constexpr int kArrowSize = 10;    // drawn this big
constexpr COLORREF kMagenta = RGB(255, 0, 255);

HICON LoadArrowIcon() {
  HIMAGELIST images =
      ::ImageList_LoadImageA(TkResourceModule(), MAKEINTRESOURCEA(IDB_TK_BUTTONIMAGES),
                             kImageWidth, 0, kMagenta, IMAGE_BITMAP, LR_CREATEDIBSECTION);
  if (!images) return nullptr;
  HICON icon = ::ImageList_GetIcon(images, kArrowImage, ILD_NORMAL);
  ::ImageList_Destroy(images);
  return icon;
}
}  // namespace

CTkBrowseBtn::CTkBrowseBtn() : m_hArrow(LoadArrowIcon()) {}

CTkBrowseBtn::~CTkBrowseBtn() {
  if (m_hArrow) ::DestroyIcon(m_hArrow);
}

BOOL CTkBrowseBtn::Create(CTkBrowseEdit* pEdit, UINT nBrowseStyle, UINT nID, UINT nMenuId,
                          int nPopupIndex) {
  m_pEdit = pEdit;
  m_nBrowseStyle = nBrowseStyle;
  m_nMenuId = nMenuId;
  m_nPopupIndex = nPopupIndex;
  if (!pEdit || !pEdit->m_hWnd) return FALSE;
  UINT kind = nBrowseStyle & TKBROWSE_KINDMASK;
  CString text;
  if (kind == TKBROWSE_FOLDER || kind == TKBROWSE_FILE)
    text = TkLoadString(IDS_TK_BROWSE_BUTTON);
  else if (kind != TKBROWSE_POPUPMENU)
    return FALSE;
  DWORD style = WS_CHILD | WS_TABSTOP | BS_OWNERDRAW | BS_CENTER | BS_VCENTER;
  if (pEdit->IsWindowVisible()) style |= WS_VISIBLE;
  CRect empty(0, 0, 0, 0);
  if (!CButton::Create(text, style, empty, pEdit->GetParent(), nID)) return FALSE;
  if (!text.IsEmpty()) ::SendMessageA(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(ToolkitData().GetBarFont()), FALSE);
  // Right after the edit in the tab order.
  ::SetWindowPos(m_hWnd, pEdit->m_hWnd, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  EnableWindow(pEdit->IsWindowEnabled());
  return TRUE;
}

void CTkBrowseBtn::OnClicked() {
  if (m_pEdit) m_pEdit->OnBrowse();
}

void CTkBrowseBtn::OnKillFocus(CWnd* pNewWnd) {
  CButton::OnKillFocus(pNewWnd);
  // An in-place editor ends when the focus leaves both it and its button.
  if (m_pEdit && m_pEdit->IsKindOf(RUNTIME_CLASS(CTkItemEdit)) &&
      (!pNewWnd || pNewWnd->GetSafeHwnd() != m_pEdit->m_hWnd))
    static_cast<CTkItemEdit*>(m_pEdit)->EndEdit();
}

void CTkBrowseBtn::DrawItem(LPDRAWITEMSTRUCT lpDIS) {
  HDC dc = lpDIS->hDC;
  CRect rect(lpDIS->rcItem);
  bool pushed = (lpDIS->itemState & ODS_SELECTED) != 0;
  bool disabled = (lpDIS->itemState & ODS_DISABLED) != 0;
  COLORREF face = ::GetSysColor(COLOR_BTNFACE);
  COLORREF outerLight = ::GetSysColor(COLOR_BTNHIGHLIGHT), outerDark = ::GetSysColor(COLOR_3DDKSHADOW);
  COLORREF innerLight = face, innerDark = ::GetSysColor(COLOR_BTNSHADOW);
  if (pushed) {
    std::swap(outerLight, outerDark);
    std::swap(innerLight, innerDark);
  }
  int saved = ::SaveDC(dc);
  CDC* pDC = CDC::FromHandle(dc);
  pDC->FillSolidRect(&rect, face);
  CRect edge(rect);
  pDC->Draw3dRect(&edge, outerLight, outerDark);
  edge.InflateRect(-1, -1);
  pDC->Draw3dRect(&edge, innerLight, innerDark);
  CRect inside(rect);
  if (pushed) inside.OffsetRect(1, 1);
  if (m_hArrow && (m_nBrowseStyle & TKBROWSE_KINDMASK) == TKBROWSE_POPUPMENU) {
    int x = inside.left + (inside.Width() - kArrowSize) / 2;
    int y = inside.top + (inside.Height() - kArrowSize) / 2;
    ::DrawIconEx(dc, x, y, m_hArrow, kArrowSize, kArrowSize, 0, nullptr, DI_NORMAL);
  } else {
    CString text;
    GetWindowText(text);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ::GetSysColor(disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
    HGDIOBJ oldFont = ::SelectObject(dc, ToolkitData().GetBarFont());
    ::DrawTextA(dc, text, -1, &inside, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    ::SelectObject(dc, oldFont);
  }
  ::RestoreDC(dc, saved);
}
