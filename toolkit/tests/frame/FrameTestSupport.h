// Shared by the toolkit frame tests: the language module, an application with a scratch profile
// and message pumping.
#pragma once
#include <windows.h>

#include <memory>

#include "framework/app/AfxResource.h"
#include "framework/core/String.h"
#include "framework/app/WinApp.h"
#include "framework/threads/WinThread.h"
#include "framework/gdi/Dc.h"

namespace tktest {

// The built language module as the resource handle and the toolkit's resource module.
HINSTANCE LanguageModule();

// An application object whose profile lies in a company key of its own, removed afterwards.
class ScratchApp {
 public:
  ScratchApp();
  ~ScratchApp();
  CWinApp& App() { return *m_app; }
  CString m_company;
  std::unique_ptr<CWinApp> m_app;
};

// Dispatches what is queued for the thread.
void Pump();

// A bitmap to paint into (cleared to RGB(1, 2, 3)) and read pixels back from.
class Canvas {
 public:
  explicit Canvas(int cx = 60, int cy = 40);
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;
  void Clear(COLORREF c);
  CDC* Dc() { return CDC::FromHandle(m_dc); }
  HDC Hdc() { return m_dc; }
  COLORREF At(int x, int y) { return ::GetPixel(m_dc, x, y); }

 private:
  int m_cx, m_cy;
  HDC m_dc;
  HBITMAP m_bitmap;
  HGDIOBJ m_old;
};

// The toolkit's flat-look flag set for the life of the object.
class FlatLook {
 public:
  explicit FlatLook(BOOL on);
  ~FlatLook();

 private:
  BOOL m_old;
};

}  // namespace tktest
