// The owner-drawn menus' images: one per command, taken from toolbars or bitmap strips; a
// command keeps the first image it was given.
#include <commctrl.h>

#include <vector>

#include "framework/wnd/Wnd.h"
#include "toolkit/bars/TkToolBar.h"
#include "toolkit/core/SysColorBitmap.h"
#include "toolkit/core/ToolkitData.h"
#include "toolkit/core/ToolkitHelpers.h"
#include "toolkit/menus/TkCoolMenu.h"

namespace {

// The id the temporary toolbar gets: the frame's first bar id, never a command.
constexpr UINT kTempToolBarId = 0xE800;
constexpr WORD kToolBarType = 241;  // RT_TOOLBAR

// The image size a toolbar resource gives: version 1 with words (version, width, height,
// count, ids), or the resource compiler's form with double words (width, height, count, ids).
BOOL ToolbarImageSize(HINSTANCE module, UINT nID, int& cx, int& cy) {
  HRSRC res = ::FindResourceA(module, MAKEINTRESOURCEA(nID), MAKEINTRESOURCEA(kToolBarType));
  DWORD size = res ? ::SizeofResource(module, res) : 0;
  HGLOBAL global = res ? ::LoadResource(module, res) : nullptr;
  auto* data = static_cast<const BYTE*>(global ? ::LockResource(global) : nullptr);
  if (!data || size < 8) return FALSE;
  auto word = [data](DWORD i) { return static_cast<int>(data[2 * i] | data[2 * i + 1] << 8); };
  if (word(0) == 1) {
    cx = word(1);
    cy = word(2);
  } else if (size >= 12 && word(1) == 0 && word(3) == 0) {
    cx = word(0);
    cy = word(2);
  } else {
    return FALSE;
  }
  return cx > 0 && cy > 0;
}


// Toolbars ship their images as a bitmap of the toolbar's own id. The menus take them from a
// list of their own made from that bitmap, in the system's colours with the face colour and the
// magenta of the drawings transparent (the bar's own list leaves the magenta). The caller
// destroys the list returned.
HIMAGELIST GiveToolbarItsBitmap(CTkToolBar& bar, UINT nIDToolBar) {
  HINSTANCE module = TkResourceModule();
  int cx = 0, cy = 0;
  if (!ToolbarImageSize(module, nIDToolBar, cx, cy)) return nullptr;
  HRSRC res = ::FindResourceA(module, MAKEINTRESOURCEA(nIDToolBar), RT_BITMAP);
  HBITMAP bitmap = res ? LoadSysColorBitmap(module, res) : nullptr;
  if (!bitmap) return nullptr;
  HIMAGELIST list = ::ImageList_Create(cx, cy, ILC_COLOR32 | ILC_MASK, 0, 10);
  if (list) {
    TkMagentaToFace(bitmap, ::GetSysColor(COLOR_BTNFACE));
    ::ImageList_AddMasked(list, bitmap, ::GetSysColor(COLOR_BTNFACE));
    bar.SendMessage(TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(list));
  }
  ::DeleteObject(bitmap);
  return list;
}

}  // namespace

BOOL CTkCoolMenu::LoadToolbar(UINT nIDToolBar) {
  if (!m_hWnd || !::IsWindow(m_hWnd)) return FALSE;
  CTkToolBar bar;
  if (!bar.CreateEx(CWnd::FromHandle(m_hWnd), TBSTYLE_FLAT, WS_CHILD, kTempToolBarId)) {
    return FALSE;
  }
  BOOL bResult = FALSE;
  HIMAGELIST own = nullptr;
  if (bar.LoadToolBar(nIDToolBar)) {
    own = GiveToolbarItsBitmap(bar, nIDToolBar);
    bResult = AddImagesFromToolbar(bar.m_hWnd);
  }
  bar.DestroyWindow();
  if (own) ::ImageList_Destroy(own);
  return bResult;
}

BOOL CTkCoolMenu::LoadToolbars(const UINT* pIDs, int nCount) {
  if (!pIDs) return FALSE;
  for (int i = 0; i < nCount; ++i) {
    if (!LoadToolbar(pIDs[i])) return FALSE;
  }
  return TRUE;
}

BOOL CTkCoolMenu::AddImagesFromToolbar(HWND hToolBar) {
  auto list = reinterpret_cast<HIMAGELIST>(::SendMessageA(hToolBar, TB_GETIMAGELIST, 0, 0));
  if (!list) return FALSE;
  if (::ImageList_GetImageCount(list) == 0) return TRUE;
  int cx = 0, cy = 0;
  ::ImageList_GetIconSize(list, &cx, &cy);
  int nButtons = static_cast<int>(::SendMessageA(hToolBar, TB_BUTTONCOUNT, 0, 0));
  for (int i = 0; i < nButtons; ++i) {
    TBBUTTON button = {};
    if (!::SendMessageA(hToolBar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button))) continue;
    if ((button.fsStyle & TBSTYLE_SEP) || button.iBitmap < 0) continue;
    HICON icon = ::ImageList_GetIcon(list, button.iBitmap, ILD_NORMAL);
    if (icon) AddImage(static_cast<UINT>(button.idCommand), icon, cx, cy);
  }
  return TRUE;
}

BOOL CTkCoolMenu::AddImagesFromBitmapResource(UINT nIDBitmap, const UINT* pIDs, int nCount) {
  HINSTANCE module = TkResourceModule();
  HRSRC res = ::FindResourceA(module, MAKEINTRESOURCEA(nIDBitmap), RT_BITMAP);
  HBITMAP bitmap = res ? LoadSysColorBitmap(module, res) : nullptr;
  if (!bitmap) return FALSE;
  BOOL bResult = AddImagesFromBitmap(bitmap, pIDs, nCount);
  ::DeleteObject(bitmap);
  return bResult;
}

BOOL CTkCoolMenu::AddImagesFromBitmap(HBITMAP hBitmap, const UINT* pIDs, int nCount) {
  if (!hBitmap || !pIDs) return FALSE;
  HIMAGELIST strip =
      ::ImageList_Create(m_sizeImage.cx, m_sizeImage.cy, ILC_COLOR32 | ILC_MASK, 0, 10);
  if (!strip) return FALSE;
  TkMagentaToFace(hBitmap, ToolkitData().m_clrFace);
  ::ImageList_AddMasked(strip, hBitmap, ToolkitData().m_clrFace);
  int nImages = ::ImageList_GetImageCount(strip);
  for (int i = 0; i < nCount && i < nImages; ++i) {
    if (pIDs[i] == 0) continue;
    HICON icon = ::ImageList_GetIcon(strip, i, ILD_NORMAL);
    if (icon) AddImage(pIDs[i], icon, m_sizeImage.cx, m_sizeImage.cy);
  }
  ::ImageList_Destroy(strip);
  return TRUE;
}

void CTkCoolMenu::AddImage(UINT nCommand, HICON hIcon, int cx, int cy) {
  DestroyDisabledImages();
  if (m_bNoImageList) {
    m_sizeImage = CSize(cx, cy);
    m_hImages = ::ImageList_Create(cx, cy, ILC_COLOR32 | ILC_MASK, 0, 10);
    m_bNoImageList = (m_hImages == nullptr);
  }
  WORD key = static_cast<WORD>(nCommand);
  if (m_hImages && m_imageByCommand.count(key) == 0) {
    int index = ::ImageList_AddIcon(m_hImages, hIcon);
    if (index >= 0) m_imageByCommand[key] = index;
  }
  if (hIcon) ::DestroyIcon(hIcon);
}

int CTkCoolMenu::LookupImage(UINT nCommand) const {
  auto it = m_imageByCommand.find(static_cast<WORD>(nCommand));
  return it == m_imageByCommand.end() ? -1 : it->second;
}

HIMAGELIST CTkCoolMenu::GetDisabledImageList() {
  if (m_hDisabled || !m_hImages) return m_hDisabled;
  m_hDisabled =
      ::ImageList_Create(m_sizeImage.cx, m_sizeImage.cy, ILC_COLOR32 | ILC_MASK, 0, 10);
  if (!m_hDisabled) return nullptr;
  int n = ::ImageList_GetImageCount(m_hImages);
  for (int i = 0; i < n; ++i) {
    HICON icon = ::ImageList_GetIcon(m_hImages, i, ILD_NORMAL);
    ::ImageList_AddIcon(m_hDisabled, icon);
    if (icon) ::DestroyIcon(icon);
  }
  return m_hDisabled;
}

void CTkCoolMenu::DestroyDisabledImages() {
  if (m_hDisabled) ::ImageList_Destroy(m_hDisabled);
  m_hDisabled = nullptr;
}

void CTkCoolMenu::Reset() {
  DestroyDisabledImages();
  if (m_hImages) ::ImageList_Destroy(m_hImages);
  m_hImages = nullptr;
  m_bNoImageList = TRUE;
  m_imageByCommand.clear();
}
