// The menu bar lives in toolkit/menubar; this name stays for the frame's includes.
#pragma once
#include "toolkit/menubar/TkMenuBar.h"
