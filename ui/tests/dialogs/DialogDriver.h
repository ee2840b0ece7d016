// Plays the user of a modal dialog: the steps run one after another, once the dialog shows, on a
// timer of the test's own thread while the dialog's loop runs; message boxes are answered and
// their texts kept.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/dialogs/Dialog.h"

namespace dlgtest {

using Step = std::function<void(HWND dialog)>;

// DoModal with the steps. A dialog still open 3 s after the last step is cancelled (and the test
// fails), so a step that did not end it cannot hang the program.
INT_PTR RunModal(CDialog& dialog, const std::vector<Step>& steps);

std::string ItemText(HWND dialog, int id);
void SetItemText(HWND dialog, int id, const char* text);
// Posts the click of a button, as the user's press would arrive.
void Press(HWND dialog, int id);
std::vector<std::string> ComboItems(HWND dialog, int id);
void SelectComboItem(HWND dialog, int id, const char* text);
RECT ClientRectIn(HWND dialog, int id);  // a control's rectangle in the dialog's client area

// Answers every message box with the given answer and keeps the texts, while it lives.
class MessageBoxes {
 public:
  explicit MessageBoxes(int answer);
  ~MessageBoxes();
  std::vector<std::string> texts;
};

// The language module of the build (ZBResENU.dll beside the test) as the resource handle.
void UseLanguageModule();
// The test program's own resources as the resource handle.
void UseTestResources();

}  // namespace dlgtest
