#include "framework/gdi/TempMaps.h"

#include "framework/gdi/Dc.h"
#include "framework/gdi/GdiObject.h"
#include "framework/gdi/ImageList.h"
#include "framework/gdi/Menu.h"

void AfxDeleteTempGdiMaps() {
  CDC::DeleteTempMap();
  CGdiObject::DeleteTempMap();
  CMenu::DeleteTempMap();
  CImageList::DeleteTempMap();
}
