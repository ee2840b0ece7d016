// The temporary wrappers that FromHandle made on this thread (device contexts, GDI objects,
// menus, image lists) are freed at idle time, when no caller can still hold one; their handles
// stay as they are.
#pragma once

void AfxDeleteTempGdiMaps();
