#include "ui/sheets/options/SearchPropertySheet.h"

#include <commctrl.h>

#include "framework/threads/WinThread.h"
#include "framework/wnd/MessageMap.h"
#include "resources/resource.h"
#include "ui/MainFrame.h"
#include "ui/sheets/options/RescaleToFont.h"

namespace {
// The sheet's own buttons after which another page may show.
constexpr UINT kApplyNow = 12321;
constexpr UINT kBack = 12323;
constexpr UINT kNext = 12324;
// Posted to itself once the sheet and its first page exist.
constexpr UINT WM_OPTIONS_FINISHSETUP = WM_APP + 2;
}  // namespace

BEGIN_MESSAGE_MAP(CSearchPropertySheet, CPropertySheet)
  ON_MESSAGE(WM_OPTIONS_FITPAGE, OnFitPage)
  ON_MESSAGE(WM_OPTIONS_FINISHSETUP, OnFinishSetup)
END_MESSAGE_MAP()

HWND FindEngineListHeader() {
  auto* frame = dynamic_cast<CMainFrame*>(AfxGetMainWnd());
  CWnd* view = frame ? frame->GetEngineViewPane() : nullptr;
  if (!view || !view->m_hWnd) return nullptr;
  return reinterpret_cast<HWND>(::SendMessageA(view->m_hWnd, LVM_GETHEADER, 0, 0));
}

CSearchPropertySheet::CSearchPropertySheet(CWnd* pParentWnd)
    : CSearchPropertySheet(static_cast<UINT>(LastOptionsPage), pParentWnd) {}

CSearchPropertySheet::CSearchPropertySheet(UINT nSelectPage, CWnd* pParentWnd)
    : CPropertySheet(IDS_OPTIONS_CAPTION, pParentWnd, nSelectPage) {
  m_columns.m_hHeader = FindEngineListHeader();
  AddPages();
}

void CSearchPropertySheet::AddPages() {
  for (CPropertyPage* page : std::initializer_list<CPropertyPage*>{
           &m_general, &m_searching, &m_performance, &m_proxy, &m_columns, &m_colors, &m_output,
           &m_language})
    AddPage(page);
  LOGFONTA logFont = {};
  if (::SystemParametersInfoA(SPI_GETICONTITLELOGFONT, sizeof logFont, &logFont, 0))
    m_font.CreateFontIndirect(&logFont);
}

void CSearchPropertySheet::PreSubclassWindow() {
  CPropertySheet::PreSubclassWindow();
  PostMessage(WM_OPTIONS_FINISHSETUP);
}

// Each page is rescaled when it first shows: showing every page at the start would make each
// check its fields when it is left, before the user has seen any of them.
LRESULT CSearchPropertySheet::OnFinishSetup(WPARAM, LPARAM) {
  HFONT font = GetSheetFont();
  if (m_bRescaled || !font) return 0;
  m_bRescaled = TRUE;
  RescaleToFont(m_hWnd, font, RescalePlacement::Centred);
  OnFitPage(0, 0);
  return 0;
}

CRect CSearchPropertySheet::GetPageRect() const {
  CRect rect(0, 0, 0, 0);
  HWND tab = reinterpret_cast<HWND>(::SendMessageA(m_hWnd, PSM_GETTABCONTROL, 0, 0));
  if (!tab) return rect;
  ::GetWindowRect(tab, &rect);
  ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
  ::SendMessageA(tab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&rect));
  return rect;
}

LRESULT CSearchPropertySheet::OnFitPage(WPARAM, LPARAM) {
  int index = GetActiveIndex();
  CPropertyPage* page = GetPage(index);
  if (!page || !page->m_hWnd) return 0;
  if (m_bRescaled && !m_pageRescaled[index] && GetSheetFont()) {
    m_pageRescaled[index] = true;
    RescaleToFont(page->m_hWnd, GetSheetFont(), RescalePlacement::None);
  }
  CRect rect = GetPageRect();
  if (rect.right <= rect.left || rect.bottom <= rect.top) return 0;
  ::MoveWindow(page->m_hWnd, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
               TRUE);
  return 0;
}

BOOL CSearchPropertySheet::OnCommand(WPARAM wParam, LPARAM lParam) {
  UINT id = LOWORD(wParam);
  BOOL result = CPropertySheet::OnCommand(wParam, lParam);
  if (m_hWnd && (id == kApplyNow || id == kBack || id == kNext)) PostMessage(WM_OPTIONS_FITPAGE);
  return result;
}

BOOL CSearchPropertySheet::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  auto* header = reinterpret_cast<NMHDR*>(lParam);
  BOOL result = CPropertySheet::OnNotify(wParam, lParam, pResult);
  if (header && header->code == TCN_SELCHANGE) PostMessage(WM_OPTIONS_FITPAGE);
  return result;
}
