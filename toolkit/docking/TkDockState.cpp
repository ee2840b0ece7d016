#include "toolkit/docking/TkDockState.h"

#include <climits>
#include <cstdio>

#include "framework/files/Archive.h"
#include "framework/docking/DockBar.h"
#include "framework/frame/FrameWnd.h"
#include "toolkit/services/TkProfileStore.h"

IMPLEMENT_SERIAL(CTkDockState, CDockState, 0)

namespace {
[[maybe_unused]] const UINT g_trayIconNotify = ::RegisterWindowMessageA("TkTrayIconNotify");
[[maybe_unused]] const UINT g_barContextMenu = ::RegisterWindowMessageA("TkBarContextMenu");

// Read in place of a value that must be there, to tell "missing" from any stored number.
constexpr int kMissing = INT_MIN;

CString SummarySection(LPCSTR profile) {
  CString s;
  s.Format("%s-Summary", profile);
  return s;
}

CString BarSection(LPCSTR profile, int index) {
  CString s;
  s.Format("%s-Bar%d", profile, index);
  return s;
}

int ReadInt(LPCSTR section, LPCSTR entry, int def) {
  return static_cast<int>(CTkProfileStore(HKEY_CURRENT_USER).GetProfileInt(section, entry, def));
}

void WriteInt(LPCSTR section, LPCSTR entry, int value) {
  CTkProfileStore(HKEY_CURRENT_USER).WriteProfileInt(section, entry, value);
}

BOOL IsControlId(int id) {
  return id > 0 && id <= 0xFFFF;
}

BOOL IsDockBarId(UINT id) {
  return id >= AFX_IDW_DOCKBAR_TOP && id <= AFX_IDW_DOCKBAR_FLOAT;
}

// A row entry: 0 ends a row, a control id names a bar, an id with 0x10000 a bar's placeholder.
BOOL IsRowEntry(int value) {
  return value == 0 || IsControlId(value) || (value > 0x10000 && value <= 0x1FFFF);
}

CRect VirtualScreen() {
  CRect screen(
      CPoint(::GetSystemMetrics(SM_XVIRTUALSCREEN), ::GetSystemMetrics(SM_YVIRTUALSCREEN)),
      CSize(::GetSystemMetrics(SM_CXVIRTUALSCREEN), ::GetSystemMetrics(SM_CYVIRTUALSCREEN)));
  if (screen.IsRectEmpty())
    screen = CRect(0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
  return screen;
}

// A floating frame whose corner is here shows at least its caption on some screen.
BOOL IsOnAScreen(const CPoint& pt) {
  CRect caption(pt, CSize(32, 16));
  return ::MonitorFromRect(&caption, MONITOR_DEFAULTTONULL) != nullptr;
}

// The last docked place is kept in a dock bar's own coordinates: it must be an upright
// rectangle no larger than the screen and reach into it.
BOOL IsDockPlace(const CRect& rect) {
  if (rect.IsRectNull()) return TRUE;
  if (rect.left > rect.right || rect.top > rect.bottom) return FALSE;
  CRect screen = VirtualScreen();
  if (rect.Width() > screen.Width() || rect.Height() > screen.Height()) return FALSE;
  CRect reach(0, 0, screen.Width(), screen.Height());
  reach.InflateRect(16, 16);
  return rect.left < reach.right && rect.right > reach.left && rect.top < reach.bottom &&
         rect.bottom > reach.top;
}
}  // namespace

BOOL CTkDockState::LoadState(LPCSTR lpszProfileName) {
  Clear();
  m_bDamaged = FALSE;
  CString summary = SummarySection(lpszProfileName);
  int count = ReadInt(summary, "Bars", 0);
  int cx = ReadInt(summary, "ScreenCX", 0), cy = ReadInt(summary, "ScreenCY", 0);
  if (count < 0 || count > kMaxBars || cx < 0 || cy < 0 || cx > kMaxScreen || cy > kMaxScreen)
    return FALSE;
  SetScreenSize(CSize(cx, cy));
  for (int n = 0; n < count && !m_bDamaged; ++n) {
    auto* info = new CControlBarInfo;
    m_arrBarInfo.Add(info);
    LoadBarInfo(info, lpszProfileName, n);
  }
  if (m_bDamaged || !IsSound()) {
    Clear();
    return FALSE;
  }
  return TRUE;
}

BOOL CTkDockState::LoadBarInfo(CControlBarInfo* pInfo, LPCSTR lpszProfileName, int nIndex) {
  CString s = BarSection(lpszProfileName, nIndex);
  // A section the summary counts but that has no bar id is a layout cut short.
  int id = ReadInt(s, "BarID", kMissing);
  if (!IsControlId(id)) m_bDamaged = TRUE;
  pInfo->m_nBarID = id == kMissing ? 0 : static_cast<UINT>(id);
  pInfo->m_bVisible = ReadInt(s, "Visible", TRUE);
  pInfo->m_bHorz = ReadInt(s, "Horz", TRUE);
  pInfo->m_bFloating = ReadInt(s, "Floating", FALSE);
  pInfo->m_pointPos = CPoint(ReadInt(s, "XPos", -1), ReadInt(s, "YPos", -1));
  ScalePoint(pInfo->m_pointPos);
  pInfo->m_nMRUWidth = ReadInt(s, "MRUWidth", 32767);
  pInfo->m_bDocking = ReadInt(s, "Docking", 0);
  if (pInfo->m_bDocking) {
    pInfo->m_uMRUDockID = static_cast<UINT>(ReadInt(s, "MRUDockID", 0));
    pInfo->m_rectMRUDockPos =
        CRect(ReadInt(s, "MRUDockLeftPos", 0), ReadInt(s, "MRUDockTopPos", 0),
              ReadInt(s, "MRUDockRightPos", 0), ReadInt(s, "MRUDockBottomPos", 0));
    ScaleRectPos(pInfo->m_rectMRUDockPos);
    pInfo->m_dwMRUFloatStyle = static_cast<DWORD>(ReadInt(s, "MRUFloatStyle", 0));
    pInfo->m_ptMRUFloatPos = CPoint(ReadInt(s, "MRUFloatXPos", 0), ReadInt(s, "MRUFloatYPos", 0));
    ScalePoint(pInfo->m_ptMRUFloatPos);
  }
  int count = ReadInt(s, "Bars", 0);
  if (count < 0 || count > kMaxBarIds) {
    m_bDamaged = TRUE;
    return FALSE;
  }
  for (int i = 0; i < count; ++i) {
    char entry[16];
    std::snprintf(entry, sizeof entry, "Bar#%d", i);
    int value = ReadInt(s, entry, kMissing);
    if (!IsRowEntry(value)) {
      m_bDamaged = TRUE;
      return FALSE;
    }
    pInfo->m_arrBarID.Add(reinterpret_cast<void*>(static_cast<UINT_PTR>(value)));
  }
  return pInfo->m_nBarID != 0;
}

BOOL CTkDockState::IsSound() const {
  for (INT_PTR i = 0; i < m_arrBarInfo.GetSize(); ++i) {
    const auto* info = static_cast<const CControlBarInfo*>(m_arrBarInfo[i]);
    if (!IsControlId(static_cast<int>(info->m_nBarID))) return FALSE;
    if (info->m_bFloating && !IsOnAScreen(info->m_pointPos)) return FALSE;
    if (info->m_bDocking) {
      if (info->m_uMRUDockID != 0 && !IsDockBarId(info->m_uMRUDockID)) return FALSE;
      if (!IsDockPlace(info->m_rectMRUDockPos)) return FALSE;
      // Zero is the place of a bar that never floated.
      if (info->m_ptMRUFloatPos != CPoint(0, 0) && !IsOnAScreen(info->m_ptMRUFloatPos))
        return FALSE;
    }
    for (INT_PTR j = 0; j < info->m_arrBarID.GetSize(); ++j)
      if (!IsRowEntry(static_cast<int>(reinterpret_cast<UINT_PTR>(info->m_arrBarID[j]))))
        return FALSE;
  }
  return TRUE;
}

BOOL CTkDockState::FitsFrame(CFrameWnd* pFrame) const {
  if (!pFrame) return FALSE;
  for (INT_PTR i = 0; i < m_arrBarInfo.GetSize(); ++i) {
    const auto* info = static_cast<const CControlBarInfo*>(m_arrBarInfo[i]);
    if (!pFrame->GetControlBar(info->m_nBarID)) return FALSE;
    for (INT_PTR j = 0; j < info->m_arrBarID.GetSize(); ++j) {
      UINT id = static_cast<UINT>(reinterpret_cast<UINT_PTR>(info->m_arrBarID[j]) & 0xFFFF);
      if (id && !pFrame->GetControlBar(id)) return FALSE;
    }
  }
  return TRUE;
}

void CTkDockState::SaveState(LPCSTR lpszProfileName) {
  int k = 0;
  for (INT_PTR i = 0; i < m_arrBarInfo.GetSize(); ++i)
    if (SaveBarInfo(static_cast<CControlBarInfo*>(m_arrBarInfo[i]), lpszProfileName, k)) ++k;
  CString summary = SummarySection(lpszProfileName);
  WriteInt(summary, "Bars", k);
  CSize size = GetScreenSize();
  WriteInt(summary, "ScreenCX", size.cx);
  WriteInt(summary, "ScreenCY", size.cy);
}

BOOL CTkDockState::SaveBarInfo(CControlBarInfo* pInfo, LPCSTR lpszProfileName, int nIndex) {
  CString s = BarSection(lpszProfileName, nIndex);
  CTkProfileStore(HKEY_CURRENT_USER).WriteProfileString(s, nullptr, nullptr);
  // A docked, visible dock bar with no bars says nothing worth keeping.
  if (pInfo->m_bDockBar && pInfo->m_bVisible && !pInfo->m_bFloating &&
      pInfo->m_pointPos == CPoint(-1, -1) && pInfo->m_arrBarID.GetSize() <= 1)
    return FALSE;
  WriteInt(s, "BarID", static_cast<int>(pInfo->m_nBarID));
  if (!pInfo->m_bVisible) WriteInt(s, "Visible", 0);
  if (pInfo->m_bFloating) {
    WriteInt(s, "Horz", pInfo->m_bHorz);
    WriteInt(s, "Floating", TRUE);
  }
  if (pInfo->m_pointPos.x != -1) WriteInt(s, "XPos", pInfo->m_pointPos.x);
  if (pInfo->m_pointPos.y != -1) WriteInt(s, "YPos", pInfo->m_pointPos.y);
  if (pInfo->m_nMRUWidth != 32767) WriteInt(s, "MRUWidth", pInfo->m_nMRUWidth);
  if (pInfo->m_bDocking) {
    WriteInt(s, "Docking", 1);
    WriteInt(s, "MRUDockID", static_cast<int>(pInfo->m_uMRUDockID));
    WriteInt(s, "MRUDockLeftPos", pInfo->m_rectMRUDockPos.left);
    WriteInt(s, "MRUDockTopPos", pInfo->m_rectMRUDockPos.top);
    WriteInt(s, "MRUDockRightPos", pInfo->m_rectMRUDockPos.right);
    WriteInt(s, "MRUDockBottomPos", pInfo->m_rectMRUDockPos.bottom);
    WriteInt(s, "MRUFloatStyle", static_cast<int>(pInfo->m_dwMRUFloatStyle));
    WriteInt(s, "MRUFloatXPos", pInfo->m_ptMRUFloatPos.x);
    WriteInt(s, "MRUFloatYPos", pInfo->m_ptMRUFloatPos.y);
  }
  if (pInfo->m_arrBarID.GetSize() > 1) {
    WriteInt(s, "Bars", static_cast<int>(pInfo->m_arrBarID.GetSize()));
    for (INT_PTR i = 0; i < pInfo->m_arrBarID.GetSize(); ++i) {
      char entry[16];
      std::snprintf(entry, sizeof entry, "Bar#%d", static_cast<int>(i));
      WriteInt(s, entry, static_cast<int>(reinterpret_cast<UINT_PTR>(pInfo->m_arrBarID[i])));
    }
  }
  return TRUE;
}
