// The resource handle every string, dialog, menu and bitmap load goes through, and loading of the
// language resource module that provides it.
#pragma once
#include <windows.h>
#include <string>

HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE hResource);

// Folder of the running program's own file, with a trailing backslash.
std::string AfxGetModuleFolder();

// Loads a resource-only module from the program's folder (never from the search path, so a stray
// copy elsewhere cannot be picked up). Null when it is missing or not a module.
HINSTANCE AfxLoadResourceModule(const char* fileName);

// Loads the language module from the program's folder and makes it the resource handle. When it
// is missing the user is told in a message box under the given caption (the one text that cannot
// come from the module) and the result is null.
HINSTANCE AfxInitLanguageModule(const char* fileName, const char* caption);

// A string of the current resource handle; empty when the id is absent.
std::string AfxLoadString(UINT id);
