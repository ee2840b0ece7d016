#include "toolkit/controls/TkTabViewHost.h"

#include <vector>

#include "framework/docview/Document.h"
#include "framework/bars/BarStyles.h"
#include "framework/exceptions/MemoryException.h"
#include "framework/docking/MiniDockFrameWnd.h"
#include "framework/docview/View.h"
#include "framework/frame/FrameWnd.h"
#include "toolkit/ToolkitData.h"

CTkTabViewHost::CTkTabViewHost() {
  m_bBoldSelected = FALSE;
}

CTkTabViewHost::~CTkTabViewHost() {
  while (!m_tabs.IsEmpty()) delete static_cast<CTkTabItem*>(m_tabs.RemoveHead());
}

CTkTabItem* CTkTabViewHost::ItemAt(int nIndex) const {
  if (nIndex < 0) return nullptr;
  POSITION pos = m_tabs.FindIndex(nIndex);
  return pos ? static_cast<CTkTabItem*>(m_tabs.GetAt(pos)) : nullptr;
}

int CTkTabViewHost::IndexOf(CWnd* pWnd) const {
  int i = 0;
  for (POSITION pos = m_tabs.GetHeadPosition(); pos; ++i) {
    if (static_cast<CTkTabItem*>(m_tabs.GetNext(pos))->m_pWnd == pWnd) return i;
  }
  return -1;
}

int CTkTabViewHost::IndexOf(CRuntimeClass* pClass) const {
  for (int i = 0; i < GetTabCount(); ++i) {
    CWnd* pWnd = GetTabWnd(i);
    if (pWnd && pWnd->IsKindOf(pClass)) return i;
  }
  return -1;
}

CWnd* CTkTabViewHost::Owner() const {
  CWnd* pOwner = m_pTab->GetOwner();
  return pOwner ? pOwner : m_pTab->GetParent();
}

// --- tooltips ---------------------------------------------------------------------------------

CWnd* CTkTabViewHost::GetToolTips() const {
  HWND hTips = reinterpret_cast<HWND>(m_pTab->SendMessage(TCM_GETTOOLTIPS));
  return hTips ? CWnd::FromHandle(hTips) : nullptr;
}

void CTkTabViewHost::SetToolTips(CWnd* pToolTip) {
  m_pTab->SendMessage(TCM_SETTOOLTIPS, reinterpret_cast<WPARAM>(pToolTip->GetSafeHwnd()));
}

void CTkTabViewHost::AddToolTip(UINT nID, LPCSTR lpszText) {
  CWnd* pTips = GetToolTips();
  if (!pTips) return;
  TOOLINFOA ti = {};
  ti.cbSize = sizeof ti;
  ti.hwnd = m_pTab->m_hWnd;
  ti.uId = nID;
  ti.lpszText = const_cast<LPSTR>(lpszText);
  pTips->SendMessage(TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
}

void CTkTabViewHost::SetTabToolTip(int nIndex, LPCSTR lpszText) {
  CTkTabItem* item = ItemAt(nIndex);
  if (!item) return;
  item->m_strToolTip = lpszText;
  CWnd* pTips = GetToolTips();
  if (!pTips) return;
  TOOLINFOA ti = {};
  ti.cbSize = sizeof ti;
  ti.hwnd = m_pTab->m_hWnd;
  ti.uId = item->m_nToolID;
  ti.lpszText = const_cast<LPSTR>(lpszText);
  pTips->SendMessage(TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&ti));
}

void CTkTabViewHost::SetTabToolTip(CRuntimeClass* pClass, LPCSTR lpszText) {
  SetTabToolTip(IndexOf(pClass), lpszText);
}

void CTkTabViewHost::ResetToolTips() {
  if (!GetToolTips()) return;
  int i = 0;
  for (POSITION pos = m_tabs.GetHeadPosition(); pos; ++i) {
    auto* item = static_cast<CTkTabItem*>(m_tabs.GetNext(pos));
    item->m_nToolID = static_cast<UINT>(i);
    SetTabToolTip(i, CString(item->m_strToolTip));
  }
}

BOOL CTkTabViewHost::ActivateToolTips(BOOL bActivate) {
  CWnd* pTips = GetToolTips();
  if (pTips) pTips->SendMessage(TTM_ACTIVATE, bActivate);
  return pTips != nullptr;
}

// --- tabs -------------------------------------------------------------------------------------

BOOL CTkTabViewHost::AddControl(LPCSTR lpszLabel, CWnd* pWnd, int nIndex, int nImage) {
  pWnd->SetParent(m_pTab);
  auto* item = new CTkTabItem;
  item->m_pWnd = pWnd;
  item->m_strLabel = item->m_strToolTip = item->m_strFullLabel = lpszLabel;
  item->m_nToolID = static_cast<UINT>(m_pTab->GetItemCount());
  if (nIndex < 0 || nIndex > GetTabCount()) nIndex = GetTabCount();
  POSITION pos = m_tabs.FindIndex(nIndex);
  if (pos) {
    m_tabs.InsertBefore(pos, item);
  } else {
    m_tabs.AddTail(item);
  }
  TCITEMA tci = {};
  tci.mask = TCIF_TEXT | TCIF_IMAGE;
  tci.pszText = const_cast<LPSTR>(lpszLabel);
  tci.iImage = nImage == -1 ? nIndex : nImage;
  m_pTab->SendMessage(TCM_INSERTITEMA, nIndex, reinterpret_cast<LPARAM>(&tci));
  AddToolTip(item->m_nToolID, lpszLabel);
  ResetToolTips();
  SetActiveTab(nIndex);
  return TRUE;
}

BOOL CTkTabViewHost::AddView(LPCSTR lpszLabel, CWnd* pWnd, int nIndex, int nImage) {
  return AddControl(lpszLabel, pWnd, nIndex, nImage);
}

BOOL CTkTabViewHost::AddView(LPCSTR lpszLabel, CRuntimeClass* pViewClass, CDocument* pDoc,
                             CCreateContext* pContext, int nIndex, int nImage) {
  CWnd* pView = CreateTabView(pViewClass, pDoc, pContext);
  return pView && AddControl(lpszLabel, pView, nIndex, nImage);
}

CWnd* CTkTabViewHost::CreateTabView(CRuntimeClass* pViewClass, CDocument* pDoc,
                                    CCreateContext* pContext) {
  CCreateContext context;
  if (!pContext) {
    context.m_pNewViewClass = pViewClass;
    context.m_pCurrentDoc = pDoc;
    if (pDoc) context.m_pNewDocTemplate = pDoc->GetDocTemplate();
    pContext = &context;
  }
  auto* pWnd = static_cast<CWnd*>(pViewClass->CreateObject());
  if (!pWnd) throw CMemoryException();
  DWORD dwStyle = WS_CHILD | WS_VISIBLE;
  if (m_bPlainLook || !ToolkitData().m_bFlatLook) dwStyle |= WS_BORDER;
  UINT nID = AFX_IDW_PANE_FIRST + static_cast<UINT>(GetTabCount());
  if (!pWnd->Create(nullptr, nullptr, dwStyle, CRect(0, 0, 0, 0), m_pTab, nID, pContext)) {
    return nullptr;  // a view deletes itself when its window fails
  }
  if (m_bSendInitialUpdate && !m_bInitPending) pWnd->SendMessage(WM_INITIALUPDATE);
  pWnd->SetOwner(m_pOwnerWnd);
  return pWnd;
}

CWnd* CTkTabViewHost::GetTabWnd(int nIndex) const {
  if (nIndex < 0 || nIndex >= m_pTab->GetItemCount()) return nullptr;
  CTkTabItem* item = ItemAt(nIndex);
  return item && item->m_pWnd && ::IsWindow(item->m_pWnd->GetSafeHwnd()) ? item->m_pWnd : nullptr;
}

CWnd* CTkTabViewHost::GetTabWnd(CRuntimeClass* pClass) const {
  for (POSITION pos = m_tabs.GetHeadPosition(); pos;) {
    CWnd* pWnd = static_cast<CTkTabItem*>(m_tabs.GetNext(pos))->m_pWnd;
    if (pWnd && ::IsWindow(pWnd->GetSafeHwnd()) && pWnd->IsKindOf(pClass)) return pWnd;
  }
  return nullptr;
}

CWnd* CTkTabViewHost::GetActiveTabWnd() const {
  return GetTabWnd(m_pTab->GetCurSel());
}

BOOL CTkTabViewHost::IsTabWnd(CWnd* pWnd) const {
  return IndexOf(pWnd) >= 0;
}

void CTkTabViewHost::ShowTabWnd(CWnd* pWnd) {
  for (POSITION pos = m_tabs.GetHeadPosition(); pos;) {
    CWnd* pOther = static_cast<CTkTabItem*>(m_tabs.GetNext(pos))->m_pWnd;
    if (pOther && pOther->GetSafeHwnd()) {
      pOther->ShowWindow(SW_HIDE);
      pOther->EnableWindow(FALSE);
    }
  }
  if (!pWnd || !pWnd->GetSafeHwnd()) return;
  pWnd->ShowWindow(SW_SHOW);
  pWnd->EnableWindow(TRUE);
  pWnd->SetFocus();
  ResizeTabWnd(pWnd);
}

void CTkTabViewHost::ResizeTabWnd(CWnd* pWnd) {
  if (!pWnd || !pWnd->GetSafeHwnd()) return;
  CRect rc;
  GetChildRect(rc);
  pWnd->MoveWindow(&rc, TRUE);
}

void CTkTabViewHost::SetActiveTab(int nIndex) {
  CTkTabItem* item = ItemAt(nIndex);
  if (!item || !item->m_pWnd) return;
  m_pTab->SetCurSel(nIndex);
  ShowTabWnd(item->m_pWnd);
}

void CTkTabViewHost::SetActiveTab(CWnd* pWnd) {
  SetActiveTab(IndexOf(pWnd));
}

void CTkTabViewHost::SetActiveTab(CRuntimeClass* pClass) {
  SetActiveTab(IndexOf(pClass));
}

CWnd* CTkTabViewHost::NextTab() {
  int n = m_pTab->GetItemCount();
  if (n == 0) return nullptr;
  int nNext = m_pTab->GetCurSel() + 1;
  SetActiveTab(nNext >= n ? 0 : nNext);
  return GetActiveTabWnd();
}

CWnd* CTkTabViewHost::PreviousTab() {
  int n = m_pTab->GetItemCount();
  if (n == 0) return nullptr;
  int nPrev = m_pTab->GetCurSel() - 1;
  SetActiveTab(nPrev < 0 ? n - 1 : nPrev);
  return GetActiveTabWnd();
}

void CTkTabViewHost::ReleaseActiveView(CWnd* pWnd) {
  if (!m_pParentFrame || !pWnd || m_pParentFrame->GetActiveView() != pWnd) return;
  if (m_pPrevActiveView && ::IsWindow(m_pPrevActiveView->GetSafeHwnd())) {
    m_pParentFrame->SetActiveView(m_pPrevActiveView, TRUE);
  } else {
    m_pParentFrame->SetActiveView(nullptr, FALSE);
    m_pPrevActiveView = nullptr;
  }
}

void CTkTabViewHost::RemoveTabItem(POSITION pos, BOOL bDestroy) {
  auto* item = static_cast<CTkTabItem*>(m_tabs.GetAt(pos));
  if (item->m_pWnd && item->m_pWnd->GetSafeHwnd()) {
    if (bDestroy) {
      item->m_pWnd->DestroyWindow();
      item->m_pWnd = nullptr;
    } else {
      item->m_pWnd->ShowWindow(SW_HIDE);
    }
  }
  m_tabs.RemoveAt(pos);
  delete item;
}

void CTkTabViewHost::DeleteTab(int nIndex, BOOL bDestroy) {
  POSITION pos = nIndex >= 0 ? m_tabs.FindIndex(nIndex) : nullptr;
  if (!pos) return;
  ReleaseActiveView(static_cast<CTkTabItem*>(m_tabs.GetAt(pos))->m_pWnd);
  RemoveTabItem(pos, bDestroy);
  m_pTab->DeleteItem(nIndex);
  int n = GetTabCount();
  if (n > 0) {
    SetActiveTab(nIndex == 0 ? 0 : nIndex < n ? nIndex - 1 : n - 1);
    ResetToolTips();
  }
}

void CTkTabViewHost::DeleteTab(CWnd* pWnd, BOOL bDestroy) {
  DeleteTab(IndexOf(pWnd), bDestroy);
}

void CTkTabViewHost::DeleteTab(CRuntimeClass* pClass, BOOL bDestroy) {
  DeleteTab(IndexOf(pClass), bDestroy);
}

BOOL CTkTabViewHost::DeleteAllTabs() {
  if (m_pParentFrame) {
    CWnd* pActive = reinterpret_cast<CWnd*>(m_pParentFrame->GetActiveView());
    if (pActive && IsTabWnd(pActive)) ReleaseActiveView(pActive);
  }
  while (!m_tabs.IsEmpty()) RemoveTabItem(m_tabs.GetHeadPosition(), TRUE);
  m_pTab->DeleteAllItems();
  return TRUE;
}

LPCSTR CTkTabViewHost::GetTabLabel(int nIndex) const {
  CTkTabItem* item = ItemAt(nIndex);
  return item ? item->m_strLabel.GetString() : nullptr;
}

LPCSTR CTkTabViewHost::GetTabLabel(CRuntimeClass* pClass) const {
  return GetTabLabel(IndexOf(pClass));
}

int CTkTabViewHost::HitTestTab(CPoint point) const {
  TCHITTESTINFO hti = {};
  hti.pt = point;
  if (point.x == 0 && point.y == 0) {
    ::GetCursorPos(&hti.pt);
    m_pTab->ScreenToClient(&hti.pt);
  }
  return m_pTab->HitTest(&hti);
}

BOOL CTkTabViewHost::ModifyTabStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
  BOOL bChanged = m_pTab->ModifyStyle(dwRemove, dwAdd, nFlags);
  if (bChanged) ApplyTabFont();
  return bChanged;
}

void CTkTabViewHost::SetTabPopupMenu(UINT nMenuID, int nSubMenu) {
  m_nPopupMenuID = nMenuID;
  m_nPopupSubMenu = nSubMenu;
}

// --- selection and set-up ---------------------------------------------------------------------

void CTkTabViewHost::OnSelChanging() {
  m_nPrevSel = m_pTab->GetCurSel();
  if (m_nPrevSel != -1) {
    Owner()->SendMessage(WM_TK_TAB_SELCHANGING, static_cast<WPARAM>(m_pTab->GetDlgCtrlID()),
                         reinterpret_cast<LPARAM>(m_pTab));
  }
}

void CTkTabViewHost::OnSelChange() {
  int nSel = m_pTab->GetCurSel();
  if (nSel == -1) return;
  if (CWnd* pPrev = GetTabWnd(m_nPrevSel)) {
    pPrev->ShowWindow(SW_HIDE);
    pPrev->EnableWindow(FALSE);
    ReleaseActiveView(pPrev);
  }
  CWnd* pWnd = GetTabWnd(nSel);
  if (pWnd && m_pParentFrame && pWnd->IsKindOf(RUNTIME_CLASS(CView)) &&
      m_pParentFrame->IsChild(pWnd)) {
    CView* pActive = m_pParentFrame->GetActiveView();
    if (pActive && ::GetParent(pActive->GetSafeHwnd()) != m_pTab->m_hWnd) {
      m_pPrevActiveView = pActive;
    }
    m_pParentFrame->SetActiveView(static_cast<CView*>(pWnd), TRUE);
  }
  ShowTabWnd(pWnd);
  Owner()->SendMessage(WM_TK_TAB_SELCHANGED, static_cast<WPARAM>(m_pTab->GetDlgCtrlID()),
                       reinterpret_cast<LPARAM>(m_pTab));
}

void CTkTabViewHost::Initialise() {
  ++m_nInitCounter;
  m_bInitPending = FALSE;
  ApplyTabFont();
  m_pOwnerWnd = m_pTab->GetParent();
  CWnd* pFrame = m_pTab->GetParentFrame();
  if (pFrame && pFrame->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd))) pFrame = pFrame->GetParentFrame();
  m_pParentFrame = pFrame && pFrame->IsKindOf(RUNTIME_CLASS(CFrameWnd))
                       ? static_cast<CFrameWnd*>(pFrame)
                       : nullptr;
  for (POSITION pos = m_tabs.GetHeadPosition(); pos;) {
    ResizeTabWnd(static_cast<CTkTabItem*>(m_tabs.GetNext(pos))->m_pWnd);
  }
  if (m_bCondense) CondenseLabels();
}

void CTkTabViewHost::SetCondenseLabels(BOOL bCondense) {
  m_bCondense = bCondense;
  CondenseLabels();
}

// Long labels lose characters before an ellipsis, widest first, until the tabs fit; none goes
// below six average characters.
void CTkTabViewHost::CondenseLabels() {
  if (!m_pTab->GetSafeHwnd() || GetTabCount() == 0) return;
  HDC hdc = ::GetDC(m_pTab->m_hWnd);
  HGDIOBJ hOld = ::SelectObject(hdc, reinterpret_cast<HGDIOBJ>(m_pTab->SendMessage(WM_GETFONT)));
  TEXTMETRICA tm = {};
  ::GetTextMetricsA(hdc, &tm);
  int nMin = 6 * tm.tmAveCharWidth + 12;
  auto textWidth = [&](const CString& s) {
    SIZE size = {};
    ::GetTextExtentPoint32A(hdc, s, s.GetLength(), &size);
    return static_cast<int>(size.cx);
  };
  int n = GetTabCount();
  std::vector<CString> labels;
  std::vector<int> widths;
  std::vector<bool> final(static_cast<size_t>(n), false);
  int nTotal = 0;
  for (int i = 0; i < n; ++i) {
    CTkTabItem* item = ItemAt(i);
    TCITEMA tci = {};
    tci.mask = TCIF_IMAGE;
    m_pTab->GetItem(i, &tci);
    labels.push_back(item->m_strFullLabel);
    int w = textWidth(item->m_strFullLabel) + (item->m_strFullLabel.GetLength() == 1 ? 1 : 0) +
            (tci.iImage >= 0 ? 22 : 0);
    widths.push_back(w);
    nTotal += w;
  }
  CRect rc;
  m_pTab->GetClientRect(&rc);
  DWORD dwStyle = m_pTab->GetStyle();
  int nAvail = (dwStyle & TCS_VERTICAL) ? rc.Height() : rc.Width();
  if (nAvail > 0 && m_bCondense) {
    nTotal += ((dwStyle & TCS_VERTICAL) || (dwStyle & TCS_MULTILINE)) ? 5 : 4;
    while (nAvail < nTotal) {
      int nWidest = -1;
      for (int i = 0; i < n; ++i) {
        if (!final[static_cast<size_t>(i)] && (nWidest < 0 || widths[static_cast<size_t>(i)] > widths[static_cast<size_t>(nWidest)])) nWidest = i;
      }
      if (nWidest < 0) break;
      auto k = static_cast<size_t>(nWidest);
      CString& label = labels[k];
      if (label.Right(3) != "...") label += "...";
      int nBefore = widths[k];
      for (;;) {
        if (label == "...") {
          final[k] = true;
          break;
        }
        label = label.Left(label.GetLength() - 4) + "...";
        int w = textWidth(label);
        if (label == "..." || w <= nMin) final[k] = true;
        if (final[k] || w < nBefore) {
          nTotal -= nBefore - w;
          widths[k] = w;
          break;
        }
      }
    }
  }
  for (int i = 0; i < n; ++i) {
    CTkTabItem* item = ItemAt(i);
    if (labels[static_cast<size_t>(i)] == item->m_strLabel) continue;
    item->m_strLabel = labels[static_cast<size_t>(i)];
    TCITEMA tci = {};
    tci.mask = TCIF_TEXT;
    tci.pszText = const_cast<LPSTR>(item->m_strLabel.GetString());
    m_pTab->SetItem(i, &tci);
  }
  ::SelectObject(hdc, hOld);
  ::ReleaseDC(m_pTab->m_hWnd, hdc);
}
