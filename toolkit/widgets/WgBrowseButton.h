// CWgBrowseButton: the "..." button of a browse edit. It takes the right end of the edit's
// former place, sits right after it in the tab order, and asks the edit to browse when clicked.
#pragma once
#include "framework/controls/Button.h"

class CWgBrowseEditBase;

// Width the edit gives up, and the button's width within it.
constexpr int kWgBrowseRoom = 26;
constexpr int kWgBrowseButtonWidth = 25;

// The highest control id from 32767 downwards that no child of the dialog uses (1 at the least).
UINT WgFindFreeControlId(HWND hDialog);

class CWgBrowseButton : public CButton {
 public:
  explicit CWgBrowseButton(CWgBrowseEditBase* pEdit) : m_pEdit(pEdit) {}

  // Makes the button beside the edit in the dialog; FALSE when the window fails.
  BOOL Create(CWnd* pDialog);
  UINT GetId() const { return m_nID; }
  CWgBrowseEditBase* GetEdit() const { return m_pEdit; }
  void Detach() { m_pEdit = nullptr; }

  BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

 protected:
  void PostNcDestroy() override { delete this; }

  CWgBrowseEditBase* m_pEdit;
  UINT m_nID = 0;
};
