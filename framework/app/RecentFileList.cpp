#include "framework/app/RecentFileList.h"

#include "framework/app/WinApp.h"
#include "framework/gdi/Menu.h"
#include "framework/wnd/CmdUI.h"

CString AfxFullPath(LPCSTR lpszPathName) {
  char full[MAX_PATH * 2] = {};
  DWORD n = GetFullPathNameA(lpszPathName, sizeof full, full, nullptr);
  if (n == 0 || n >= sizeof full) return CString(lpszPathName);
  return CString(full);
}

BOOL AfxComparePath(LPCSTR lpszPath1, LPCSTR lpszPath2) {
  return lstrcmpiA(AfxFullPath(lpszPath1), AfxFullPath(lpszPath2)) == 0;
}

CRecentFileList::CRecentFileList(UINT nStart, LPCSTR lpszSection, LPCSTR lpszEntryFormat,
                                 int nSize, int nMaxDispLen)
    : m_nStart(nStart),
      m_strSectionName(lpszSection),
      m_strEntryFormat(lpszEntryFormat),
      m_nSize(nSize > 0 ? nSize : 1),
      m_nMaxDisplayLength(nMaxDispLen),
      m_arrNames(new CString[m_nSize]) {}

CRecentFileList::~CRecentFileList() { delete[] m_arrNames; }

void CRecentFileList::Add(LPCSTR lpszPathName) {
  if (!lpszPathName || !*lpszPathName) return;
  CString full = AfxFullPath(lpszPathName);
  // The slot the new head frees: the same file's old place, else the last one.
  int free = m_nSize - 1;
  for (int i = 0; i < m_nSize; ++i) {
    if (!m_arrNames[i].IsEmpty() && AfxComparePath(m_arrNames[i], full)) {
      free = i;
      break;
    }
  }
  for (int i = free; i > 0; --i) m_arrNames[i] = m_arrNames[i - 1];
  m_arrNames[0] = full;
}

void CRecentFileList::Remove(int nIndex) {
  if (nIndex < 0 || nIndex >= m_nSize) return;
  for (int i = nIndex; i < m_nSize - 1; ++i) m_arrNames[i] = m_arrNames[i + 1];
  m_arrNames[m_nSize - 1].Empty();
}

void CRecentFileList::ReadList() {
  CWinApp* app = AfxGetApp();
  if (!app) return;
  int used = 0;
  for (int i = 0; i < m_nSize; ++i) m_arrNames[i].Empty();
  for (int i = 0; i < m_nSize; ++i) {
    CString entry;
    entry.Format(m_strEntryFormat, i + 1);
    CString name = app->GetProfileString(m_strSectionName, entry, "");
    // A gap in the stored list (an entry edited away) closes up rather than showing blank.
    if (!name.IsEmpty()) m_arrNames[used++] = name;
  }
}

void CRecentFileList::WriteList() {
  CWinApp* app = AfxGetApp();
  if (!app) return;
  // The section is written afresh, so that no entry of a longer list stays behind.
  app->WriteProfileString(m_strSectionName, nullptr, nullptr);
  for (int i = 0; i < m_nSize; ++i) {
    if (m_arrNames[i].IsEmpty()) continue;
    CString entry;
    entry.Format(m_strEntryFormat, i + 1);
    app->WriteProfileString(m_strSectionName, entry, m_arrNames[i]);
  }
}

namespace {

int LastSeparator(const CString& path) {
  int slash = path.ReverseFind('\\');
  int other = path.ReverseFind('/');
  return other > slash ? other : slash;
}

// "C:\first\...\name.ext" within nMax characters; the bare name when even that is too long.
CString Abbreviate(const CString& path, int nMax, BOOL bAtLeastName) {
  if (path.GetLength() <= nMax) return path;
  int sep = LastSeparator(path);
  CString name = path.Mid(sep + 1);
  CString head = path.Left(path.Find('\\') + 1);
  CString shortened = head + "...\\" + name;
  if (!head.IsEmpty() && shortened.GetLength() <= nMax) return shortened;
  if (bAtLeastName || name.GetLength() <= nMax) return name;
  return name.Left(nMax);
}

}  // namespace

BOOL CRecentFileList::GetDisplayName(CString& strName, int nIndex, LPCSTR lpszCurDir, int nCurDir,
                                     BOOL bAtLeastName) const {
  if (nIndex < 0 || nIndex >= m_nSize || m_arrNames[nIndex].IsEmpty()) return FALSE;
  const CString& path = m_arrNames[nIndex];
  int sep = LastSeparator(path);
  if (lpszCurDir && nCurDir > 0 && sep == nCurDir &&
      CString(path.Left(nCurDir)).CompareNoCase(CString(lpszCurDir).Left(nCurDir)) == 0) {
    strName = path.Mid(sep + 1);
    return TRUE;
  }
  strName = Abbreviate(path, m_nMaxDisplayLength, bAtLeastName);
  return TRUE;
}

namespace {

// Doubles '&' so that a file name is not read as a menu mnemonic.
CString EscapeAmpersands(const CString& text) {
  CString out = text;
  out.Replace("&", "&&");
  return out;
}

}  // namespace

void CRecentFileList::UpdateMenu(CCmdUI* pCmdUI) {
  CMenu* pMenu = pCmdUI->m_pMenu;
  if (!pMenu) return;
  if (m_strOriginal.IsEmpty()) {
    char text[256] = {};
    pMenu->GetMenuString(pCmdUI->m_nID, text, sizeof text, MF_BYCOMMAND);
    m_strOriginal = text;
  }
  if (m_arrNames[0].IsEmpty()) {
    if (!m_strOriginal.IsEmpty()) pCmdUI->SetText(m_strOriginal);
    pCmdUI->Enable(FALSE);
    return;
  }
  for (int i = 0; i < m_nSize; ++i) pMenu->DeleteMenu(pCmdUI->m_nID + i, MF_BYCOMMAND);
  char curDir[MAX_PATH] = {};
  int nCurDir = static_cast<int>(GetCurrentDirectoryA(MAX_PATH, curDir));
  int added = 0;
  for (int i = 0; i < m_nSize; ++i) {
    CString name;
    if (!GetDisplayName(name, i, curDir, nCurDir)) break;
    CString item;
    item.Format("&%d %s", (i + 1) % 10, static_cast<LPCSTR>(EscapeAmpersands(name)));
    pMenu->InsertMenu(pCmdUI->m_nIndex + added, MF_STRING | MF_BYPOSITION, pCmdUI->m_nID + i,
                      item);
    ++added;
  }
  // The menu loop goes on after the items just inserted.
  pCmdUI->m_nIndex += added - 1;
  pCmdUI->m_nIndexMax = static_cast<UINT>(pMenu->GetMenuItemCount());
  pCmdUI->m_bEnableChanged = TRUE;
}
