// The framework's drawing side in one include: rectangles, GDI objects, device contexts, image
// lists, menus and the wait cursor.
#pragma once
#include "framework/gdi/Dc.h"
#include "framework/gdi/GdiObject.h"
#include "framework/gdi/ImageList.h"
#include "framework/gdi/Menu.h"
#include "framework/gdi/Rect.h"
#include "framework/gdi/TempMaps.h"
#include "framework/gdi/WaitCursor.h"
