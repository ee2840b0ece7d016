#include "toolkit/dialogs/TkAccelPropertyPage.h"

#include "framework/app/AfxResource.h"
#include "framework/app/MessageBox.h"
#include "framework/dialogs/DataExchange.h"
#include "resources/ids/ToolkitLayoutIds.h"
#include "toolkit/dialogs/TkAccelPropertySheet.h"
#include "toolkit/services/TkAccelManager.h"

IMPLEMENT_DYNCREATE(CTkAccelPropertyPage1, CTkResizePropertyPage)
IMPLEMENT_DYNCREATE(CTkAccelPropertyPage2, CTkResizePropertyPage)

CString TkCommandDescription(UINT nID) {
  CString text = AfxLoadString(nID).c_str();
  int nCut = text.FindOneOf("\t\n");
  return nCut >= 0 ? text.Left(nCut) : text;
}

namespace {

CTkAccelPropertySheet* SheetOf(const CWnd* pPage) {
  CWnd* pSheet = CWnd::FromHandlePermanent(::GetParent(pPage->GetSafeHwnd()));
  return pSheet && pSheet->IsKindOf(RUNTIME_CLASS(CTkAccelPropertySheet))
             ? static_cast<CTkAccelPropertySheet*>(pSheet)
             : nullptr;
}

// The selected category's text, empty when none is selected.
CString SelectedCategory(const CComboBox& combo) {
  CString text;
  int nSel = combo.GetCurSel();
  if (nSel >= 0) combo.GetLBText(nSel, text);
  return text;
}

// A command's full name as a list shows it under a category: the category's own prefix goes,
// and with no category every separator goes.
CString ShownName(CString strName, const CString& strFilter) {
  if (strFilter.IsEmpty()) {
    strName.Remove('\\');
  } else {
    strName.Replace(strFilter + "\\", "");
  }
  return strName;
}

}  // namespace

// --- page 1: commands and their shortcuts -------------------------------------------------------

BEGIN_MESSAGE_MAP(CTkAccelPropertyPage1, CTkResizePropertyPage)
  ON_CBN_SELCHANGE(IDC_TK_ACCEL_CATEGORY, OnCategoryChange)
  ON_BN_CLICKED(IDC_TK_ACCEL_EXTRA, OnExtraButton)
END_MESSAGE_MAP()

CTkAccelPropertyPage1::CTkAccelPropertyPage1() : CTkResizePropertyPage(IDD_TK_ACCEL_PAGE1) {}

void CTkAccelPropertyPage1::DoDataExchange(CDataExchange* pDX) {
  CTkResizePropertyPage::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_TK_ACCEL_EXTRA, m_btnExtra);
  DDX_Control(pDX, IDC_TK_ACCEL_CATEGORY, m_comboCategory);
  DDX_Control(pDX, IDC_TK_ACCEL_LIST, m_list);
  DDX_Text(pDX, IDC_TK_ACCEL_TITLE, m_strTitle);
  DDX_CBIndex(pDX, IDC_TK_ACCEL_CATEGORY, m_nCategory);
}

BOOL CTkAccelPropertyPage1::OnInitDialog() {
  CTkResizePropertyPage::OnInitDialog();
  SetResize(IDC_TK_ACCEL_LIST, 0, 0, 1, 1);
  SetResize(IDC_TK_ACCEL_EXTRA, 1, 0, 1, 0);
  m_list.SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
  m_list.SubclassHeader();
  if (m_bShowButton) m_btnExtra.ShowWindow(SW_SHOWNORMAL);
  static const UINT kHeadings[] = {IDS_TK_ACCEL_COL_COMMAND, IDS_TK_ACCEL_COL_KEYS,
                                   IDS_TK_ACCEL_COL_DESCRIPTION};
  static const int kWidths[] = {120, 80, 236};
  m_list.BuildColumns(3, kWidths, kHeadings);
  if (m_pManager) {
    m_pManager->FillCategories(&m_comboCategory);
    // The page's own entry for listing every command at once.
    m_comboCategory.AddString(AfxLoadString(IDS_TK_ACCEL_ALL).c_str());
    m_comboCategory.SetCurSel(0);
    m_nCategory = 0;
    m_strTitle = m_pManager->GetDescription();
  }
  if (m_pTitleFont) GetDlgItem(IDC_TK_ACCEL_TITLE)->SetFont(m_pTitleFont);
  UpdateData(FALSE);
  FillList();
  return TRUE;
}

void CTkAccelPropertyPage1::OnCategoryChange() {
  UpdateData(TRUE);
  FillList();
}

void CTkAccelPropertyPage1::FillList() {
  if (!m_pManager || !m_list.GetSafeHwnd()) return;
  CString strFilter = SelectedCategory(m_comboCategory);
  if (strFilter == AfxLoadString(IDS_TK_ACCEL_ALL).c_str()) strFilter.Empty();
  m_list.DeleteAllItems();
  int nRow = 0;
  for (POSITION pos = m_pManager->GetFirstCommandPosition(); pos;) {
    UINT nID = 0;
    CString strName;
    m_pManager->GetNextCommand(pos, nID, strName);
    if (!strFilter.IsEmpty() && !m_pManager->IsCommandInCategory(nID, strFilter)) continue;
    m_list.InsertItem(nRow, ShownName(strName, strFilter));
    CString strKeys;
    m_pManager->GetShortcutText(nID, strKeys);
    if (!strKeys.IsEmpty()) m_list.SetItemText(nRow, 1, strKeys);
    CString strDescription = TkCommandDescription(nID);
    if (!strDescription.IsEmpty()) m_list.SetItemText(nRow, 2, strDescription);
    m_list.SetItemData(nRow, nID);
    ++nRow;
  }
  if (nRow > 0) m_list.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
}

BOOL CTkAccelPropertyPage1::OnSetActive() {
  CTkAccelPropertySheet* pSheet = SheetOf(this);
  if (pSheet) m_nCategory = pSheet->m_page2.m_nCategory;
  UpdateData(FALSE);
  FillList();
  if (pSheet && pSheet->m_page2.m_listCommands.GetSafeHwnd()) {
    int nSel = pSheet->m_page2.m_listCommands.GetCurSel();
    if (nSel >= 0) {
      DWORD_PTR nID = pSheet->m_page2.m_listCommands.GetItemData(nSel);
      for (int i = 0; i < m_list.GetItemCount(); ++i) {
        m_list.SetItemState(i, m_list.GetItemData(i) == nID ? LVIS_SELECTED : 0, LVIS_SELECTED);
      }
    }
  }
  return CTkResizePropertyPage::OnSetActive();
}

void CTkAccelPropertyPage1::OnExtraButton() {
  if (CTkAccelPropertySheet* pSheet = SheetOf(this)) pSheet->OnPage1Button(m_pManager);
}

// --- page 2: assigning ----------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CTkAccelPropertyPage2, CTkResizePropertyPage)
  ON_CBN_SELCHANGE(IDC_TK_ACCEL_CATEGORY, OnCategoryChange)
  ON_LBN_SELCHANGE(IDC_TK_ACCEL_COMMANDS, FillKeys)
  ON_BN_CLICKED(IDC_TK_ACCEL_ASSIGN, OnAssign)
  ON_BN_CLICKED(IDC_TK_ACCEL_RESET, OnResetAll)
  ON_BN_CLICKED(IDC_TK_ACCEL_REMOVE, OnRemove)
END_MESSAGE_MAP()

CTkAccelPropertyPage2::CTkAccelPropertyPage2() : CTkResizePropertyPage(IDD_TK_ACCEL_PAGE2) {}

void CTkAccelPropertyPage2::DoDataExchange(CDataExchange* pDX) {
  CTkResizePropertyPage::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_TK_ACCEL_EDIT, m_editKey);
  DDX_Control(pDX, IDC_TK_ACCEL_KEYS, m_listKeys);
  DDX_Control(pDX, IDC_TK_ACCEL_COMMANDS, m_listCommands);
  DDX_Control(pDX, IDC_TK_ACCEL_CATEGORY, m_comboCategory);
  DDX_Text(pDX, IDC_TK_ACCEL_TITLE, m_strTitle);
  DDX_Text(pDX, IDC_TK_ACCEL_DESCRIPTION, m_strDescription);
  DDX_CBIndex(pDX, IDC_TK_ACCEL_CATEGORY, m_nCategory);
}

BOOL CTkAccelPropertyPage2::OnInitDialog() {
  CTkResizePropertyPage::OnInitDialog();
  static const CTkResizeEntry kLayout[] = {
      {IDC_TK_ACCEL_COMMANDS, 0, 0, 1, 1},   {IDC_TK_ACCEL_DESCRIPTION, 0, 1, 1, 1},
      {IDC_TK_ACCEL_DESCRIPTION_LABEL, 0, 1, 0, 1}, {IDC_TK_ACCEL_KEYS, 1, 0, 1, 0},
      {IDC_TK_ACCEL_ASSIGN, 1, 0, 1, 0},     {IDC_TK_ACCEL_REMOVE, 1, 0, 1, 0},
      {IDC_TK_ACCEL_RESET, 1, 0, 1, 0},      {IDC_TK_ACCEL_KEYS_LABEL, 1, 0, 1, 0},
      {IDC_TK_ACCEL_EDIT_LABEL, 1, 0, 1, 0}, {IDC_TK_ACCEL_EDIT, 1, 0, 1, 0}};
  SetResize(kLayout);
  if (m_pManager) {
    m_pManager->FillCategories(&m_comboCategory);
    m_comboCategory.SetCurSel(0);
  }
  OnCategoryChange();
  if (m_pManager) m_strTitle = m_pManager->GetDescription();
  if (m_pTitleFont) GetDlgItem(IDC_TK_ACCEL_TITLE)->SetFont(m_pTitleFont);
  UpdateData(FALSE);
  return TRUE;
}

void CTkAccelPropertyPage2::OnCategoryChange() {
  UpdateData(TRUE);
  FillCommands();
  FillKeys();
}

void CTkAccelPropertyPage2::FillCommands() {
  if (!m_pManager || !m_listCommands.GetSafeHwnd()) return;
  CString strFilter = SelectedCategory(m_comboCategory);
  m_listCommands.ResetContent();
  for (POSITION pos = m_pManager->GetFirstCommandPosition(); pos;) {
    UINT nID = 0;
    CString strName;
    m_pManager->GetNextCommand(pos, nID, strName);
    if (!strFilter.IsEmpty() && !m_pManager->IsCommandInCategory(nID, strFilter)) continue;
    int nItem = m_listCommands.AddString(ShownName(strName, strFilter));
    m_listCommands.SetItemData(nItem, nID);
  }
  if (m_listCommands.GetCount() > 0) m_listCommands.SetCurSel(0);
}

void CTkAccelPropertyPage2::FillKeys() {
  if (!m_pManager || !m_listKeys.GetSafeHwnd()) return;
  m_listKeys.ResetContent();
  int nSel = m_listCommands.GetCurSel();
  if (nSel < 0) return;
  auto nID = static_cast<UINT>(m_listCommands.GetItemData(nSel));
  int nPos = 0;
  CString strText;
  BYTE fVirt = 0;
  WORD key = 0;
  while (m_pManager->EnumAccel(nPos, nID, strText, fVirt, key)) {
    int nItem = m_listKeys.AddString(strText);
    m_listKeys.SetItemData(nItem, static_cast<DWORD_PTR>(key) | (static_cast<DWORD_PTR>(fVirt) << 16));
  }
  m_strDescription = TkCommandDescription(nID);
  UpdateData(FALSE);
}

void CTkAccelPropertyPage2::OnAssign() {
  int nSel = m_listCommands.GetCurSel();
  WORD key = 0;
  BOOL bCtrl = FALSE, bAlt = FALSE, bShift = FALSE;
  if (!m_pManager || nSel < 0 || !m_editKey.GetAccel(key, bCtrl, bAlt, bShift)) return;
  auto nID = static_cast<UINT>(m_listCommands.GetItemData(nSel));
  BYTE fVirt = FVIRTKEY | FNOINVERT;
  if (bCtrl) fVirt |= FCONTROL;
  if (bAlt) fVirt |= FALT;
  if (bShift) fVirt |= FSHIFT;
  UINT nOwner = 0;
  if (m_pManager->FindCommand(fVirt, key, nOwner)) {
    // The shortcut belongs to a command already (this one too): the user decides.
    CString strOwner;
    m_pManager->GetCommandName(nOwner, strOwner);
    CString strAsk;
    strAsk.Format(AfxLoadString(IDS_TK_ACCEL_TAKE_ASK).c_str(), strOwner.GetString());
    if (AfxMessageBox(strAsk, MB_YESNO | MB_ICONWARNING) != IDYES) return;
    m_pManager->RemoveAccel(fVirt, key);
  }
  m_pManager->AddAccel(nID, fVirt, key);
  FillKeys();
}

void CTkAccelPropertyPage2::OnRemove() {
  int nSel = m_listKeys.GetCurSel();
  if (!m_pManager || nSel < 0) return;
  DWORD_PTR data = m_listKeys.GetItemData(nSel);
  if (m_pManager->RemoveAccel(static_cast<BYTE>((data >> 16) & 0xFF), static_cast<WORD>(data & 0xFFFF))) {
    m_listKeys.DeleteString(static_cast<UINT>(nSel));
  }
}

void CTkAccelPropertyPage2::OnResetAll() {
  if (!m_pManager) return;
  m_pManager->Reset();
  OnCategoryChange();
}

BOOL CTkAccelPropertyPage2::OnSetActive() {
  CTkAccelPropertySheet* pSheet = SheetOf(this);
  if (pSheet) m_nCategory = pSheet->m_page1.m_nCategory;
  UpdateData(FALSE);
  FillCommands();
  if (pSheet && pSheet->m_page1.m_list.GetSafeHwnd()) {
    int nRow = pSheet->m_page1.m_list.GetNextItem(-1, LVNI_SELECTED);
    if (nRow >= 0) {
      DWORD_PTR nID = pSheet->m_page1.m_list.GetItemData(nRow);
      for (int i = 0; i < m_listCommands.GetCount(); ++i) {
        if (m_listCommands.GetItemData(i) == nID) m_listCommands.SetCurSel(i);
      }
    }
  }
  FillKeys();
  return CTkResizePropertyPage::OnSetActive();
}
