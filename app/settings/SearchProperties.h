// CSearchProperties: the program-wide options, one global object loaded from the profile's
// section "Properties" at start-up and saved when the user applies the options sheet. Worker
// and run threads read it without a lock; only the user-interface thread writes it.
#pragma once
#include <windows.h>

#include "framework/core/Object.h"
#include "framework/core/String.h"

class CSearchProperties : public CObject {
  DECLARE_DYNAMIC(CSearchProperties)
 public:
  static constexpr int kMinThreads = 1;
  static constexpr int kMaxThreads = 64;
  static constexpr double kDefaultThreadKB = 1.2;

  enum ColorIndex {
    NormalText,
    NormalBk,
    DisabledText,
    DisabledBk,
    HighlightText,
    HighlightBk,
    ZubrinText,
    ZubrinBk,
    MovedUpText,
    MovedUpBk,
    MovedDownText,
    MovedDownBk,
    ViewText,
    ViewBk,
    ColorCount
  };
  static const char* const kColorNames[ColorCount];

  CSearchProperties();

  // Reads every value with its default and publishes the matcher's flags.
  void Load();
  void Save() const;

  // Kept to 1..64 workers and to a positive rate, whatever the caller or the store gives.
  void SetMaxThreads(int count);
  void SetThreadKB(double kilobytes);
  int GetMaxThreads() const { return m_nMaxThreads; }
  double GetThreadKB() const { return m_dThreadKB; }

  // The rate as text whatever the user's locale: a dot or a comma before the fraction reads the
  // same ("1,2" is 1.2), so that a value written on one machine reads alike on another. Leading
  // blanks are skipped and what follows the number is ignored; no digit at all gives 0.
  static double ParseThreadKB(const char* text);
  // Always with a dot and two decimals ("1.20").
  static CString FormatThreadKB(double kilobytes);

  // The report folder as the settings give it: the stored text, or the program's reports folder
  // when none is stored, ending with a backslash unless empty.
  static CString LoadReportsDir();

  // The colour defaults of the display's depth (16 colours or fewer get their own set).
  static COLORREF DefaultColor(int index, bool fewColors);

  double m_dThreadKB = kDefaultThreadKB;  // kilobytes per second per worker
  int m_nConnectionManagement = 1;
  int m_nRestrict = 0;
  int m_nExactMatch = 0;
  int m_nDumpResults = 1;
  int m_nShowTitle = 1;
  int m_nMaxResults = 50;
  int m_nTimeOut = 60;
  int m_nStopSearch = 1;
  int m_nIncludeNew = 1;
  int m_nMaxThreads = 4;
  int m_nUseProxy = 0;
  int m_nProxyPort = 80;
  int m_nAutoProxy = 0;
  CString m_strProxyServer;
  CString m_strProxyUser;
  CString m_strProxyPassword;  // plain in memory, scrambled in the store
  CString m_strReportsDir;
  int m_nAppendDate = 0;
  int m_nUseHeader = 0;
  CString m_strHeaderText;
  int m_nUseFooter = 0;
  CString m_strFooterText;
  CString m_strZubrinPrompt = "Zubrin";
  int m_nRemoveLogos = 1;
  int m_nHideZeroRankings = 0;
  int m_nBannersOn = 1;
  int m_nRemindersOn = 1;
  int m_nKeywordAlert = 1;
  CString m_strKeywordIgnore = ",;+";
  COLORREF m_colors[ColorCount] = {};
  int m_nColAutoSave = 1;
  static constexpr const char* kDefaultColWidths = "150,50,50,50,50,50,50,50,50,50,50";
  CString m_strColWidths = kDefaultColWidths;
};

// The one settings object of the program.
CSearchProperties& GetSearchProperties();
// The exact-match flag as the options were last loaded or applied.
extern volatile BYTE g_bExactMatch;
