#include "toolkit/tests/docking/DockTestBars.h"

#include "framework/gdi/Dc.h"
#include "toolkit/services/TkProfileStore.h"

namespace docktest {

BOOL FixedBar::Create(CWnd* parent, UINT id, DWORD align, LPCSTR title) {
  m_dwStyle = align;
  CRect rect(0, 0, 0, 0);
  return CWnd::Create(AfxRegisterWndClass(0), title, WS_CHILD | WS_VISIBLE, rect, parent, id);
}

void FixedBar::DoPaint(CDC* pDC) {
  CRect client;
  GetClientRect(&client);
  pDC->FillSolidRect(&client, ::GetSysColor(COLOR_BTNFACE));
  CString title;
  GetWindowText(title);
  pDC->SetBkMode(TRANSPARENT);
  pDC->DrawText(title, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

BOOL SizingPane::Create(CWnd* parent, UINT id, DWORD align, LPCSTR title) {
  m_dwStyle = align;
  CRect rect(0, 0, 0, 0);
  return CWnd::Create(AfxRegisterWndClass(0), title, WS_CHILD | WS_VISIBLE, rect, parent, id);
}

void SizingPane::DoPaint(CDC* pDC) {
  CRect client;
  GetClientRect(&client);
  pDC->FillSolidRect(&client, ::GetSysColor(COLOR_WINDOW));
  CString title;
  GetWindowText(title);
  pDC->DrawText(title, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void SizingPane::Expand(int nLength) {
  if (Horz())
    m_current.cx = nLength;
  else
    m_current.cy = nLength;
  m_bExpanded = TRUE;
}

int SizingPane::Minimize() {
  LONG& length = Horz() ? m_current.cx : m_current.cy;
  int least = Horz() ? m_min.cx : m_min.cy;
  int given = static_cast<int>(length) - least;
  length = least;
  return given;
}

void SizingPane::SaveDockState(LPCSTR lpszProfileName, int nSection) {
  CString section;
  section.Format("%s-Bar%d", lpszProfileName, nSection);
  CTkProfileStore(HKEY_CURRENT_USER).WriteProfileSize(section, "PaneSize", m_docked);
}

void SizingPane::LoadDockState(LPCSTR lpszProfileName, int nSection) {
  CString section;
  section.Format("%s-Bar%d", lpszProfileName, nSection);
  SIZE size;
  if (CTkProfileStore(HKEY_CURRENT_USER).GetProfileSize(section, "PaneSize", size))
    SetDockedSize(size);
}

}  // namespace docktest
