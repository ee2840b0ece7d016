// The broadcast to registered windows and the life of the engine records it carries.
#include "app/run/UpdateBroadcast.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <vector>

#include "app/tests/RunTestSupport.h"
#include "engines/submit/FormSubmitter.h"
#include "engines/db/SearchResult.h"

namespace {

std::set<HWND> g_refused;
BOOL RefusingPost(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (g_refused.count(window)) return FALSE;
  return PostMessageA(window, message, wParam, lParam);
}

class UpdateBroadcastTest : public ::testing::Test {
 protected:
  void TearDown() override {
    SetUpdatePostFunction(nullptr);
    g_refused.clear();
    ClearUpdateWindows();
  }
};

TEST_F(UpdateBroadcastTest, TheLatestRegisteredWindowHearsFirst) {
  std::vector<HWND> order;
  static std::vector<HWND>* seen;
  seen = &order;
  auto recording = [](HWND w, UINT m, WPARAM wp, LPARAM lp) -> BOOL {
    seen->push_back(w);
    return PostMessageA(w, m, wp, lp);
  };
  apptest::HintWindow first;
  apptest::HintWindow second;
  RegisterUpdateWindow(first.Handle());  // registering again does not add it twice
  SetUpdatePostFunction(recording);
  EXPECT_EQ(BroadcastUpdate(122, 0), 2);
  EXPECT_EQ(order, (std::vector<HWND>{second.Handle(), first.Handle()}));
  first.Pump();
  second.Pump();
  ASSERT_EQ(first.hints.size(), 1u);
  EXPECT_EQ(first.hints[0].hint, 122u);
}

// However many posts the system refuses, and whichever window goes, a record is freed exactly
// once: by the last window that receives it, or by the broadcast when none did.
TEST_F(UpdateBroadcastTest, AnEngineRecordIsFreedExactlyOnce) {
  struct Case {
    const char* what;
    int windows;
    std::vector<int> refused;  // indexes of windows whose post fails
    int taken;
  } cases[] = {
      {"no window", 0, {}, 0},
      {"one window", 1, {}, 1},
      {"three windows", 3, {}, 3},
      {"one of three refused", 3, {1}, 2},
      {"all refused", 2, {0, 1}, 0},
  };
  SetUpdatePostFunction(RefusingPost);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    long before = CUpdateItem::LiveCount();
    {
      std::vector<std::unique_ptr<apptest::HintWindow>> windows;
      for (int i = 0; i < c.windows; ++i) windows.push_back(std::make_unique<apptest::HintWindow>());
      for (int i : c.refused) g_refused.insert(windows[i]->Handle());
      EXPECT_EQ(BroadcastItem(new CUpdateItem(nullptr, kEngineConnected, 0, 0)), c.taken);
      EXPECT_EQ(CUpdateItem::LiveCount(), before + (c.taken ? 1 : 0));
      for (auto& w : windows) w->Pump();
      int received = 0;
      for (auto& w : windows) received += w->CountCode(kEngineConnected);
      EXPECT_EQ(received, c.taken);
    }
    EXPECT_EQ(CUpdateItem::LiveCount(), before);
    g_refused.clear();
  }
}

// A progress record keeps its own copy of the figures, and its percentage is right also for
// transfers above 42 MB, where the product of a 32-bit count and 100 overflows.
TEST_F(UpdateBroadcastTest, ProgressRecordsCopyTheirFiguresAndComputeIn64Bits) {
  struct Case {
    uint32_t soFar, total;
    int percent;
  } cases[] = {
      {0, 0, 0},          {50, 200, 25},       {200, 200, 100},           {300, 200, 100},
      {50000000, 100000000, 50}, {4000000000u, 4000000000u, 100}, {3000000000u, 4000000000u, 75},
  };
  for (const Case& c : cases) {
    uint32_t figures[2] = {c.soFar, c.total};
    CUpdateItem item(nullptr, kEngineReceiveProgress, reinterpret_cast<uintptr_t>(figures), 0);
    figures[0] = figures[1] = 7;  // the worker's own figures move on
    ASSERT_NE(item.Progress(), nullptr);
    EXPECT_EQ(item.Progress()[0], c.soFar);
    EXPECT_EQ(item.ProgressPercent(), c.percent) << c.soFar << "/" << c.total;
  }
  CUpdateItem other(nullptr, kEngineConnected, 1234, 0);
  EXPECT_EQ(other.Progress(), nullptr);
  EXPECT_EQ(other.m_data, 1234u);
}

// A window that goes lets go of the records queued for it and is posted nothing afterwards; the
// other windows keep theirs.
TEST_F(UpdateBroadcastTest, AWindowThatGoesReleasesItsQueuedRecords) {
  long before = CUpdateItem::LiveCount();
  apptest::HintWindow staying;
  HWND going = CreateWindowA("ZbHintWindow", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
  RegisterUpdateWindow(going);
  uint32_t figures[2] = {1, 2};
  EXPECT_EQ(BroadcastItem(new CUpdateItem(nullptr, kEngineReceiveProgress,
                                          reinterpret_cast<uintptr_t>(figures), 0)), 2);
  EXPECT_EQ(BroadcastItem(new CUpdateItem(nullptr, kEngineConnected, 0, 0)), 2);
  BroadcastUpdate(122, 0);
  ReleaseQueuedUpdates(going);
  EXPECT_EQ(CUpdateItem::LiveCount(), before + 2) << "the staying window still holds them";
  EXPECT_EQ(BroadcastItem(new CUpdateItem(nullptr, kEngineConnected, 0, 0)), 1);
  DestroyWindow(going);
  staying.Pump();
  EXPECT_EQ(staying.CountCode(kEngineConnected), 2);
  EXPECT_EQ(CUpdateItem::LiveCount(), before);
}

// A window that goes while the program ends leaves the pending quit to the message loop: a lost
// quit would keep the program running without its main window.
TEST_F(UpdateBroadcastTest, ReleasingQueuedRecordsKeepsThePendingQuit) {
  long before = CUpdateItem::LiveCount();
  apptest::HintWindow going;
  EXPECT_EQ(BroadcastItem(new CUpdateItem(nullptr, kEngineConnected, 0, 0)), 1);
  PostQuitMessage(3);
  ReleaseQueuedUpdates(going.Handle());
  EXPECT_EQ(CUpdateItem::LiveCount(), before);
  MSG msg;
  bool quit = false;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
    if (msg.message == WM_QUIT) quit = msg.wParam == 3;
  EXPECT_TRUE(quit);
}

}  // namespace

// A found-result event carries the result's position itself: the engine may clear its results
// (a new run re-creates the set's engines) before the window reads the event.
TEST(UpdateItemTest, AFoundResultKeepsItsPositionWithoutTheRecord) {
  auto record = std::make_unique<CSearchResult>();
  record->m_position = 6;
  CUpdateItem item(nullptr, kEngineResultFound, reinterpret_cast<uintptr_t>(record.get()), 0);
  record.reset();
  EXPECT_EQ(item.ResultPosition(), 6);
  EXPECT_EQ(CUpdateItem(nullptr, kEngineResultFound, 0, 0).ResultPosition(), -1) << "no record";
  EXPECT_EQ(CUpdateItem(nullptr, kEngineConnected, 0, 0).ResultPosition(), -1);
}
