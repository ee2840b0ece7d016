// CDockState: the layout of a frame's control bars (which are docked where, floating, shown),
// kept in the application's profile. CControlBarInfo: one bar's or dock bar's entry.
#pragma once
#include "framework/gdi/Gdi.h"
#include "framework/core/Object.h"
#include "framework/collections/PtrArray.h"

class CDockState;

class CControlBarInfo {
 public:
  CControlBarInfo();
  BOOL LoadState(LPCSTR lpszProfileName, int nIndex, CDockState* pDockState);
  BOOL SaveState(LPCSTR lpszProfileName, int nIndex);

  UINT m_nBarID = 0;
  BOOL m_bVisible = TRUE;
  BOOL m_bFloating = FALSE;
  BOOL m_bHorz = TRUE;
  BOOL m_bDockBar = FALSE;  // describes a dock bar (not stored)
  CPoint m_pointPos;        // floating: the frame's screen point
  int m_nMRUWidth = 32767;
  BOOL m_bDocking = FALSE;  // the bar had a dock context
  UINT m_uMRUDockID = 0;
  CRect m_rectMRUDockPos;
  DWORD m_dwMRUFloatStyle = 0;
  CPoint m_ptMRUFloatPos;
  // A dock bar's rows: bar ids, 0 ending a row, an id with 0x10000 added for a placeholder.
  CPtrArray m_arrBarID;
  void* m_pBar = nullptr;  // the bar while the state is applied
};

class CDockState : public CObject {
  DECLARE_DYNCREATE(CDockState)
 public:
  CDockState() = default;
  ~CDockState() override;
  CDockState(const CDockState&) = delete;
  CDockState& operator=(const CDockState&) = delete;

  // FALSE, and nothing kept, when the stored counts are out of bounds.
  virtual BOOL LoadState(LPCSTR lpszProfileName);
  virtual void SaveState(LPCSTR lpszProfileName);
  void Clear();
  CSize GetScreenSize() const;
  void SetScreenSize(const CSize& size);
  // Positions stored at one screen size moved to the same place on this one.
  void ScalePoint(CPoint& pt) const;
  void ScaleRectPos(CRect& rect) const;

  CPtrArray m_arrBarInfo;  // CControlBarInfo*, owned

  static constexpr int kMaxBars = 256;      // entries in one layout
  static constexpr int kMaxBarIds = 1024;   // ids in one dock bar's rows

 protected:
  CSize m_sizeSaved;  // the screen the positions were stored at (0: this one)
};
