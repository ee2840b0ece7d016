// CSearchPropertySheet: the options sheet, eight pages over the program's settings. It shows
// its pages in the system's icon-title font, every control rescaled to it, and fits each page
// shown into the tab control's display area.
#pragma once
#include "framework/dialogs/PropertySheet.h"
#include "framework/gdi/GdiObject.h"
#include "ui/sheets/options/OptionsPages.h"

// The posted message after which the sheet fits the page now shown.
constexpr UINT WM_OPTIONS_FITPAGE = WM_APP + 1;

class CSearchPropertySheet : public CPropertySheet {
 public:
  enum Page { General, Searching, Performance, Proxy, ConfigureColumns, Colors, Output, Language };

  // Opens on the page shown last.
  explicit CSearchPropertySheet(CWnd* pParentWnd);
  CSearchPropertySheet(UINT nSelectPage, CWnd* pParentWnd);

  // The page rectangle in the sheet's client coordinates.
  CRect GetPageRect() const;
  HFONT GetSheetFont() const { return static_cast<HFONT>(m_font.GetSafeHandle()); }

  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

  CPropGeneral m_general;
  CPropSearching m_searching;
  CPropPerformance m_performance;
  CPropProxy m_proxy;
  CPropConfigureColumns m_columns;
  CPropColors m_colors;
  CPropOutput m_output;
  CPropLanguage m_language;

 protected:
  void AddPages();
  void PreSubclassWindow() override;
  LRESULT OnFitPage(WPARAM, LPARAM);
  LRESULT OnFinishSetup(WPARAM, LPARAM);
  DECLARE_MESSAGE_MAP()

  CFont m_font;
  BOOL m_bRescaled = FALSE;  // the sheet itself
  bool m_pageRescaled[8] = {};
};

// The engine list's header in the main window, or null.
HWND FindEngineListHeader();
