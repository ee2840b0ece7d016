// CTkHeaderCtrl: the header of a report list that can lock columns against sizing, keep a least
// column width and share the list's width out among its columns.
#pragma once
#include "framework/collections/Array.h"
#include "framework/controls/HeaderCtrl.h"

class CTkHeaderCtrl : public CHeaderCtrl {
 public:
  CTkHeaderCtrl();

  virtual BOOL IsRightToLeft() const { return m_bRightToLeft; }
  // Gives every unlocked column an equal share of the width, when the share is above the least
  // width; with every column locked nothing changes.
  virtual void FitColumns(int nWidth);
  // Width 0: the header's width less the scroll bar and the locked columns.
  virtual void AutoFitColumns(int nWidth = 0);
  virtual int GetLockedWidth() const;

  void LockColumn(int nCol) { m_locked.Add(nCol); }
  void UnlockColumn(int nCol);
  BOOL IsColumnLocked(int nCol) const;
  void SetMinWidth(int cx) { m_nMinWidth = cx; }
  int GetMinWidth() const { return m_nMinWidth; }
  void SetAutoFit(BOOL bAutoFit) { m_bAutoFit = bAutoFit; }

  // The equal share of nWidth for the unlocked columns; 0 when no column is unlocked.
  static int FitShare(int nWidth, int nColumns, int nLocked);

  void OnWindowPosChanging(WINDOWPOS* pPos);
  BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  BOOL OnItemChanging(NMHDR* pNMHDR, LRESULT* pResult);

 protected:
  DECLARE_MESSAGE_MAP()

  int m_nMinWidth = 0;
  BOOL m_bRightToLeft = FALSE;
  BOOL m_bAutoFit = FALSE;
  CArray<int, int> m_locked;
};
