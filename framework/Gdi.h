// The framework's drawing side in one include: rectangles, GDI objects, device contexts, menus.
#pragma once
#include "framework/gdi/Dc.h"
#include "framework/gdi/GdiObject.h"
#include "framework/gdi/Menu.h"
#include "framework/gdi/Rect.h"
#include "framework/gdi/TempMaps.h"
