#include "ui/dialogs/fields/ModifyCategory.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "app/settings/ProxySettings.h"
#include "app/document/ZubrinDoc.h"
#include "engines/db/EngineList.h"
#include "engines/db/SearchEngine.h"
#include "framework/threads/CriticalSection.h"
#include "framework/threads/WinThread.h"
#include "framework/gdi/WaitCursor.h"
#include "framework/wnd/MessageMap.h"
#include "resources/resource.h"
#include "ui/sheets/project/ProjectShared.h"

// Shared by the dialog and its workers (one category dialog at a time): the lock over the list
// of running workers and the nodes' flags, the list, and the stop flag the workers' sockets poll.
CCriticalSection* CategoryLock = nullptr;
std::vector<DWORD> CategoryThreads;
volatile LONG CategoryStop = 0;

namespace {

HWND g_dialog = nullptr;
bool g_severalRan = false;
DWORD g_pollInterval = 250;

struct CategoryWork {
  HTREEITEM item;
  CategoryNode* node;
  CNVList profile;
  CString group;
  CZubrinDoc* doc;
};

bool StopWhenAsked(CSock* sock, int, uintptr_t, uintptr_t) {
  if (::InterlockedCompareExchange(&CategoryStop, 0, 0)) sock->Abort();
  return true;
}

void Post(UINT message, WPARAM wParam, LPARAM lParam) { ::PostMessageA(g_dialog, message, wParam, lParam); }

void ListChildren(CategoryWork& work) {
  Post(WM_CATEGORY_BUSY, 1, 0);
  std::unique_ptr<CSearchEngine> engine(
      work.doc->m_database.CloneEngine(CLibString(work.group.GetString())));
  if (engine) {
    ApplyProxySettings(*engine);
    engine->SetCallback(StopWhenAsked, 0);
    CNVList children;
    int32_t selectable = 0;
    engine->CategoryDrillDown(CLibString(work.node->value.GetString()), children, selectable,
                              work.profile);
    const bool fetched = engine->GetStatus() == 200;
    CategoryLock->Lock();
    // A level that did not come back is fetched again when its item is selected again.
    if (fetched)
      work.node->selectable = selectable != 0;
    else
      work.node->loaded = false;
    CategoryLock->Unlock();
    if (fetched) {
      children.ForEach([&](const CNVItem& child) {
        if (::InterlockedCompareExchange(&CategoryStop, 0, 0)) return;
        auto* node = new CategoryNode;
        node->name = child.m_name.c_str();
        node->value = child.m_value.c_str();
        if (!::PostMessageA(g_dialog, WM_CATEGORY_CHILD, reinterpret_cast<WPARAM>(work.item),
                            reinterpret_cast<LPARAM>(node)))
          delete node;
      });
    }
  } else {
    CategoryLock->Lock();
    work.node->loaded = false;
    CategoryLock->Unlock();
  }
  engine.reset();
  Post(WM_CATEGORY_DONE, reinterpret_cast<WPARAM>(work.item), 0);
  Post(WM_CATEGORY_BUSY, 0, 0);
}

UINT CategoryWorker(LPVOID param) {
  std::unique_ptr<CategoryWork> work(static_cast<CategoryWork*>(param));
  // Tested and set in one step: two quick selections of one item fetch its level once.
  CategoryLock->Lock();
  const bool load = !work->node->loaded;
  work->node->loaded = true;
  CategoryLock->Unlock();
  if (load) ListChildren(*work);

  CategoryLock->Lock();
  if (CategoryThreads.size() > 1) g_severalRan = true;
  auto self = std::find(CategoryThreads.begin(), CategoryThreads.end(), ::GetCurrentThreadId());
  if (self != CategoryThreads.end()) CategoryThreads.erase(self);
  if (CategoryThreads.empty() && g_severalRan) {
    Post(WM_CATEGORY_DONE, 0, 1);
    g_severalRan = false;
  }
  CategoryLock->Unlock();
  return 0;
}

}  // namespace

namespace {
volatile LONG g_liveNodes = 0;
}  // namespace

CategoryNode::CategoryNode() { ::InterlockedIncrement(&g_liveNodes); }
CategoryNode::~CategoryNode() { ::InterlockedDecrement(&g_liveNodes); }
long CategoryNode::LiveCount() { return ::InterlockedCompareExchange(&g_liveNodes, 0, 0); }

BEGIN_MESSAGE_MAP(CModifyCategory, CDialog)
  ON_MESSAGE(WM_CATEGORY_CHILD, OnChild)
  ON_MESSAGE(WM_CATEGORY_DONE, OnLevelDone)
  ON_MESSAGE(WM_CATEGORY_BUSY, OnBusy)
  ON_MESSAGE(WM_HELP, OnHelpMessage)
  ON_WM_DESTROY()
END_MESSAGE_MAP()

CModifyCategory::CModifyCategory(CZubrinDoc* doc, const CNVList& profile, CWnd* pParent)
    : CDialog(IDD_MODIFY_CATEGORY, pParent), m_pDoc(doc), m_profile(profile) {
  if (!CategoryLock) CategoryLock = new CCriticalSection;
  ::InterlockedExchange(&CategoryStop, 0);
  m_busy = 0;
}

// The lock outlives the dialog: a worker of an earlier dialog may still be leaving it.
CModifyCategory::~CModifyCategory() { delete m_pEngine; }

int CModifyCategory::RunningWorkers() {
  if (!CategoryLock) return 0;
  CategoryLock->Lock();
  int count = static_cast<int>(CategoryThreads.size());
  CategoryLock->Unlock();
  return count;
}

void CModifyCategory::SetStopPollInterval(DWORD milliseconds) { g_pollInterval = milliseconds; }

CategoryNode* CModifyCategory::NodeOf(const CTreeCtrl& tree, HTREEITEM item) {
  return item ? reinterpret_cast<CategoryNode*>(tree.GetItemData(item)) : nullptr;
}

BOOL CModifyCategory::OnInitDialog() {
  CDialog::OnInitDialog();
  CWaitCursor wait;
  g_dialog = m_hWnd;
  SetDlgItemText(IDC_NV_LABEL, m_strLabel);
  SetDlgItemText(IDC_NV_DESCRIPTION, m_strDescription);
  m_tree.SubclassDlgItem(IDC_CATEGORY_TREE, this);
  m_animation.SubclassDlgItem(IDC_NV_ANIMATION, this);
  if (m_pDoc) m_pEngine = m_pDoc->m_database.CloneEngine(CLibString(m_strGroup.GetString()));
  int32_t selectable = 0;
  if (m_pEngine) {
    ApplyProxySettings(*m_pEngine);
    CNVList top;
    m_pEngine->CategoryDrillDown(CLibString(), top, selectable, m_profile);
    top.ForEach([this](const CNVItem& entry) {
      auto* node = new CategoryNode;
      node->name = entry.m_name.c_str();
      node->value = entry.m_value.c_str();
      node->item = m_tree.InsertItem(node->name);
      m_tree.SetItemData(node->item, reinterpret_cast<DWORD_PTR>(node));
    });
  }
  GetDlgItem(IDOK)->EnableWindow(selectable != 0);
  return TRUE;
}

void CModifyCategory::StartWorker(HTREEITEM item) {
  CategoryNode* node = NodeOf(m_tree, item);
  if (!node || !m_pDoc) return;
  auto* work = new CategoryWork{item, node, m_profile, m_strGroup, m_pDoc};
  CWinThread* thread = AfxBeginThread(CategoryWorker, work, THREAD_PRIORITY_IDLE, 0, CREATE_SUSPENDED);
  if (!thread) {
    delete work;
    return;
  }
  CategoryLock->Lock();
  CategoryThreads.push_back(thread->m_nThreadID);
  CategoryLock->Unlock();
  thread->ResumeThread();
}

void CModifyCategory::EnableOkFor(HTREEITEM item) {
  CategoryNode* node = NodeOf(m_tree, item);
  bool selectable = false;
  if (node) {
    CategoryLock->Lock();
    selectable = node->selectable;
    CategoryLock->Unlock();
  }
  GetDlgItem(IDOK)->EnableWindow(selectable);
}

void CModifyCategory::OnSelectionChanged() {
  HTREEITEM item = m_tree.GetSelectedItem();
  if (!item) return;
  StartWorker(item);
  EnableOkFor(item);
}

BOOL CModifyCategory::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  auto* hdr = reinterpret_cast<NMHDR*>(lParam);
  if (hdr->idFrom == IDC_CATEGORY_TREE && hdr->code == TVN_SELCHANGEDA) {
    OnSelectionChanged();
    *pResult = 0;
    return TRUE;
  }
  return CDialog::OnNotify(wParam, lParam, pResult);
}

LRESULT CModifyCategory::OnChild(WPARAM wParam, LPARAM lParam) {
  auto* node = reinterpret_cast<CategoryNode*>(lParam);
  if (!node) return 0;
  node->item = m_tree.InsertItem(node->name, reinterpret_cast<HTREEITEM>(wParam));
  if (!node->item) {
    delete node;
    return 0;
  }
  m_tree.SetItemData(node->item, reinterpret_cast<DWORD_PTR>(node));
  return 0;
}

LRESULT CModifyCategory::OnLevelDone(WPARAM wParam, LPARAM lParam) {
  HTREEITEM item = reinterpret_cast<HTREEITEM>(wParam);
  if (item && item == m_tree.GetSelectedItem()) {
    EnableOkFor(item);
    m_tree.Expand(item, TVE_EXPAND);
    m_tree.EnsureVisible(item);
  }
  if (lParam == 1) m_tree.Invalidate();
  return 0;
}

LRESULT CModifyCategory::OnBusy(WPARAM wParam, LPARAM) {
  if (wParam == 1) {
    if (m_busy++ == 0) {
      m_animation.ShowWindow(SW_SHOW);
      m_animation.Open(IDR_FIELDS_CLIP);
      m_animation.Play(0, static_cast<UINT>(-1), static_cast<UINT>(-1));
    }
  } else if (m_busy > 0 && --m_busy == 0) {
    m_animation.Close();
    m_animation.ShowWindow(SW_HIDE);
  }
  return 0;
}

void CModifyCategory::OnOK() {
  HTREEITEM item = m_tree.GetSelectedItem();
  CString value;
  for (HTREEITEM at = item; at; at = m_tree.GetParentItem(at)) {
    CategoryNode* node = NodeOf(m_tree, at);
    if (!node) continue;
    value = value.IsEmpty() ? node->value : node->value + "\n" + value;
  }
  m_strValue = value;
  ::InterlockedExchange(&CategoryStop, 1);
  CDialog::OnOK();
}

void CModifyCategory::OnCancel() {
  ::InterlockedExchange(&CategoryStop, 1);
  CDialog::OnCancel();
}

LRESULT CModifyCategory::OnHelpMessage(WPARAM, LPARAM lParam) {
  return projectui::AnswerContextHelp(lParam);
}

void CModifyCategory::StopWorkers() {
  ::InterlockedExchange(&CategoryStop, 1);
  for (;;) {
    CategoryLock->Lock();
    bool idle = CategoryThreads.empty();
    CategoryLock->Unlock();
    if (idle) break;
    ::Sleep(g_pollInterval);
  }
}

void CModifyCategory::FreeNodes(HTREEITEM first) {
  for (HTREEITEM item = first; item; item = m_tree.GetNextSiblingItem(item)) {
    FreeNodes(m_tree.GetChildItem(item));
    delete NodeOf(m_tree, item);
    m_tree.SetItemData(item, 0);
  }
}

// The workers end before the nodes they write go; nodes they posted that were never taken are
// freed with the rest.
void CModifyCategory::OnDestroy() {
  StopWorkers();
  MSG msg;
  while (::PeekMessageA(&msg, m_hWnd, WM_CATEGORY_CHILD, WM_CATEGORY_CHILD, PM_REMOVE))
    delete reinterpret_cast<CategoryNode*>(msg.lParam);
  FreeNodes(m_tree.GetRootItem());
  g_dialog = nullptr;
  delete m_pEngine;
  m_pEngine = nullptr;
  CDialog::OnDestroy();
}
