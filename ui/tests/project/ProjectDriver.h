// Plays the user of the project sheet and the field editors: steps run one after another on a
// timer of the test's thread while the modal loops run (nested ones included). A step answers
// false to be tried again on the next tick (waiting for a window or a worker), true to go on.
// A run that makes no progress for a while cancels whatever dialog is open and fails the test.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace projtest {

using Step = std::function<bool()>;

INT_PTR Drive(const std::function<INT_PTR()>& open, const std::vector<Step>& steps);

// The enabled, visible top-level dialog of this thread (the innermost modal one), or null.
HWND ActiveDialog();
// The active dialog when it holds a control of that id, else null.
HWND DialogWith(int id);
// The sheet's current page.
HWND CurrentPage(HWND sheet);
std::string Text(HWND dialog, int id);
void SetText(HWND dialog, int id, const char* text);
// Posts a button's click as the user's press would arrive.
void Click(HWND dialog, int id);
bool Enabled(HWND dialog, int id);
bool Visible(HWND dialog, int id);

// The tree's items as "Group[Child,Child]" lines joined by ";" (two levels).
std::string TreeOutline(HWND tree);
// The item of that text under parent (null: the roots), or null.
HTREEITEM FindTreeItem(HWND tree, HTREEITEM parent, const char* text);
std::vector<std::string> ListItems(HWND list);

}  // namespace projtest
