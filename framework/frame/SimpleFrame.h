// A plain top-level window with a status line, and its message loop. The programs show it until
// their own frame windows are built on the framework.
#pragma once
#include <windows.h>
#include <string>

// Registers the class, shows the window and runs the message loop until the window is closed.
// Returns the exit code of the loop (0 after a normal close), or 1 when the window cannot be made.
int AfxRunSimpleFrame(HINSTANCE hInstance, const char* className, const std::string& title,
                      const std::string& status, int nCmdShow);
