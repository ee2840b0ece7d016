#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "updater/update/PostingUpdateUi.h"
#include "updater/update/UpdateIds.h"

namespace {

struct Posted {
  UINT message;
  WPARAM wParam;
  std::string text;
  LPARAM lParam;
};

// A message-only window stands in for the dialog; the worker's calls come back as messages.
std::vector<Posted> Drain(HWND window) {
  std::vector<Posted> posted;
  MSG msg;
  while (PeekMessageA(&msg, window, WM_USER, WM_USER + 300, PM_REMOVE)) {
    bool text = msg.message == WM_UPD_FILE || msg.message == WM_UPD_HOST;
    posted.push_back({msg.message, msg.wParam, text ? TakePostedText(msg.lParam) : std::string(),
                      text ? 0 : msg.lParam});
  }
  return posted;
}

TEST(PostingUpdateUi, EveryCallBecomesAMessageForTheDialog) {
  HWND window =
      CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  int shown = 0;
  CPostingUpdateUi ui(
      window,
      [](const CFileInfoTable&, const std::vector<std::string>& names) {
        return names.size() == 1;
      },
      [&](int id) { shown = id; });
  ui.PostStatus(IDS_UPD_FETCHING);
  ui.ShowHost("127.0.0.1:8080");
  std::string path = "C:\\app\\tool.dll";
  ui.ShowCurrentFile(path);
  path = "changed at once";  // the message holds its own copy
  ui.SetProgress(140);
  ui.SetTransferRate(2048, 75);
  ui.Finish();
  std::vector<Posted> p = Drain(window);
  ASSERT_EQ(p.size(), 8u);
  EXPECT_EQ(p[0].message, 0x4DEu);
  EXPECT_EQ(p[0].wParam, static_cast<WPARAM>(IDS_UPD_FETCHING));
  EXPECT_EQ(p[1].message, 0x4DFu);
  EXPECT_EQ(p[1].wParam, static_cast<WPARAM>(IDS_UPD_READY));
  EXPECT_EQ(p[2].message, 0x4E5u);
  EXPECT_EQ(p[2].text, "127.0.0.1:8080");
  EXPECT_EQ(p[3].message, 0x4E0u);
  EXPECT_EQ(p[3].text, "C:\\app\\tool.dll");
  EXPECT_EQ(p[4].message, 0x4E1u);
  EXPECT_EQ(p[4].wParam, 100u);
  EXPECT_EQ(p[5].message, 0x4E4u);
  EXPECT_EQ(p[5].lParam, 2048);
  EXPECT_EQ(p[6].message, 0x4E3u);
  EXPECT_EQ(p[6].lParam, 75);
  EXPECT_EQ(p[7].message, 0x4E2u);
  EXPECT_TRUE(ui.ConfirmUpdates(CFileInfoTable(), {"tool.dll"}));
  ui.ShowMessage(IDS_UPD_INSTALLED);
  EXPECT_EQ(shown, IDS_UPD_INSTALLED);
  DestroyWindow(window);
}

}  // namespace
