// CTkBrowseEdit: an edit with a small button at its right end that browses for a folder, opens
// a file dialog or drops down a popup menu, by its browse style. The button is made once the
// edit's window exists (a message the edit posts itself), from the style set by then; the edit
// then gives up room for it and keeps it beside itself whenever it moves.
#pragma once
#include "framework/core/String.h"
#include "framework/controls/Edit.h"

class CFileDialog;
class CTkBrowseBtn;
class CTkBrowseFolderDlg;

// Browse styles: the low three bits choose the kind; 0 or any other value means no button.
#define TKBROWSE_FOLDER 1
#define TKBROWSE_FILE 2
#define TKBROWSE_POPUPMENU 4
#define TKBROWSE_KINDMASK 7

// Posted to the edit itself to make its button (lParam: the creation counter).
#define WM_TK_CREATEBROWSEBUTTON 0x0802

class CTkBrowseEdit : public CEdit {
  DECLARE_DYNAMIC(CTkBrowseEdit)
 public:
  CTkBrowseEdit();
  ~CTkBrowseEdit() override;

  virtual void SetCustomFileDialog(CFileDialog* pDialog);  // the owner's own dialog, or null
  virtual void SetOpenDialog(BOOL bOpen);                  // TRUE open, FALSE save as
  virtual void SetDefaultExt(LPCSTR lpszExt);
  virtual void SetFileName(LPCSTR lpszName);
  virtual void SetFileDialogFlags(DWORD dwFlags);
  virtual void SetFilter(LPCSTR lpszFilter);
  virtual void SetDialogParent(CWnd* pParent);
  virtual void SetFolderDialogTitle(LPCSTR lpszTitle);
  // Set before the button is made (right after creating or subclassing the edit).
  virtual void SetBrowseStyle(UINT nStyle, UINT nMenuId = 0, int nPopupIndex = 0);
  // The button was clicked: browse by the kind, then select the whole text in the edit.
  virtual void OnBrowse();
  virtual void BrowseForFolder();
  virtual void BrowseForFile();
  virtual void PopupMenu();
  // Places the button beside the edit; with bResizeEdit the edit first gives up its room.
  virtual void PositionBrowseButton(BOOL bResizeEdit);

  CTkBrowseBtn* GetBrowseButton() const { return m_pBrowseBtn; }
  UINT GetBrowseStyle() const { return m_nBrowseStyle; }
  int GetGap() const { return m_nGap; }

 protected:
  // Where the dialogs and the menu would take over from the user; tests put their own answers
  // here. Each returns what the dialog's DoModal returns.
  virtual INT_PTR RunFolderDialog(CTkBrowseFolderDlg& dialog);
  virtual INT_PTR RunFileDialog(CFileDialog& dialog);
  virtual void RunPopupMenu(HMENU hPopup, UINT nFlags, CPoint pt, HWND hOwner,
                            const CRect& rectExclude);

  void PreSubclassWindow() override;
  // Asks for the button by a posted message, so that the style set after creation counts.
  void RequestBrowseButton();
  // The edit's rectangle in its parent's client coordinates.
  CRect RectInParent() const;

  int OnCreate(LPCREATESTRUCT lpcs);
  void OnDestroy();
  void OnEnable(BOOL bEnable);
  void OnShowWindow(BOOL bShow, UINT nStatus);
  void OnWindowPosChanging(WINDOWPOS* lpwp);
  void OnWindowPosChanged(WINDOWPOS* lpwp);
  LRESULT OnCreateBrowseButton(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

  int m_nGap;                 // between the edit and its button
  BOOL m_bOpenDialog = TRUE;  // open-file dialog, else save as
  CFileDialog* m_pCustomFileDialog = nullptr;
  DWORD m_dwFileFlags;
  CString m_strDefExt, m_strFileName, m_strFilter, m_strFolderTitle;
  CTkBrowseBtn* m_pBrowseBtn = nullptr;
  UINT m_nBrowseStyle = TKBROWSE_FOLDER;
  UINT m_nMenuId = 0;
  int m_nPopupIndex = 0;
  CWnd* m_pDialogParent = nullptr;
  int m_nCreateCounter = 1;   // 0 once the button is made
};
