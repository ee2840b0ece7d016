#include "toolkit/docking/TkDocking.h"

#include "framework/frame/FrameWnd.h"
#include "toolkit/docking/TkDockBar.h"
#include "toolkit/docking/TkDockState.h"

namespace {
[[maybe_unused]] const UINT g_trayIconNotify = ::RegisterWindowMessageA("TkTrayIconNotify");
[[maybe_unused]] const UINT g_barContextMenu = ::RegisterWindowMessageA("TkBarContextMenu");

// Top and bottom first: they span the frame, the sides fit between them.
const DWORD kEdges[4][2] = {{AFX_IDW_DOCKBAR_TOP, CBRS_ALIGN_TOP},
                            {AFX_IDW_DOCKBAR_BOTTOM, CBRS_ALIGN_BOTTOM},
                            {AFX_IDW_DOCKBAR_LEFT, CBRS_ALIGN_LEFT},
                            {AFX_IDW_DOCKBAR_RIGHT, CBRS_ALIGN_RIGHT}};
}  // namespace

BOOL TkEnableDocking(CFrameWnd* pFrame, DWORD dwDockStyle, DWORD dwDockBarStyle) {
  if (!pFrame || !pFrame->m_hWnd) return FALSE;
  BOOL ok = TRUE;
  for (const auto& edge : kEdges) {
    if (!(dwDockStyle & edge[1])) continue;
    if (CControlBar* existing = pFrame->GetControlBar(edge[0])) {
      if (auto* dock = dynamic_cast<CTkDockBar*>(existing)) dock->SetDockBarStyle(dwDockBarStyle);
      continue;
    }
    auto* dock = new CTkDockBar;
    dock->m_bAutoDelete = TRUE;
    dock->SetDockBarStyle(dwDockBarStyle);
    if (!dock->Create(pFrame, edge[1] | WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                      edge[0])) {
      delete dock;
      ok = FALSE;
    }
  }
  // The frame's own part (its floating frame class); the edges it would fill are taken.
  pFrame->EnableDocking(dwDockStyle);
  return ok;
}

BOOL TkLoadBarState(CFrameWnd* pFrame, LPCSTR lpszProfileName) {
  if (!pFrame) return FALSE;
  CTkDockState state;
  if (!state.LoadState(lpszProfileName) || state.m_arrBarInfo.GetSize() == 0) return FALSE;
  if (!state.FitsFrame(pFrame)) return FALSE;
  // The frame checks the rows against its bars once more before it moves any of them.
  if (!pFrame->SetDockState(state)) return FALSE;
  // The sizing bars read their own values from the sections of their ids.
  for (INT_PTR n = 0; n < state.m_arrBarInfo.GetSize(); ++n) {
    auto* info = static_cast<CControlBarInfo*>(state.m_arrBarInfo[n]);
    if (CTkDockSizing* sizing = TkDockSizingOf(pFrame->GetControlBar(info->m_nBarID)))
      sizing->LoadDockState(lpszProfileName, static_cast<int>(n));
  }
  return TRUE;
}

void TkSaveBarState(CFrameWnd* pFrame, LPCSTR lpszProfileName) {
  if (!pFrame) return;
  CTkDockState state;
  pFrame->GetDockState(state);
  state.SaveState(lpszProfileName);
  // Sections are numbered as they were written (empty dock bars leave none): each sizing bar
  // finds its own by the id in it.
  CTkDockState written;
  if (!written.LoadState(lpszProfileName)) return;
  for (INT_PTR n = 0; n < written.m_arrBarInfo.GetSize(); ++n) {
    auto* info = static_cast<CControlBarInfo*>(written.m_arrBarInfo[n]);
    if (CTkDockSizing* sizing = TkDockSizingOf(pFrame->GetControlBar(info->m_nBarID)))
      sizing->SaveDockState(lpszProfileName, static_cast<int>(n));
  }
}
