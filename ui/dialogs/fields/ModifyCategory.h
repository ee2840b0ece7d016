// CModifyCategory: chooses a directory's category for the site by walking the directory's
// category tree. The top level comes with the dialog; each level below is fetched on a worker
// thread of its own when its item is selected, so the tree stays usable while pages load.
#pragma once
#include "foundation/core/NVList.h"
#include "framework/core/String.h"
#include "framework/controls/AnimateCtrl.h"
#include "framework/controls/TreeCtrl.h"
#include "framework/dialogs/Dialog.h"

class CZubrinDoc;
class CSearchEngine;

// Posted by the category workers: a child node for an item (wParam the parent item, lParam a new
// CategoryNode the window takes over); a level is done (wParam the item, or 0 with lParam 1 when
// the last worker ended); busy up (wParam 1) or down (wParam 0).
#define WM_CATEGORY_CHILD (WM_USER + 222)
#define WM_CATEGORY_DONE (WM_USER + 223)
#define WM_CATEGORY_BUSY (WM_USER + 224)

// One category of the tree, attached to its item.
struct CategoryNode {
  CategoryNode();
  ~CategoryNode();
  CategoryNode(const CategoryNode&) = delete;
  CategoryNode& operator=(const CategoryNode&) = delete;
  // Nodes alive in the process; tests see that none outlives its dialog.
  static long LiveCount();

  HTREEITEM item = nullptr;
  CString value;  // what the directory needs to list the category's children
  CString name;
  // Both flags are shared with the workers and read or written only under the dialog's lock.
  bool selectable = false;
  bool loaded = false;
};

class CModifyCategory : public CDialog {
 public:
  // profile: a copy of the site values the directory's pages may need (its sign-in).
  CModifyCategory(CZubrinDoc* doc, const CNVList& profile, CWnd* pParent = nullptr);
  ~CModifyCategory() override;

  // Set by the opener before DoModal; m_strValue is the result after IDOK.
  CString m_strLabel;
  CString m_strDescription;
  CString m_strKey;
  CString m_strValue;
  CString m_strGroup;  // the directory engine's name

  BOOL OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;

  // Workers running now (any dialog); tests.
  static int RunningWorkers();
  // How long the closing window waits between looks at its workers; tests shorten it.
  static void SetStopPollInterval(DWORD milliseconds);

  CTreeCtrl& Tree() { return m_tree; }
  static CategoryNode* NodeOf(const CTreeCtrl& tree, HTREEITEM item);

 protected:
  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
  LRESULT OnChild(WPARAM wParam, LPARAM lParam);
  LRESULT OnLevelDone(WPARAM wParam, LPARAM lParam);
  LRESULT OnBusy(WPARAM wParam, LPARAM lParam);
  LRESULT OnHelpMessage(WPARAM, LPARAM lParam);
  void OnDestroy();
  DECLARE_MESSAGE_MAP()

 private:
  void OnSelectionChanged();
  void StartWorker(HTREEITEM item);
  void EnableOkFor(HTREEITEM item);
  void FreeNodes(HTREEITEM first);
  void StopWorkers();

  CZubrinDoc* m_pDoc;
  CNVList m_profile;
  CSearchEngine* m_pEngine = nullptr;
  CTreeCtrl m_tree;
  CAnimateCtrl m_animation;
  int m_busy = 0;
};
