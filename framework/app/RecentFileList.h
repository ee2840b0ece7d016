// CRecentFileList: the files the user opened last, newest first, kept in the application's
// profile (one string entry per file, "File1", "File2", ...) and shown as numbered items of the
// File menu in place of the item with the list's first command id.
#pragma once
#include <windows.h>

#include "framework/core/String.h"

class CCmdUI;

class CRecentFileList {
 public:
  CRecentFileList(UINT nStart, LPCSTR lpszSection, LPCSTR lpszEntryFormat, int nSize,
                  int nMaxDispLen = 30);
  virtual ~CRecentFileList();
  CRecentFileList(const CRecentFileList&) = delete;
  CRecentFileList& operator=(const CRecentFileList&) = delete;

  int GetSize() const { return m_nSize; }
  // An empty string stands for an unused entry.
  CString& operator[](int nIndex) { return m_arrNames[nIndex]; }

  // Puts the file at the head; an entry for the same file (the case and the form of the path
  // aside) moves up instead of appearing twice. The oldest entry falls off a full list.
  virtual void Add(LPCSTR lpszPathName);
  virtual void Remove(int nIndex);
  virtual void ReadList();
  virtual void WriteList();
  // The entry as the menu shows it: the bare file name when it lies in lpszCurDir, else the
  // path shortened to the display length (keeping its start and the file name). FALSE for an
  // unused entry.
  virtual BOOL GetDisplayName(CString& strName, int nIndex, LPCSTR lpszCurDir, int nCurDir,
                              BOOL bAtLeastName = TRUE) const;
  // Replaces the menu item of pCmdUI (the list's first id) by one item per used entry, or leaves
  // it disabled with its own text when the list is empty.
  virtual void UpdateMenu(CCmdUI* pCmdUI);

  UINT m_nStart;
  CString m_strSectionName;
  CString m_strEntryFormat;
  CString m_strOriginal;  // the menu item's text before the list replaced it
  int m_nSize;
  int m_nMaxDisplayLength;
  CString* m_arrNames;
};

// The full, canonical form of a path; the path itself when the system cannot make one.
CString AfxFullPath(LPCSTR lpszPathName);
// TRUE when both name the same file by their full forms, without regard to case.
BOOL AfxComparePath(LPCSTR lpszPath1, LPCSTR lpszPath2);
