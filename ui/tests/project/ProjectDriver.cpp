#include "ui/tests/project/ProjectDriver.h"

#include <gtest/gtest.h>

#include <commctrl.h>

namespace projtest {
namespace {

const std::vector<Step>* g_steps = nullptr;
size_t g_next = 0;
bool g_inStep = false;
DWORD g_lastProgress = 0;
bool g_timedOut = false;
constexpr DWORD kGiveUpMs = 10000;

void CALLBACK OnTick(HWND, UINT, UINT_PTR, DWORD) {
  if (!g_steps || g_inStep) return;
  if (g_next < g_steps->size()) {
    g_inStep = true;
    bool done = (*g_steps)[g_next]();
    g_inStep = false;
    if (done) {
      ++g_next;
      g_lastProgress = ::GetTickCount();
      return;
    }
  }
  if (::GetTickCount() - g_lastProgress > kGiveUpMs) {
    g_timedOut = true;
    if (HWND dialog = ActiveDialog()) ::PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  }
}

BOOL CALLBACK FindDialog(HWND window, LPARAM lParam) {
  char name[32] = {};
  ::GetClassNameA(window, name, sizeof name);
  if (std::string(name) == "#32770" && ::IsWindowVisible(window) && ::IsWindowEnabled(window)) {
    *reinterpret_cast<HWND*>(lParam) = window;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

INT_PTR Drive(const std::function<INT_PTR()>& open, const std::vector<Step>& steps) {
  static bool commonControls = [] {
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    return ::InitCommonControlsEx(&icc) != FALSE;
  }();
  (void)commonControls;
  g_steps = &steps;
  g_next = 0;
  g_timedOut = false;
  g_lastProgress = ::GetTickCount();
  UINT_PTR timer = ::SetTimer(nullptr, 0, 20, OnTick);
  INT_PTR result = open();
  ::KillTimer(nullptr, timer);
  g_steps = nullptr;
  EXPECT_FALSE(g_timedOut) << "stuck at step " << g_next;
  EXPECT_EQ(g_next, steps.size()) << "the dialog ended before every step ran";
  return result;
}

HWND ActiveDialog() {
  HWND found = nullptr;
  ::EnumThreadWindows(::GetCurrentThreadId(), FindDialog, reinterpret_cast<LPARAM>(&found));
  return found;
}

HWND DialogWith(int id) {
  HWND dialog = ActiveDialog();
  return dialog && ::GetDlgItem(dialog, id) ? dialog : nullptr;
}

HWND CurrentPage(HWND sheet) {
  return reinterpret_cast<HWND>(::SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
}

std::string Text(HWND dialog, int id) {
  char text[4096] = {};
  ::GetDlgItemTextA(dialog, id, text, sizeof text);
  return text;
}

void SetText(HWND dialog, int id, const char* text) { ::SetDlgItemTextA(dialog, id, text); }

void Click(HWND dialog, int id) {
  ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

bool Enabled(HWND dialog, int id) { return ::IsWindowEnabled(::GetDlgItem(dialog, id)) != FALSE; }

bool Visible(HWND dialog, int id) {
  HWND control = ::GetDlgItem(dialog, id);
  return control && (::GetWindowLongPtrA(control, GWL_STYLE) & WS_VISIBLE) != 0;
}

namespace {
std::string ItemText(HWND tree, HTREEITEM item) {
  char text[512] = {};
  TVITEMA tvi = {};
  tvi.mask = TVIF_TEXT;
  tvi.hItem = item;
  tvi.pszText = text;
  tvi.cchTextMax = sizeof text;
  ::SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tvi));
  return text;
}
HTREEITEM Next(HWND tree, HTREEITEM item, UINT code) {
  return reinterpret_cast<HTREEITEM>(
      ::SendMessageA(tree, TVM_GETNEXTITEM, code, reinterpret_cast<LPARAM>(item)));
}
}  // namespace

std::string TreeOutline(HWND tree) {
  std::string outline;
  for (HTREEITEM group = Next(tree, nullptr, TVGN_ROOT); group; group = Next(tree, group, TVGN_NEXT)) {
    if (!outline.empty()) outline += ";";
    outline += ItemText(tree, group) + "[";
    bool first = true;
    for (HTREEITEM item = Next(tree, group, TVGN_CHILD); item; item = Next(tree, item, TVGN_NEXT)) {
      if (!first) outline += ",";
      first = false;
      outline += ItemText(tree, item);
    }
    outline += "]";
  }
  return outline;
}

HTREEITEM FindTreeItem(HWND tree, HTREEITEM parent, const char* text) {
  HTREEITEM item = parent ? Next(tree, parent, TVGN_CHILD) : Next(tree, nullptr, TVGN_ROOT);
  for (; item; item = Next(tree, item, TVGN_NEXT))
    if (ItemText(tree, item) == text) return item;
  return nullptr;
}

std::vector<std::string> ListItems(HWND list) {
  std::vector<std::string> items;
  int count = static_cast<int>(::SendMessageA(list, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    char text[512] = {};
    ::SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
    items.push_back(text);
  }
  return items;
}

}  // namespace projtest
