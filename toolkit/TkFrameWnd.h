// CTkFrameWnd: the toolkit's frame window. For now the framework's frame; the owner-drawn menus
// (InstallCoolMenus) come with the toolkit and are a no-op until then.
#pragma once
#include "framework/frame/FrameWnd.h"

class CTkFrameWnd : public CFrameWnd {
  DECLARE_DYNCREATE(CTkFrameWnd)
 public:
  CTkFrameWnd() = default;
  ~CTkFrameWnd() override = default;

  // Menus drawn with the images of these toolbars: not built yet, the plain menus stay.
  void InstallCoolMenus(const UINT*, int) {}
};
