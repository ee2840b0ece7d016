// CWaitCursor: the hourglass for as long as the object lives; the cursor shown before comes
// back when it goes. Restore shows the hourglass again after something (a message box, a
// window's own cursor) replaced it.
#pragma once
#include <windows.h>

class CWaitCursor {
 public:
  CWaitCursor();
  ~CWaitCursor();
  CWaitCursor(const CWaitCursor&) = delete;
  CWaitCursor& operator=(const CWaitCursor&) = delete;

  void Restore();

 private:
  HCURSOR m_hcurPrevious = nullptr;
};
