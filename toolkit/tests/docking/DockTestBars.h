// Bars for the dock bar tests and pictures: a fixed bar of a given size (lying down; standing
// up it swaps its sides), and a sizing pane that keeps a docked size, a current size and a
// minimum, as a docking window does.
#pragma once
#include <windows.h>

#include "toolkit/bars/TkControlBar.h"
#include "toolkit/docking/TkDockSizing.h"

namespace docktest {

class FixedBar : public CTkControlBar {
 public:
  FixedBar(int cx, int cy) : m_size(cx, cy) {}
  BOOL Create(CWnd* parent, UINT id, DWORD align, LPCSTR title = "");
  CSize CalcDynamicLayout(int, DWORD nMode) override {
    return (nMode & LM_HORZ) ? m_size : CSize(m_size.cy, m_size.cx);
  }
  CSize CalcFixedLayout(BOOL, BOOL bHorz) override {
    return bHorz ? m_size : CSize(m_size.cy, m_size.cx);
  }
  void DoPaint(CDC* pDC) override;
  CSize m_size;
};

class SizingPane : public CTkControlBar, public CTkDockSizing {
 public:
  SizingPane(CSize docked, CSize min) : m_docked(docked), m_current(docked), m_min(min) {}
  BOOL Create(CWnd* parent, UINT id, DWORD align, LPCSTR title = "");
  CSize CalcDynamicLayout(int, DWORD) override { return m_docked; }
  CSize CalcFixedLayout(BOOL, BOOL) override { return m_docked; }
  void DoPaint(CDC* pDC) override;

  CSize GetCurrentSize() const override { return m_current; }
  void SetDockedSize(const CSize& size) override {
    m_docked = m_current = size;
    m_bExpanded = FALSE;
  }
  CSize GetMinSize() const override { return m_min; }
  BOOL IsExpanded() const override { return m_bExpanded; }
  void Expand(int nLength) override;
  int Minimize() override;
  void Restore() override {
    m_current = m_docked;
    m_bExpanded = FALSE;
  }
  BOOL IsAlone() const override { return m_bAlone; }
  void SetAlone(BOOL bAlone) override { m_bAlone = bAlone; }
  BOOL IsNewlyDocked() const override { return (GetTkBarStyle() & TKBS_NEWLY_DOCKED) != 0; }
  void SetNewlyDocked(BOOL bNew) override {
    SetTkBarStyle(bNew ? (GetTkBarStyle() | TKBS_NEWLY_DOCKED)
                       : (GetTkBarStyle() & ~TKBS_NEWLY_DOCKED));
  }

  // Its docked size in its layout section.
  void SaveDockState(LPCSTR lpszProfileName, int nSection) override;
  void LoadDockState(LPCSTR lpszProfileName, int nSection) override;

  CSize m_docked, m_current, m_min;
  BOOL m_bExpanded = FALSE, m_bAlone = FALSE;

 private:
  BOOL Horz() const { return (m_dwStyle & CBRS_ORIENT_HORZ) != 0; }
};

}  // namespace docktest
