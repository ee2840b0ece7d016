// CWgUserToolsDlg: the dialog in which the user edits the list of user tools. It works on copies
// of the owner's tools and hands them over only on OK.
#pragma once
#include "framework/collections/ObArray.h"
#include "framework/dialogs/Dialog.h"
#include "toolkit/widgets/WgBrowseEdit.h"

class CWgUserTool;
class CListBox;

class CWgUserToolsDlg : public CDialog {
 public:
  explicit CWgUserToolsDlg(CWnd* pParent = nullptr);
  ~CWgUserToolsDlg() override;

  CObArray* m_pTools = nullptr;  // the owner's list; set before DoModal

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;

  void OnSelChange();
  void OnNew();
  void OnRemove();
  void OnMoveUp();
  void OnMoveDown();
  void OnMenuTextChange();
  void OnMenuTextKillFocus();
  DECLARE_MESSAGE_MAP()

  CListBox* List() const;
  CWgUserTool* RowTool(int nRow) const;
  // The edits' command, arguments and folder back into the current tool.
  void StoreFields();
  void ShowFields();
  void Select(int nRow);
  void MoveRow(int nFrom, int nTo);
  void UpdateControls();
  void FreeRows();

  CWgBrowseFileEdit m_editCommand;
  CWgBrowseDirEdit m_editFolder;
  CWgUserTool* m_pCurrent = nullptr;
  BOOL m_bFilling = FALSE;  // the edits are being filled by the dialog itself
};
