#include "toolkit/widgets/TkBrowseEdit.h"

#include <commdlg.h>

#include "framework/app/AfxResource.h"
#include "framework/dialogs/FileDialog.h"
#include "framework/wnd/MessageMap.h"
#include "resources/ids/ToolkitWidgetsIds.h"
#include "toolkit/core/ToolkitData.h"
#include "toolkit/core/ToolkitHelpers.h"
#include "toolkit/dialogs/TkBrowseFolderDlg.h"
#include "toolkit/services/OSVersion.h"
#include "toolkit/widgets/TkBrowseBtn.h"

// The framework's edit carries no class record of its own: the chain goes on at the window.
IMPLEMENT_DYNAMIC(CTkBrowseEdit, CWnd)

BEGIN_MESSAGE_MAP(CTkBrowseEdit, CEdit)
  ON_WM_ENABLE()
  ON_WM_SHOWWINDOW()
  ON_WM_CREATE()
  ON_WM_DESTROY()
  ON_WM_WINDOWPOSCHANGING()
  ON_WM_WINDOWPOSCHANGED()
  ON_MESSAGE(WM_TK_CREATEBROWSEBUTTON, OnCreateBrowseButton)
END_MESSAGE_MAP()

namespace {
// Windows 2000 or later (platform NT, major version 5 or more): the system's dialogs take their
// newer, longer records there.
bool IsNT5OrLater(const OSVERSIONINFOA& version) {
  return version.dwPlatformId == VER_PLATFORM_WIN32_NT && version.dwMajorVersion >= 5;
}
// Explorer look, the file must exist, no read-only box.
constexpr DWORD kDefaultFileFlags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
// The popup menu drops below the button (or above it when there is no room).
constexpr UINT kPopupFlags = TPM_VERTICAL;
}  // namespace

CTkBrowseEdit::CTkBrowseEdit()
    : m_nGap(::GetSystemMetrics(SM_CXEDGE)),
      m_dwFileFlags(kDefaultFileFlags),
      m_strDefExt(TkLoadString(IDS_TK_BROWSE_DEFEXT)),
      m_strFilter(TkLoadString(IDS_TK_BROWSE_FILTER)),
      m_strFolderTitle(TkLoadString(IDS_TK_BROWSE_FOLDER)) {}

CTkBrowseEdit::~CTkBrowseEdit() { delete m_pBrowseBtn; }

void CTkBrowseEdit::SetCustomFileDialog(CFileDialog* pDialog) { m_pCustomFileDialog = pDialog; }
void CTkBrowseEdit::SetOpenDialog(BOOL bOpen) { m_bOpenDialog = bOpen; }
void CTkBrowseEdit::SetDefaultExt(LPCSTR lpszExt) { m_strDefExt = lpszExt ? lpszExt : ""; }
void CTkBrowseEdit::SetFileName(LPCSTR lpszName) { m_strFileName = lpszName ? lpszName : ""; }
void CTkBrowseEdit::SetFileDialogFlags(DWORD dwFlags) { m_dwFileFlags = dwFlags; }
void CTkBrowseEdit::SetFilter(LPCSTR lpszFilter) { m_strFilter = lpszFilter ? lpszFilter : ""; }
void CTkBrowseEdit::SetDialogParent(CWnd* pParent) { m_pDialogParent = pParent; }
void CTkBrowseEdit::SetFolderDialogTitle(LPCSTR lpszTitle) {
  m_strFolderTitle = lpszTitle ? lpszTitle : "";
}

void CTkBrowseEdit::SetBrowseStyle(UINT nStyle, UINT nMenuId, int nPopupIndex) {
  m_nBrowseStyle = nStyle;
  m_nMenuId = nMenuId;
  m_nPopupIndex = nPopupIndex;
}

// --- making the button ---

void CTkBrowseEdit::RequestBrowseButton() {
  if (m_nCreateCounter == 0) return;
  ++m_nCreateCounter;
  PostMessage(WM_TK_CREATEBROWSEBUTTON, 0, m_nCreateCounter);
}

void CTkBrowseEdit::PreSubclassWindow() {
  CEdit::PreSubclassWindow();
  RequestBrowseButton();
}

int CTkBrowseEdit::OnCreate(LPCREATESTRUCT lpcs) {
  if (CEdit::OnCreate(lpcs) == -1) return -1;
  RequestBrowseButton();
  return 0;
}

void CTkBrowseEdit::OnDestroy() {
  // The button lives in the edit's parent, which would keep it after the edit is gone.
  if (m_pBrowseBtn && m_pBrowseBtn->m_hWnd) m_pBrowseBtn->DestroyWindow();
  CEdit::OnDestroy();
}

LRESULT CTkBrowseEdit::OnCreateBrowseButton(WPARAM, LPARAM lParam) {
  // Only the last request counts: the edit may have been created and subclassed meanwhile.
  if (m_nCreateCounter == 0 || lParam != m_nCreateCounter) return 0;
  m_nCreateCounter = 0;
  UINT kind = m_nBrowseStyle & TKBROWSE_KINDMASK;
  if (kind == TKBROWSE_FOLDER || kind == TKBROWSE_FILE || kind == TKBROWSE_POPUPMENU) {
    auto* button = new CTkBrowseBtn;
    if (button->Create(this, m_nBrowseStyle, IDC_TK_BROWSE_BUTTON, m_nMenuId, m_nPopupIndex)) {
      m_pBrowseBtn = button;
      PositionBrowseButton(TRUE);
    } else {
      delete button;
    }
  }
  ::SendMessageA(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(ToolkitData().GetBarFont()), TRUE);
  m_pDialogParent = this;
  return 0;
}

// --- geometry ---

CRect CTkBrowseEdit::RectInParent() const {
  CRect rect;
  GetWindowRect(&rect);
  HWND parent = ::GetParent(m_hWnd);
  if (parent) ::MapWindowPoints(nullptr, parent, reinterpret_cast<LPPOINT>(&rect), 2);
  return rect;
}

void CTkBrowseEdit::OnWindowPosChanging(WINDOWPOS* lpwp) {
  CEdit::OnWindowPosChanging(lpwp);
  // The width given to the edit is shared with its button.
  if (m_pBrowseBtn && m_pBrowseBtn->m_hWnd && !(lpwp->flags & SWP_NOSIZE))
    lpwp->cx -= kTkSmallButtonWidth + m_nGap;
}

void CTkBrowseEdit::OnWindowPosChanged(WINDOWPOS* lpwp) {
  CEdit::OnWindowPosChanged(lpwp);
  if (m_pBrowseBtn && m_pBrowseBtn->m_hWnd) PositionBrowseButton(FALSE);
}

void CTkBrowseEdit::PositionBrowseButton(BOOL bResizeEdit) {
  if (!m_pBrowseBtn || !m_pBrowseBtn->m_hWnd) return;
  CRect edit = RectInParent();
  const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED | SWP_NOREDRAW;
  if (bResizeEdit) {
    // Sizing the edit to itself runs both halves: it gives up the room, then the button moves.
    ::SetWindowPos(m_hWnd, nullptr, edit.left, edit.top, edit.Width(), edit.Height(), flags);
    return;
  }
  int right = edit.right + kTkSmallButtonWidth + m_nGap;
  ::SetWindowPos(m_pBrowseBtn->m_hWnd, nullptr, right - kTkSmallButtonWidth, edit.top,
                 kTkSmallButtonWidth, edit.Height(), flags);
  HWND parent = ::GetParent(m_hWnd);
  if (parent)
    ::RedrawWindow(parent, nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void CTkBrowseEdit::OnEnable(BOOL bEnable) {
  CEdit::OnEnable(bEnable);
  if (m_pBrowseBtn && m_pBrowseBtn->m_hWnd) m_pBrowseBtn->EnableWindow(bEnable);
}

void CTkBrowseEdit::OnShowWindow(BOOL bShow, UINT nStatus) {
  CEdit::OnShowWindow(bShow, nStatus);
  if (m_pBrowseBtn && m_pBrowseBtn->m_hWnd) m_pBrowseBtn->ShowWindow(bShow ? SW_SHOW : SW_HIDE);
}

// --- browsing ---

void CTkBrowseEdit::OnBrowse() {
  switch (m_nBrowseStyle & TKBROWSE_KINDMASK) {
    case TKBROWSE_FOLDER:
      BrowseForFolder();
      break;
    case TKBROWSE_FILE:
      BrowseForFile();
      break;
    case TKBROWSE_POPUPMENU:
      PopupMenu();
      break;
    default:
      break;
  }
  if (!m_hWnd) return;
  SetSel(0, -1);
  SetFocus();
}

INT_PTR CTkBrowseEdit::RunFolderDialog(CTkBrowseFolderDlg& dialog) { return dialog.DoModal(); }

INT_PTR CTkBrowseEdit::RunFileDialog(CFileDialog& dialog) { return dialog.DoModal(); }

void CTkBrowseEdit::RunPopupMenu(HMENU hPopup, UINT nFlags, CPoint pt, HWND hOwner,
                                 const CRect& rectExclude) {
  TPMPARAMS params = {sizeof params, rectExclude};
  ::TrackPopupMenuEx(hPopup, nFlags, pt.x, pt.y, hOwner, &params);
}

void CTkBrowseEdit::BrowseForFolder() {
  CTkBrowseFolderDlg dialog(GetParent());
  dialog.m_strTitle = m_strFolderTitle;
  dialog.m_bi.lpszTitle = dialog.m_strTitle.GetString();
  GetWindowText(dialog.m_szPath, MAX_PATH);
  if (RunFolderDialog(dialog) == IDOK) SetWindowText(dialog.m_szPath);
}

void CTkBrowseEdit::BrowseForFile() {
  if (m_pCustomFileDialog) {
    if (RunFileDialog(*m_pCustomFileDialog) == IDOK)
      SetWindowText(m_pCustomFileDialog->GetPathName());
    return;
  }
  CFileDialog dialog(m_bOpenDialog, m_strDefExt, m_strFileName, m_dwFileFlags, m_strFilter,
                     m_pDialogParent);
  // The newer, longer record from Windows 2000 on (the places bar and its kind); the short
  // one before.
  dialog.m_ofn.lStructSize =
      IsNT5OrLater(*GetOSVersionInfo()) ? sizeof(OPENFILENAMEA) : OPENFILENAME_SIZE_VERSION_400A;
  if (RunFileDialog(dialog) == IDOK) SetWindowText(dialog.GetPathName());
}

void CTkBrowseEdit::PopupMenu() {
  if (!m_pBrowseBtn || !m_pBrowseBtn->m_hWnd) return;
  m_pBrowseBtn->SetState(TRUE);
  HMENU menu = ::LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(m_nMenuId));
  HMENU popup = menu ? ::GetSubMenu(menu, m_nPopupIndex) : nullptr;
  if (popup) {
    CRect button;
    m_pBrowseBtn->GetWindowRect(&button);
    // The chosen command goes to the edit's top-level window, as a menu of its own would.
    HWND owner = m_hWnd;
    while (owner && (::GetWindowLongPtrA(owner, GWL_STYLE) & WS_CHILD)) owner = ::GetParent(owner);
    RunPopupMenu(popup, kPopupFlags, CPoint(button.right, button.top), owner, button);
  }
  if (m_pBrowseBtn && m_pBrowseBtn->m_hWnd) m_pBrowseBtn->SetState(FALSE);
  if (menu) ::DestroyMenu(menu);
}
