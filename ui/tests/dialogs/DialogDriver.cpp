#include "ui/tests/dialogs/DialogDriver.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include "framework/app/AfxResource.h"
#include "framework/app/MessageBox.h"

namespace dlgtest {
namespace {
CDialog* g_dialog = nullptr;
const std::vector<Step>* g_steps = nullptr;
size_t g_next = 0;
int g_ticksAfter = 0;
bool g_timedOut = false;
constexpr int kTick = 20;
constexpr int kTicksToGiveUp = 3000 / kTick;

void CALLBACK OnTick(HWND, UINT, UINT_PTR, DWORD) {
  HWND window = g_dialog ? g_dialog->GetSafeHwnd() : nullptr;
  if (!window || !::IsWindowVisible(window)) return;
  if (g_next < g_steps->size()) {
    (*g_steps)[g_next++](window);
  } else if (++g_ticksAfter == kTicksToGiveUp) {
    g_timedOut = true;
    ::PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
  }
}

MessageBoxes* g_boxes = nullptr;
int g_answer = IDOK;
int RecordBox(LPCSTR text, UINT) {
  if (g_boxes) g_boxes->texts.push_back(text ? text : "");
  return g_answer;
}
}  // namespace

INT_PTR RunModal(CDialog& dialog, const std::vector<Step>& steps) {
  static bool commonControls = [] {
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    return ::InitCommonControlsEx(&icc) != FALSE;
  }();
  (void)commonControls;
  g_dialog = &dialog;
  g_steps = &steps;
  g_next = 0;
  g_ticksAfter = 0;
  g_timedOut = false;
  UINT_PTR timer = ::SetTimer(nullptr, 0, kTick, OnTick);
  INT_PTR result = dialog.DoModal();
  ::KillTimer(nullptr, timer);
  g_dialog = nullptr;
  g_steps = nullptr;
  EXPECT_FALSE(g_timedOut) << "the steps did not end the dialog";
  EXPECT_EQ(g_next, steps.size()) << "the dialog ended before every step ran";
  return result;
}

std::string ItemText(HWND dialog, int id) {
  char text[4096] = {};
  ::GetDlgItemTextA(dialog, id, text, sizeof text);
  return text;
}

void SetItemText(HWND dialog, int id, const char* text) { ::SetDlgItemTextA(dialog, id, text); }

void Press(HWND dialog, int id) {
  ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

std::vector<std::string> ComboItems(HWND dialog, int id) {
  std::vector<std::string> items;
  int count = static_cast<int>(::SendDlgItemMessageA(dialog, id, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    char text[512] = {};
    ::SendDlgItemMessageA(dialog, id, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
    items.push_back(text);
  }
  return items;
}

void SelectComboItem(HWND dialog, int id, const char* text) {
  std::vector<std::string> items = ComboItems(dialog, id);
  for (size_t i = 0; i < items.size(); ++i) {
    if (items[i] == text) ::SendDlgItemMessageA(dialog, id, CB_SETCURSEL, i, 0);
  }
}

RECT ClientRectIn(HWND dialog, int id) {
  RECT r = {};
  HWND control = ::GetDlgItem(dialog, id);
  ::GetWindowRect(control, &r);
  ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

MessageBoxes::MessageBoxes(int answer) {
  g_boxes = this;
  g_answer = answer;
  AfxSetMessageBoxHandler(RecordBox);
}

MessageBoxes::~MessageBoxes() {
  AfxSetMessageBoxHandler(nullptr);
  g_boxes = nullptr;
}

void UseLanguageModule() {
  static HINSTANCE module = AfxLoadResourceModule("ZBResENU.dll");
  ASSERT_NE(module, nullptr) << "ZBResENU.dll beside the test";
  AfxSetResourceHandle(module);
}

void UseTestResources() { AfxSetResourceHandle(::GetModuleHandleA(nullptr)); }

}  // namespace dlgtest
