// CDialogBar: a control bar made from a dialog template: the template's controls on a strip of
// the frame, talking to the bar's owner (the frame) as a dialog talks to itself.
#pragma once
#include "framework/bars/ControlBar.h"

class CDialogBar : public CControlBar {
  DECLARE_DYNAMIC(CDialogBar)
 public:
  CDialogBar();
  ~CDialogBar() override;

  // The template must be a child dialog; dwStyle holds the CBRS_ alignment and borders.
  BOOL Create(CWnd* pParentWnd, UINT nIDTemplate, UINT nStyle, UINT nID);

  CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
  void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;

  CSize m_sizeDefault;  // the template's size, in pixels

 protected:
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
  DECLARE_MESSAGE_MAP()
};
