// CDockBar: the strip along one edge of a frame (or inside a floating frame) that holds docked
// control bars in rows. m_arrBars starts with a null entry; each row is a run of entries ended by
// a null. An entry below 0x10000 is a placeholder: the id of a bar that floated from that place,
// kept so that it docks back there.
#pragma once
#include "framework/collections/PtrArray.h"
#include "framework/bars/ControlBar.h"

#define AFX_IDW_DOCKBAR_TOP 0xE81B
#define AFX_IDW_DOCKBAR_LEFT 0xE81C
#define AFX_IDW_DOCKBAR_RIGHT 0xE81D
#define AFX_IDW_DOCKBAR_BOTTOM 0xE81E
#define AFX_IDW_DOCKBAR_FLOAT 0xE81F

class CDockBar : public CControlBar {
  DECLARE_DYNAMIC(CDockBar)
 public:
  explicit CDockBar(BOOL bFloating = FALSE);

  BOOL Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID);
  // Takes the bar from where it is (leaving a placeholder when it goes from docked to floating)
  // into a new last row, or at the screen rectangle among the rows.
  virtual void DockControlBar(CControlBar* pBar, LPCRECT lpRect = nullptr);
  // Docks into the bar's placeholder when there is one and no rectangle is given.
  virtual void ReDockControlBar(CControlBar* pBar, LPCRECT lpRect = nullptr);
  // Takes the bar out; nAddPlaceHolder leaves its id in its place.
  virtual BOOL RemoveControlBar(CControlBar* pBar, int nPosExclude = -1, int nAddPlaceHolder = 0);
  void RemovePlaceHolder(UINT nID);

  CControlBar* GetDockedControlBar(int nPos) const;
  int GetDockedCount() const;
  int GetDockedVisibleCount() const;
  int FindBar(CControlBar* pBar, int nPosExclude = -1) const;
  static BOOL IsPlaceHolder(const void* p) { return p && reinterpret_cast<UINT_PTR>(p) < 0x10000; }

  BOOL IsDockBar() const override { return TRUE; }
  // Lays the rows out one after the other across the edge; bars in a row side by side.
  CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
  void OnUpdateCmdUI(CFrameWnd*, BOOL) override {}
  void GetBarInfo(CControlBarInfo* pInfo) override;

  CPtrArray m_arrBars;
  BOOL m_bFloating;
  BOOL m_bLayoutQuery = FALSE;  // sizes asked for only: move nothing
  CRect m_rectLayout;

 protected:
  // The index at which a bar dropped at the point (client coordinates) goes.
  int Insert(CControlBar* pBar, CRect rect, CPoint ptMid);
  // Puts the bar under this dock bar with this edge's alignment.
  void AdoptBar(CControlBar* pBar);
  void RemoveEmptyRow(int nPos);
  void RelayoutFrame();
  LRESULT OnDockSizeParent(WPARAM wParam, LPARAM lParam);
  void OnDestroy();
  DECLARE_MESSAGE_MAP()
};
