// The pages of the options sheet. Each page copies the settings it edits when it is made,
// edits its copy through dialog data exchange, and on Apply writes the copy back into the
// settings, saves them and tells the views (hint 100, or 102 for colours). Every page answers
// the help message with the control's popup help and records itself as the page last shown.
#pragma once
#include <vector>

#include "framework/core/String.h"
#include "framework/dialogs/PropertyPage.h"
#include "framework/gdi/GdiObject.h"
#include "toolkit/controls/TkCheckListBox.h"
#include "toolkit/widgets/WgBrowseEdit.h"
#include "toolkit/widgets/WgWellButton.h"

class CSearchProperties;

// The index of the options page shown last in this run of the program (not stored).
extern int LastOptionsPage;

// View hints of the options sheet.
constexpr UINT kHintSettingsChanged = 100;
constexpr UINT kHintColorsChanged = 102;

class COptionsPage : public CPropertyPage {
 public:
  COptionsPage(UINT nIDTemplate, int nIndex);

  BOOL OnInitDialog() override;
  BOOL OnSetActive() override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

 protected:
  static CSearchProperties& Settings();
  // Saves the settings and tells the views.
  static void SaveAndBroadcast(UINT hint);
  void EnableItem(int nID, BOOL bEnable);
  BOOL IsChecked(int nID) const;
  LRESULT OnHelpMessage(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

  int m_nIndex;
  // Set while the page fills its controls, whose change notifications are no edit of the user.
  BOOL m_bFilling = FALSE;
};

class CPropGeneral : public COptionsPage {
 public:
  CPropGeneral();
  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnApply() override;

  int m_nKeywordAlert;
  CString m_strKeywordIgnore;
  int m_nIncludeNew;
  int m_nBannersOn;
  int m_nRemindersOn;

 protected:
  void OnKeywordAlert();
  DECLARE_MESSAGE_MAP()
};

class CPropSearching : public COptionsPage {
 public:
  CPropSearching();
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnApply() override;

  int m_nMaxResults;
  int m_nStopSearch;
  int m_nRestrict;
  int m_nExactMatch;
  int m_nDumpResults;
};

class CPropPerformance : public COptionsPage {
 public:
  static constexpr int kMaxThreads = 61;
  static constexpr double kMinRate = 1.0;
  static constexpr double kMaxRate = 144.0;

  CPropPerformance();
  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnApply() override;

  // The rate as the field shows it: two decimals at most, at least one ("1.2", "2.0", "1.25").
  static CString FormatRate(double kilobytes);
  // The field's text as a rate: a number with a dot or a comma before its fraction and blanks
  // around it, nothing else; false otherwise.
  static bool ReadRate(const CString& text, double& kilobytes);

  int m_nMaxThreads;
  int m_nTimeOut;
  int m_nConnectionManagement;
  double m_dThreadKB;

 protected:
  void OnConnectionManagement();
  void EnableByManagement();
  DECLARE_MESSAGE_MAP()
};

class CPropProxy : public COptionsPage {
 public:
  CPropProxy();
  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnApply() override;

  int m_nUseProxy;
  int m_nAutoDetect;
  CString m_strProxyServer;
  UINT m_nProxyPort;
  CString m_strProxyUser;
  CString m_strProxyPassword;

 protected:
  void OnUseProxy();
  void OnAutoDetect();
  void EnableFields(BOOL bEnable);
  DECLARE_MESSAGE_MAP()
};

class CPropConfigureColumns : public COptionsPage {
 public:
  static constexpr int kShownWidth = 50;  // a column shown again comes back this wide

  CPropConfigureColumns();
  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnApply() override;

  // The engine list's header; the sheet finds the main window's (a test gives its own).
  HWND m_hHeader = nullptr;
  int m_nColAutoSave;
  CTkCheckListBox m_list;

 protected:
  void OnListChange();
  void SetColumnWidth(int column, int width);
  DECLARE_MESSAGE_MAP()
};

class CPropColors : public COptionsPage {
 public:
  static constexpr int kPairs = 7;
  // Per sample: the text and background wells and the colour indexes of the settings.
  struct Pair {
    int textId, bkId, sampleId;
    int textColor, bkColor;
  };
  static const Pair kPairList[kPairs];

  CPropColors();
  ~CPropColors() override;
  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnApply() override;

  // The brush a sample is painted with: one per sample, made again only when its colour changes.
  HBRUSH SampleBrush(int pair);

  COLORREF m_colors[14];
  CWgWellButton m_wells[2 * kPairs];

 protected:
  HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
  LRESULT OnColorChosen(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

  CFont m_fontSample;
  HBRUSH m_brushes[kPairs] = {};
  COLORREF m_brushColors[kPairs] = {};
};

class CPropOutput : public COptionsPage {
 public:
  CPropOutput();
  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnApply() override;

  // The report folder as typed: a bare drive is taken, one trailing backslash is dropped for the
  // test, and a missing folder is made when the user agrees. False keeps the user on the page.
  static bool CheckReportsDir(const CString& folder);

  CString m_strReportsDir;
  int m_nAppendDate;
  int m_nHideZeroRankings;
  int m_nUseHeader;
  int m_nUseFooter;
  int m_nRemoveLogos;
  int m_nShowTitle;
  CString m_strZubrinPrompt;
  CString m_strHeaderText;
  CString m_strFooterText;
  CWgBrowseDirEdit m_editDir;

 protected:
  void OnUseHeader();
  void OnUseFooter();
  void OnEditHeader();
  void OnEditFooter();
  void EditText(CString& text, BOOL bFooter);
  DECLARE_MESSAGE_MAP()
};

class CPropLanguage : public COptionsPage {
 public:
  CPropLanguage();
  BOOL OnInitDialog() override;
  BOOL OnApply() override;

  // The display name's string id of a module file name (any case); 0 when it is not known.
  static UINT ModuleNameId(const char* fileName);
  // The value that Apply writes for the entry chosen (-1: none).
  CString ChosenModule() const;

 protected:
  DECLARE_MESSAGE_MAP()

  // The file name of each entry, by the index kept in the entry's data.
  std::vector<CString> m_modules;
};
