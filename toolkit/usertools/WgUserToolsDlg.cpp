#include "toolkit/usertools/WgUserToolsDlg.h"

#include "framework/app/MessageBox.h"
#include "framework/controls/ListBox.h"
#include "framework/wnd/MessageMap.h"
#include "resources/ids/ToolkitControlsIds.h"
#include "toolkit/core/ToolkitHelpers.h"
#include "toolkit/usertools/WgUserTool.h"

BEGIN_MESSAGE_MAP(CWgUserToolsDlg, CDialog)
  ON_LBN_SELCHANGE(IDC_WG_TOOL_LIST, OnSelChange)
  ON_BN_CLICKED(IDC_WG_TOOL_NEW, OnNew)
  ON_BN_CLICKED(IDC_WG_TOOL_REMOVE, OnRemove)
  ON_BN_CLICKED(IDC_WG_TOOL_UP, OnMoveUp)
  ON_BN_CLICKED(IDC_WG_TOOL_DOWN, OnMoveDown)
  ON_EN_CHANGE(IDC_WG_TOOL_MENUTEXT, OnMenuTextChange)
  ON_EN_KILLFOCUS(IDC_WG_TOOL_MENUTEXT, OnMenuTextKillFocus)
END_MESSAGE_MAP()

CWgUserToolsDlg::CWgUserToolsDlg(CWnd* pParent) : CDialog(IDD_WG_USERTOOLS, pParent) {}

CWgUserToolsDlg::~CWgUserToolsDlg() = default;

CListBox* CWgUserToolsDlg::List() const {
  return static_cast<CListBox*>(GetDlgItem(IDC_WG_TOOL_LIST));
}

CWgUserTool* CWgUserToolsDlg::RowTool(int nRow) const {
  CListBox* list = List();
  if (!list || nRow < 0 || nRow >= list->GetCount()) return nullptr;
  return reinterpret_cast<CWgUserTool*>(list->GetItemData(nRow));
}

BOOL CWgUserToolsDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  m_editCommand.SetTitle(TkLoadString(IDS_WG_TOOL_BROWSE_TITLE));
  m_editCommand.m_strFilter = TkLoadString(IDS_WG_TOOL_BROWSE_FILTER);
  m_editCommand.Initialize(IDC_WG_TOOL_COMMAND, this);
  m_editFolder.SetTitle(TkLoadString(IDS_WG_TOOL_FOLDER_TITLE));
  m_editFolder.Initialize(IDC_WG_TOOL_FOLDER, this);

  CListBox* list = List();
  if (m_pTools && list) {
    for (INT_PTR i = 0; i < m_pTools->GetSize() && i < CWgUserTool::kMaxTools; ++i) {
      auto* copy = new CWgUserTool(*static_cast<CWgUserTool*>(m_pTools->GetAt(i)));
      int row = list->AddString(copy->m_strMenuText);
      list->SetItemData(row, reinterpret_cast<DWORD_PTR>(copy));
    }
  }
  Select(0);
  CenterWindow();
  return TRUE;
}

void CWgUserToolsDlg::StoreFields() {
  if (!m_pCurrent) return;
  GetDlgItemText(IDC_WG_TOOL_COMMAND, m_pCurrent->m_strCommand);
  GetDlgItemText(IDC_WG_TOOL_ARGUMENTS, m_pCurrent->m_strArguments);
  GetDlgItemText(IDC_WG_TOOL_FOLDER, m_pCurrent->m_strInitialDir);
}

void CWgUserToolsDlg::ShowFields() {
  m_bFilling = TRUE;
  SetDlgItemText(IDC_WG_TOOL_MENUTEXT, m_pCurrent ? m_pCurrent->m_strMenuText : CString());
  SetDlgItemText(IDC_WG_TOOL_COMMAND, m_pCurrent ? m_pCurrent->m_strCommand : CString());
  SetDlgItemText(IDC_WG_TOOL_ARGUMENTS, m_pCurrent ? m_pCurrent->m_strArguments : CString());
  SetDlgItemText(IDC_WG_TOOL_FOLDER, m_pCurrent ? m_pCurrent->m_strInitialDir : CString());
  m_bFilling = FALSE;
}

void CWgUserToolsDlg::Select(int nRow) {
  CListBox* list = List();
  int count = list ? list->GetCount() : 0;
  if (nRow >= count) nRow = count - 1;
  if (list) list->SetCurSel(nRow);
  m_pCurrent = RowTool(nRow);
  ShowFields();
  UpdateControls();
}

void CWgUserToolsDlg::UpdateControls() {
  CListBox* list = List();
  if (!list) return;
  int count = list->GetCount();
  int sel = list->GetCurSel();
  BOOL has = sel >= 0;
  auto enable = [this](int id, BOOL on) {
    if (CWnd* w = GetDlgItem(id)) w->EnableWindow(on);
  };
  enable(IDC_WG_TOOL_NEW, count < CWgUserTool::kMaxTools);
  enable(IDC_WG_TOOL_REMOVE, has);
  for (int id = IDC_WG_TOOL_COMMAND; id <= IDC_WG_TOOL_FOLDER_LABEL; ++id) enable(id, has);
  enable(IDC_WG_TOOL_UP, has && sel > 0);
  enable(IDC_WG_TOOL_DOWN, has && sel < count - 1);
}

void CWgUserToolsDlg::OnSelChange() {
  StoreFields();
  Select(List()->GetCurSel());
}

void CWgUserToolsDlg::OnNew() {
  CListBox* list = List();
  if (!list || list->GetCount() >= CWgUserTool::kMaxTools) return;
  StoreFields();
  auto* tool = new CWgUserTool;
  tool->m_strMenuText = TkLoadString(IDS_WG_TOOL_NEW_TEXT);
  int row = list->AddString(tool->m_strMenuText);
  list->SetItemData(row, reinterpret_cast<DWORD_PTR>(tool));
  Select(row);
  if (CWnd* edit = GetDlgItem(IDC_WG_TOOL_MENUTEXT)) {
    GotoDlgCtrl(edit);
    edit->SendMessage(EM_SETSEL, 0, -1);
  }
}

void CWgUserToolsDlg::OnRemove() {
  CListBox* list = List();
  int sel = list ? list->GetCurSel() : -1;
  if (sel < 0) return;
  delete RowTool(sel);
  m_pCurrent = nullptr;
  list->DeleteString(sel);
  Select(sel);
}

void CWgUserToolsDlg::MoveRow(int nFrom, int nTo) {
  CListBox* list = List();
  if (!list || nFrom < 0 || nTo < 0 || nTo >= list->GetCount()) return;
  StoreFields();
  CWgUserTool* tool = RowTool(nFrom);
  CString text;
  list->GetText(nFrom, text);
  list->DeleteString(nFrom);
  int row = list->InsertString(nTo, text);
  list->SetItemData(row, reinterpret_cast<DWORD_PTR>(tool));
  Select(row);
}

void CWgUserToolsDlg::OnMoveUp() {
  int sel = List()->GetCurSel();
  if (sel > 0) MoveRow(sel, sel - 1);
}

void CWgUserToolsDlg::OnMoveDown() { MoveRow(List()->GetCurSel(), List()->GetCurSel() + 1); }

void CWgUserToolsDlg::OnMenuTextChange() {
  if (m_bFilling || !m_pCurrent) return;
  CListBox* list = List();
  int sel = list->GetCurSel();
  if (sel < 0) return;
  GetDlgItemText(IDC_WG_TOOL_MENUTEXT, m_pCurrent->m_strMenuText);
  // The row is put in again with its new text; drawing waits until it is back.
  list->SendMessage(WM_SETREDRAW, FALSE);
  list->DeleteString(sel);
  int row = list->InsertString(sel, m_pCurrent->m_strMenuText);
  list->SetItemData(row, reinterpret_cast<DWORD_PTR>(m_pCurrent));
  list->SetCurSel(row);
  list->SendMessage(WM_SETREDRAW, TRUE);
  list->Invalidate();
}

void CWgUserToolsDlg::OnMenuTextKillFocus() {
  if (!m_pCurrent) return;
  CString text;
  GetDlgItemText(IDC_WG_TOOL_MENUTEXT, text);
  if (!text.IsEmpty()) return;
  // A tool without a menu text could not be told apart in the menu.
  AfxMessageBox(TkLoadString(IDS_WG_TOOL_EMPTY_TEXT), MB_ICONEXCLAMATION);
  if (CWnd* edit = GetDlgItem(IDC_WG_TOOL_MENUTEXT)) GotoDlgCtrl(edit);
}

void CWgUserToolsDlg::FreeRows() {
  CListBox* list = List();
  if (!list) return;
  for (int i = 0; i < list->GetCount(); ++i) delete RowTool(i);
  list->ResetContent();
  m_pCurrent = nullptr;
}

void CWgUserToolsDlg::OnOK() {
  StoreFields();
  if (m_pTools) {
    CWgUserTool::FreeTools(*m_pTools);
    CListBox* list = List();
    for (int i = 0; i < list->GetCount(); ++i) m_pTools->Add(RowTool(i));
    list->ResetContent();
    m_pCurrent = nullptr;
  } else {
    FreeRows();
  }
  CDialog::OnOK();
}

void CWgUserToolsDlg::OnCancel() {
  FreeRows();
  CDialog::OnCancel();
}
