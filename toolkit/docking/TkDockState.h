// CTkDockState: the layout of a frame's control bars (which bars exist, where they are docked or
// floating, shown or hidden, and where they were last docked and floating) kept in the
// toolkit's profile store rather than the application's profile. The frame collects it from its
// bars and applies it; this class reads and writes it, and refuses a stored layout that is
// damaged, so that the frame keeps its default layout instead.
//
// Below the profile name P: "P-Summary" (Bars, ScreenCX, ScreenCY) and one "P-Bar<n>" section per
// bar (BarID, Visible, Horz, Floating, XPos, YPos, MRUWidth, Docking, MRUDock*, MRUFloat*, Bars
// and Bar#<i>), each value written only when it differs from what a load assumes.
#pragma once
#include "framework/docking/DockState.h"

class CFrameWnd;

class CTkDockState : public CDockState {
  DECLARE_SERIAL(CTkDockState)
 public:
  CTkDockState() = default;
  ~CTkDockState() override = default;

  // FALSE, with no record kept, when the stored layout is damaged (see IsSound).
  BOOL LoadState(LPCSTR lpszProfileName) override;
  void SaveState(LPCSTR lpszProfileName) override;
  // One bar's section; TRUE when it names a bar (load) or was written (save).
  BOOL LoadBarInfo(CControlBarInfo* pInfo, LPCSTR lpszProfileName, int nIndex);
  BOOL SaveBarInfo(CControlBarInfo* pInfo, LPCSTR lpszProfileName, int nIndex);

  // Whether the loaded records can be trusted: every section the summary counts is there with
  // all the row entries it counts, ids and counts are in range, and every floating place lies on
  // a screen of this machine.
  BOOL IsSound() const;
  // Whether every bar the layout names exists in the frame.
  BOOL FitsFrame(CFrameWnd* pFrame) const;

  // Bounds of a sound layout (more is damage, not a layout).
  static constexpr int kMaxScreen = 65535;

 private:
  BOOL m_bDamaged = FALSE;  // a value that was missing or out of range while loading
};
