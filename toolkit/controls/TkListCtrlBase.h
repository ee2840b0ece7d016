// CTkListCtrlBase: what the toolkit's report list adds to a list view, kept apart from the list
// class so other list kinds can share it: a flat header with a sort arrow that header clicks
// move, a least and most column width, columns built from tables and sized to their contents,
// column widths kept in the profile, and the list's own colours for unselected rows.
#pragma once
#include "framework/core/String.h"
#include "framework/controls/ListCtrl.h"
#include "toolkit/controls/TkFlatHeaderCtrl.h"

class CTkListCtrlBase {
 public:
  explicit CTkListCtrlBase(CListCtrl* pList);
  virtual ~CTkListCtrlBase() = default;
  CTkListCtrlBase(const CTkListCtrlBase&) = delete;
  CTkListCtrlBase& operator=(const CTkListCtrlBase&) = delete;

  virtual void SetSortArrow(int nCol, BOOL bAscending);
  virtual int GetStoredColumnWidth(int nCol);
  virtual void RestoreColumnWidth(int nCol);
  virtual void RestoreColumnWidths();
  virtual void StoreColumnWidths();
  // Negative: every column.
  virtual void AutoSizeColumn(int nCol = -1);
  // Null arguments take the toolkit's own section and entry names and no key.
  virtual void EnableColumnStore(LPCSTR lpszSection = nullptr, LPCSTR lpszEntry = nullptr,
                                 LPCSTR lpszKey = nullptr);
  virtual BOOL SubclassHeader(BOOL bBoldFont = FALSE);
  // Sorts nothing here; a list that knows its rows supplies the order.
  virtual BOOL SortList(int nCol, BOOL bAscending);
  virtual void SetExtendedStyle(DWORD dwBits);
  virtual DWORD GetExtendedStyle() const;
  virtual void SetNoColumnSizing(BOOL bNoSizing) { m_bNoColumnSizing = bNoSizing; }
  virtual int HitTestEx(CPoint point, int* pCol) const;
  virtual int AddColumn(LPCSTR lpszText, int nWidth = -1, int nFormat = LVCFMT_LEFT);
  virtual BOOL BuildColumns(int nCount, const int* pWidths, const UINT* pStringIDs);
  virtual BOOL BuildColumns(int nCount, const int* pWidths, const LPCSTR* pTexts);
  virtual void SetListColors(COLORREF clrText, COLORREF clrBack);
  virtual int GetColumnCount() const;
  virtual BOOL CopyRow(int nFrom, int nTo);
  virtual BOOL MoveRow(int nFrom, int nTo);
  // TRUE when the notification is settled here and the list must not act on it.
  virtual BOOL OnHeaderNotify(NMHDR* pNMHDR, LRESULT* pResult);
  virtual void ApplyListFont();

  CTkFlatHeaderCtrl& GetFlatHeader() { return m_header; }
  int GetSortColumn() const { return m_nSortCol; }
  BOOL IsAscending() const { return m_bAscending; }
  void SetMinColumnWidth(int cx) { m_nMinColWidth = cx; }
  BOOL IsColumnStoreEnabled() const { return m_bStoreWidths; }

  // The direction after a header click: button 0 toggles on the sort column and starts
  // ascending elsewhere; button 1 (the header's own sort commands) takes the header's direction.
  // FALSE for any other button.
  static BOOL NextSortDirection(int nSortCol, BOOL bAscending, int nClickedCol, int nButton,
                                int nHeaderAscending, BOOL* pAscending);
  // Field nIndex of "w0,w1,..."; a missing or empty field is 0.
  static int WidthField(const CString& strWidths, int nIndex);
  // The width a column gets when sized to its contents.
  static int AutoWidth(int nContentWidth, int nHeaderTextWidth, BOOL bSortArrow, int nMin,
                       int nMax);

 protected:
  BOOL IsReportView() const;
  CString StorageSection() const;

  BOOL m_bFontFlag = TRUE;
  CListCtrl* m_pList;
  int m_nMinColWidth = 0;
  int m_nMaxColWidth;
  int m_nSortCol = -1;
  CTkFlatHeaderCtrl m_header;
  CString m_strSection;
  CString m_strEntry;
  CString m_strKey;
  COLORREF m_clrText;
  COLORREF m_clrBack;
  BOOL m_bNoColumnSizing = FALSE;
  BOOL m_bAscending = TRUE;
  BOOL m_bStoreWidths = FALSE;
};
