// CTkTipOfTheDay: shows one tip at a time from a plain-text tips file and remembers, in the
// profile's section "Tip", where the user stopped ("FilePos", kept with the file's time in
// "TimeStamp") and whether tips are shown at start-up ("StartUp" 0 shows them).
//
// A tip is a line that does not begin with a blank, a tab, a line end or ";". Lines are read at
// most 999 characters at a time, and after the last tip the file starts again from the top.
#pragma once
#include <cstdio>

#include "framework/core/String.h"
#include "framework/dialogs/Dialog.h"
#include "toolkit/core/ToolkitHelpers.h"

class CFont;

class CTkTipOfTheDay : public CDialog {
  DECLARE_DYNAMIC(CTkTipOfTheDay)
 public:
  CTkTipOfTheDay(LPCSTR lpszTipsFile, CWnd* pParent = nullptr);
  ~CTkTipOfTheDay() override;

  // Keeps the path when such a file exists, else "tips.txt" in the current folder.
  void SetTipsFilePath(LPCSTR lpszPath);
  // The dialog owns both fonts from here on.
  void SetFonts(CFont* pHeadingFont, CFont* pTextFont);
  // The next tip after the file's position, wrapping to the top once; FALSE (and an empty
  // text) when the file holds no tip at all.
  virtual BOOL GetNextTipString(CString& strNext);

  const CString& GetTipText() const { return m_strTip; }
  const CString& GetHeading() const { return m_strHeading; }
  const CString& GetTipsFilePath() const { return m_strTipsFile; }
  BOOL IsFileOpen() const { return m_pFile != nullptr; }
  const CRect& GetTipTextRect() const { return m_rcTipText; }

  BOOL OnInitDialog() override;
  void OnOK() override;
  void DoDataExchange(CDataExchange* pDX) override;

  int m_bStartup = TRUE;  // the check box: show tips at start-up

 protected:
  // The file's modification time as ctime() writes it (without its line end).
  CString FileTimeStamp() const;
  // Positions the file at the stored place, or at the top when the file changed or the place
  // cannot be one.
  void SeekToStoredPosition();
  // One line of at most 999 characters, a CR LF end read as LF; FALSE at the end of the file.
  BOOL ReadLine(CString& line);
  static bool IsTipLine(const CString& line);
  void ComputeLayout();

  void OnPaint();
  void OnNextTip();
  DECLARE_MESSAGE_MAP()

  // First, so that the template and every string come from the toolkit's module.
  ResourceScope m_resourceScope;
  CString m_strTipsFile;
  FILE* m_pFile = nullptr;
  CString m_strHeading;
  CString m_strTip;
  CFont* m_pHeadingFont = nullptr;
  CFont* m_pTextFont = nullptr;
  CRect m_rcDraw, m_rcBand, m_rcTipArea, m_rcTipText;
};
