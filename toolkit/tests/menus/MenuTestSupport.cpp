#include "toolkit/tests/menus/MenuTestSupport.h"

#include <cstdio>

#include "framework/app/AfxResource.h"
#include "toolkit/core/ToolkitData.h"

namespace menutest {

namespace {
int NoBox(LPCSTR, LPCSTR, UINT) { return IDIGNORE; }
}  // namespace

BOOL PrepareToolkit() {
  static HINSTANCE module = [] {
    HINSTANCE m = AfxLoadResourceModule("ZBResENU.dll");
    if (m) {
      AfxSetResourceHandle(m);
      SetTkComCtlMessageBox(NoBox);
      ToolkitData().Initialize(m);
    }
    return m;
  }();
  return module != nullptr;
}

ScratchProfile::ScratchProfile() {
  m_company.Format("ZBMenusTest-%lu", ::GetCurrentProcessId());
  m_app = std::make_unique<CWinApp>("TkMenusTest");
  m_app->SetRegistryKey(m_company);
}

ScratchProfile::~ScratchProfile() {
  m_app.reset();
  ::RegDeleteTreeA(HKEY_CURRENT_USER, CString("Software\\") + m_company);
  ::RegDeleteKeyA(HKEY_CURRENT_USER, CString("Software\\") + m_company);
}

HMENU MakeMenu(const std::vector<Item>& items) {
  HMENU hMenu = ::CreatePopupMenu();
  for (const Item& item : items) {
    if (!item.text) {
      ::AppendMenuA(hMenu, MF_SEPARATOR, 0, nullptr);
    } else if (item.bPopup) {
      HMENU sub = ::CreatePopupMenu();
      ::AppendMenuA(sub, MF_STRING, item.nID + 1, "Inner");
      ::AppendMenuA(hMenu, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), item.text);
    } else {
      ::AppendMenuA(hMenu, MF_STRING, item.nID, item.text);
    }
    if (item.fState) {
      MENUITEMINFOA info = {};
      info.cbSize = sizeof info;
      info.fMask = MIIM_STATE;
      info.fState = item.fState;
      ::SetMenuItemInfoA(hMenu, ::GetMenuItemCount(hMenu) - 1, TRUE, &info);
    }
  }
  return hMenu;
}

ItemView ReadItem(HMENU hMenu, int nPos) {
  char text[257] = {};
  MENUITEMINFOA info = {};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_DATA | MIIM_STRING;
  info.dwTypeData = text;
  info.cch = 256;
  ItemView view;
  if (!::GetMenuItemInfoA(hMenu, static_cast<UINT>(nPos), TRUE, &info)) return view;
  view.nID = info.wID;
  view.fType = info.fType;
  view.fState = info.fState;
  view.text = (info.fType & MFT_SEPARATOR) ? "" : text;
  view.data = info.dwItemData;
  view.hSubMenu = info.hSubMenu;
  return view;
}

std::vector<UINT> Commands(HMENU hMenu) {
  std::vector<UINT> ids;
  int count = ::GetMenuItemCount(hMenu);
  for (int i = 0; i < count; ++i) ids.push_back(ReadItem(hMenu, i).nID);
  return ids;
}

MenuItemData* RecordAt(HMENU hMenu, int nPos) {
  return TkMenuItemDataFrom(ReadItem(hMenu, nPos).data);
}

Dib::Dib(int cx, int cy, COLORREF fill) : m_cx(cx), m_cy(cy) {
  BITMAPINFO bmi = {};
  bmi.bmiHeader.biSize = sizeof bmi.bmiHeader;
  bmi.bmiHeader.biWidth = cx;
  bmi.bmiHeader.biHeight = -cy;  // top-down
  bmi.bmiHeader.biPlanes = 1;
  bmi.bmiHeader.biBitCount = 32;
  bmi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  m_bitmap = ::CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
  m_bits = static_cast<DWORD*>(bits);
  m_dc = ::CreateCompatibleDC(nullptr);
  m_old = ::SelectObject(m_dc, m_bitmap);
  RECT all = {0, 0, cx, cy};
  HBRUSH brush = ::CreateSolidBrush(fill);
  ::FillRect(m_dc, &all, brush);
  ::DeleteObject(brush);
}

Dib::~Dib() {
  ::SelectObject(m_dc, m_old);
  ::DeleteObject(m_bitmap);
  ::DeleteDC(m_dc);
}

COLORREF Dib::At(int x, int y) const {
  if (x < 0 || y < 0 || x >= m_cx || y >= m_cy || !m_bits) return CLR_INVALID;
  ::GdiFlush();
  DWORD bgr = m_bits[y * m_cx + x];
  return RGB((bgr >> 16) & 0xFF, (bgr >> 8) & 0xFF, bgr & 0xFF);
}

bool Dib::Holds(const RECT& rc, COLORREF colour) const {
  for (int y = rc.top; y < rc.bottom; ++y) {
    for (int x = rc.left; x < rc.right; ++x) {
      if (At(x, y) == colour) return true;
    }
  }
  return false;
}

void Dib::Save(const char* path) const {
  ::GdiFlush();
  FILE* f = std::fopen(path, "wb");
  if (!f) return;
  DWORD size = static_cast<DWORD>(m_cx * m_cy * 4);
  BITMAPFILEHEADER fh = {};
  fh.bfType = 0x4D42;
  fh.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
  fh.bfSize = fh.bfOffBits + size;
  BITMAPINFOHEADER ih = {};
  ih.biSize = sizeof ih;
  ih.biWidth = m_cx;
  ih.biHeight = -m_cy;
  ih.biPlanes = 1;
  ih.biBitCount = 32;
  std::fwrite(&fh, sizeof fh, 1, f);
  std::fwrite(&ih, sizeof ih, 1, f);
  std::fwrite(m_bits, size, 1, f);
  std::fclose(f);
}

void Pump() {
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
}

Look::Look(BOOL bFlat) : m_old(ToolkitData().m_bFlatLook) { ToolkitData().m_bFlatLook = bFlat; }
Look::~Look() { ToolkitData().m_bFlatLook = m_old; }

}  // namespace menutest
