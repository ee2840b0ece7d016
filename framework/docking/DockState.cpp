#include "framework/docking/DockState.h"

#include <cstdio>

#include "framework/app/WinApp.h"

IMPLEMENT_DYNCREATE(CDockState, CObject)

namespace {
CString Section(LPCSTR profile, int index) {
  CString s;
  if (index < 0)
    s.Format("%s-Summary", profile);
  else
    s.Format("%s-Bar%d", profile, index);
  return s;
}

int ReadInt(LPCSTR section, LPCSTR entry, int def) {
  return static_cast<int>(AfxGetApp()->GetProfileInt(section, entry, def));
}

void WriteInt(LPCSTR section, LPCSTR entry, int value) {
  AfxGetApp()->WriteProfileInt(section, entry, value);
}

CSize ScreenSize() {
  return CSize(::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
}
}  // namespace

CControlBarInfo::CControlBarInfo() : m_pointPos(-1, -1) {}

BOOL CControlBarInfo::LoadState(LPCSTR lpszProfileName, int nIndex, CDockState* pDockState) {
  CString s = Section(lpszProfileName, nIndex);
  m_nBarID = static_cast<UINT>(ReadInt(s, "BarID", 0));
  m_bVisible = ReadInt(s, "Visible", TRUE);
  m_bHorz = ReadInt(s, "Horz", TRUE);
  m_bFloating = ReadInt(s, "Floating", FALSE);
  m_pointPos = CPoint(ReadInt(s, "XPos", -1), ReadInt(s, "YPos", -1));
  pDockState->ScalePoint(m_pointPos);
  m_nMRUWidth = ReadInt(s, "MRUWidth", 32767);
  m_bDocking = ReadInt(s, "Docking", 0);
  if (m_bDocking) {
    m_uMRUDockID = static_cast<UINT>(ReadInt(s, "MRUDockID", 0));
    m_rectMRUDockPos = CRect(ReadInt(s, "MRUDockLeftPos", 0), ReadInt(s, "MRUDockTopPos", 0),
                             ReadInt(s, "MRUDockRightPos", 0), ReadInt(s, "MRUDockBottomPos", 0));
    pDockState->ScaleRectPos(m_rectMRUDockPos);
    m_dwMRUFloatStyle = static_cast<DWORD>(ReadInt(s, "MRUFloatStyle", 0));
    m_ptMRUFloatPos = CPoint(ReadInt(s, "MRUFloatXPos", 0), ReadInt(s, "MRUFloatYPos", 0));
    pDockState->ScalePoint(m_ptMRUFloatPos);
  }
  int count = ReadInt(s, "Bars", 0);
  // A count out of bounds is damage, not a reason to read thousands of values.
  if (count < 0 || count > CDockState::kMaxBarIds) {
    m_nBarID = 0;
    return FALSE;
  }
  for (int i = 0; i < count; ++i) {
    char entry[16];
    std::snprintf(entry, sizeof entry, "Bar#%d", i);
    auto id = static_cast<UINT_PTR>(static_cast<UINT>(ReadInt(s, entry, 0)));
    m_arrBarID.Add(reinterpret_cast<void*>(id));
  }
  return m_nBarID != 0;
}

BOOL CControlBarInfo::SaveState(LPCSTR lpszProfileName, int nIndex) {
  CString s = Section(lpszProfileName, nIndex);
  AfxGetApp()->WriteProfileString(s, nullptr, nullptr);
  // A visible, docked dock bar with no bars says nothing worth keeping.
  if (m_bDockBar && m_bVisible && !m_bFloating && m_pointPos == CPoint(-1, -1) &&
      m_arrBarID.GetSize() <= 1)
    return FALSE;
  WriteInt(s, "BarID", static_cast<int>(m_nBarID));
  if (!m_bVisible) WriteInt(s, "Visible", 0);
  if (m_bFloating) {
    WriteInt(s, "Horz", m_bHorz);
    WriteInt(s, "Floating", TRUE);
  }
  if (m_pointPos.x != -1) WriteInt(s, "XPos", m_pointPos.x);
  if (m_pointPos.y != -1) WriteInt(s, "YPos", m_pointPos.y);
  if (m_nMRUWidth != 32767) WriteInt(s, "MRUWidth", m_nMRUWidth);
  if (m_bDocking) {
    WriteInt(s, "Docking", 1);
    WriteInt(s, "MRUDockID", static_cast<int>(m_uMRUDockID));
    WriteInt(s, "MRUDockLeftPos", m_rectMRUDockPos.left);
    WriteInt(s, "MRUDockTopPos", m_rectMRUDockPos.top);
    WriteInt(s, "MRUDockRightPos", m_rectMRUDockPos.right);
    WriteInt(s, "MRUDockBottomPos", m_rectMRUDockPos.bottom);
    WriteInt(s, "MRUFloatStyle", static_cast<int>(m_dwMRUFloatStyle));
    WriteInt(s, "MRUFloatXPos", m_ptMRUFloatPos.x);
    WriteInt(s, "MRUFloatYPos", m_ptMRUFloatPos.y);
  }
  if (m_arrBarID.GetSize() > 1) {
    WriteInt(s, "Bars", static_cast<int>(m_arrBarID.GetSize()));
    for (INT_PTR i = 0; i < m_arrBarID.GetSize(); ++i) {
      char entry[16];
      std::snprintf(entry, sizeof entry, "Bar#%d", static_cast<int>(i));
      WriteInt(s, entry, static_cast<int>(reinterpret_cast<UINT_PTR>(m_arrBarID[i])));
    }
  }
  return TRUE;
}

CDockState::~CDockState() { Clear(); }

void CDockState::Clear() {
  for (INT_PTR i = 0; i < m_arrBarInfo.GetSize(); ++i)
    delete static_cast<CControlBarInfo*>(m_arrBarInfo[i]);
  m_arrBarInfo.RemoveAll();
}

CSize CDockState::GetScreenSize() const {
  return (m_sizeSaved.cx > 0 && m_sizeSaved.cy > 0) ? m_sizeSaved : ScreenSize();
}

void CDockState::SetScreenSize(const CSize& size) { m_sizeSaved = size; }

void CDockState::ScalePoint(CPoint& pt) const {
  CSize now = ScreenSize();
  if (m_sizeSaved.cx <= 0 || m_sizeSaved.cy <= 0 || m_sizeSaved == now) return;
  pt.x = MulDiv(pt.x, now.cx, m_sizeSaved.cx);
  pt.y = MulDiv(pt.y, now.cy, m_sizeSaved.cy);
}

void CDockState::ScaleRectPos(CRect& rect) const {
  CPoint topLeft = rect.TopLeft();
  ScalePoint(topLeft);
  rect.OffsetRect(topLeft.x - rect.left, topLeft.y - rect.top);
}

BOOL CDockState::LoadState(LPCSTR lpszProfileName) {
  Clear();
  CString summary = Section(lpszProfileName, -1);
  int count = ReadInt(summary, "Bars", 0);
  if (count < 0 || count > kMaxBars) return FALSE;
  SetScreenSize(CSize(ReadInt(summary, "ScreenCX", 0), ReadInt(summary, "ScreenCY", 0)));
  for (int i = 0; i < count; ++i) {
    auto* info = new CControlBarInfo;
    m_arrBarInfo.Add(info);
    // A record that could not be read keeps bar id 0, which no frame accepts.
    info->LoadState(lpszProfileName, i, this);
  }
  return TRUE;
}

void CDockState::SaveState(LPCSTR lpszProfileName) {
  int k = 0;
  for (INT_PTR i = 0; i < m_arrBarInfo.GetSize(); ++i)
    if (static_cast<CControlBarInfo*>(m_arrBarInfo[i])->SaveState(lpszProfileName, k)) ++k;
  CString summary = Section(lpszProfileName, -1);
  WriteInt(summary, "Bars", k);
  CSize size = GetScreenSize();
  WriteInt(summary, "ScreenCX", size.cx);
  WriteInt(summary, "ScreenCY", size.cy);
}
