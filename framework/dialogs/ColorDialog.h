// CColorDialog: the system's colour chooser, starting from a given colour; the custom colours
// are kept for the process.
#pragma once
#include <windows.h>
#include <commdlg.h>

#include "framework/dialogs/Dialog.h"

class CColorDialog : public CDialog {
  DECLARE_DYNAMIC(CColorDialog)
 public:
  explicit CColorDialog(COLORREF clrInit = 0, DWORD dwFlags = 0, CWnd* pParentWnd = nullptr);
  INT_PTR DoModal() override;
  COLORREF GetColor() const { return m_cc.rgbResult; }
  void SetCurrentColor(COLORREF clr) { m_cc.rgbResult = clr; }
  static COLORREF* GetSavedCustomColors();

  CHOOSECOLORA m_cc = {};
};
