#include "framework/gdi/WaitCursor.h"

CWaitCursor::CWaitCursor() {
  m_hcurPrevious = ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
}

CWaitCursor::~CWaitCursor() {
  ::SetCursor(m_hcurPrevious);
}

void CWaitCursor::Restore() {
  ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
}
