// The window's place as one binary value in the profile: the round trip, the show command as
// stored with and without an entry name, and damaged or off-screen values that leave the window
// where it is for the caller to show at its default place.
#include <gtest/gtest.h>

#include <cstring>

#include "framework/wnd/Wnd.h"
#include "toolkit/frame/WindowPlacement.h"
#include "toolkit/tests/frame/FrameTestSupport.h"

namespace {

class WindowPlacementTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(tktest::LanguageModule(), nullptr);
    ASSERT_TRUE(m_wnd.CreateEx(0, AfxRegisterWndClass(0), "placement", WS_OVERLAPPEDWINDOW, 40, 50,
                               640, 480, nullptr, nullptr));
    m_wnd.ShowWindow(SW_SHOWNORMAL);
  }
  void TearDown() override {
    if (m_wnd.m_hWnd) m_wnd.DestroyWindow();
  }
  CRect NormalRect() {
    WINDOWPLACEMENT wp = {};
    m_wnd.GetWindowPlacement(&wp);
    return CRect(wp.rcNormalPosition);
  }
  // The stored record as the profile holds it.
  bool Stored(LPCSTR entry, WindowPlacement& record) {
    char section[64], name[128];
    WindowPlacement::GetProfileNames(entry, section, sizeof section, name, sizeof name);
    LPBYTE data = nullptr;
    UINT size = 0;
    if (!m_app.App().GetProfileBinary(section, name, &data, &size)) return false;
    bool whole = size == 48;
    if (whole) std::memcpy(&record, data, 48);
    delete[] data;
    return whole;
  }
  void Store(LPCSTR entry, const void* bytes, UINT size) {
    char section[64], name[128];
    WindowPlacement::GetProfileNames(entry, section, sizeof section, name, sizeof name);
    m_app.App().WriteProfileBinary(section, name, static_cast<LPBYTE>(const_cast<void*>(bytes)), size);
  }
  tktest::ScratchApp m_app;
  CWnd m_wnd;
};

}  // namespace

TEST_F(WindowPlacementTest, ARecordStartsEmptyAndShown) {
  WindowPlacement record;
  EXPECT_EQ(sizeof record, 48u);
  EXPECT_EQ(record.m_dwReserved, 0u);
  EXPECT_EQ(record.m_wp.length, 44u);
  EXPECT_EQ(record.m_wp.showCmd, static_cast<UINT>(SW_SHOW));
  EXPECT_EQ(CRect(record.m_wp.rcNormalPosition), CRect(0, 0, 0, 0));
}

TEST_F(WindowPlacementTest, ThePlaceComesBackUnderItsNameAndTheDefaultName) {
  for (LPCSTR entry : {"MainFrame", static_cast<LPCSTR>(nullptr)}) {
    SCOPED_TRACE(entry ? entry : "default entry");
    m_wnd.SetWindowPos(nullptr, 40, 50, 640, 480, SWP_NOZORDER);
    ASSERT_TRUE(WindowPlacement::SaveWindowPos(&m_wnd, entry));
    m_wnd.SetWindowPos(nullptr, 300, 300, 200, 100, SWP_NOZORDER);
    ASSERT_TRUE(WindowPlacement::LoadWindowPos(&m_wnd, entry));
    EXPECT_EQ(NormalRect(), CRect(40, 50, 680, 530));
  }
  char section[64], name[128];
  WindowPlacement::GetProfileNames(nullptr, section, sizeof section, name, sizeof name);
  EXPECT_STREQ(section, "Settings");
  EXPECT_STREQ(name, "WindowPos");
}

TEST_F(WindowPlacementTest, TheShowCommandIsStoredAsGivenOnlyUnderAName) {
  struct Case {
    const char* why;
    int show;
    LPCSTR entry;
    UINT stored;
  };
  const Case cases[] = {
      {"minimised, named", SW_SHOWMINIMIZED, "MainFrame", SW_SHOWMINIMIZED},
      {"minimised, default name", SW_SHOWMINIMIZED, nullptr, SW_SHOWNORMAL},
      {"maximised, named", SW_SHOWMAXIMIZED, "MainFrame", SW_SHOWMAXIMIZED},
      {"maximised, default name", SW_SHOWMAXIMIZED, nullptr, SW_SHOWMAXIMIZED},
      {"normal", SW_SHOWNORMAL, "MainFrame", SW_SHOWNORMAL},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    m_wnd.ShowWindow(c.show);
    ASSERT_TRUE(WindowPlacement::SaveWindowPos(&m_wnd, c.entry));
    WindowPlacement record;
    ASSERT_TRUE(Stored(c.entry, record));
    EXPECT_EQ(record.m_dwReserved, 0u);
    EXPECT_EQ(record.m_wp.length, 44u);
    EXPECT_EQ(record.m_wp.showCmd, c.stored);
    m_wnd.ShowWindow(SW_SHOWNORMAL);
  }
}

TEST_F(WindowPlacementTest, AMinimisedPlaceIsRestoredShown) {
  m_wnd.ShowWindow(SW_SHOWMINIMIZED);
  ASSERT_TRUE(WindowPlacement::SaveWindowPos(&m_wnd, "MainFrame"));
  m_wnd.ShowWindow(SW_SHOWNORMAL);
  WINDOWPLACEMENT wp = {};
  ASSERT_TRUE(WindowPlacement::ReadPlacement("MainFrame", wp));
  EXPECT_EQ(wp.showCmd, static_cast<UINT>(SW_SHOWNORMAL)) << "a minimised start would be lost";
  ASSERT_TRUE(WindowPlacement::LoadWindowPos(&m_wnd, "MainFrame"));
  EXPECT_FALSE(m_wnd.IsIconic());
}

TEST_F(WindowPlacementTest, DamagedOrOffScreenPlacesLeaveTheWindowWhereItIs) {
  WindowPlacement good;
  good.m_wp.showCmd = SW_SHOWNORMAL;
  good.m_wp.rcNormalPosition = {10, 10, 400, 300};
  auto with = [&](auto change) {
    WindowPlacement r = good;
    change(r);
    return r;
  };
  struct Case {
    const char* why;
    WindowPlacement record;
    UINT size;
  };
  const Case cases[] = {
      {"cut short", good, 20},
      {"too long", good, 0},  // 0: the record and more
      {"a foreign length field", with([](WindowPlacement& r) { r.m_wp.length = 7; }), 48},
      {"on a monitor that is gone",
       with([](WindowPlacement& r) { r.m_wp.rcNormalPosition = {-9000, -9000, -8000, -8000}; }), 48},
      {"only a sliver on the screen",
       with([](WindowPlacement& r) { r.m_wp.rcNormalPosition = {-990, 10, 10, 300}; }), 48},
      {"turned inside out",
       with([](WindowPlacement& r) { r.m_wp.rcNormalPosition = {400, 300, 10, 10}; }), 48},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    BYTE bytes[64] = {};
    std::memcpy(bytes, &c.record, 48);
    Store("MainFrame", bytes, c.size ? c.size : sizeof bytes);
    m_wnd.SetWindowPos(nullptr, 300, 300, 200, 100, SWP_NOZORDER);
    WINDOWPLACEMENT wp = {};
    EXPECT_FALSE(WindowPlacement::ReadPlacement("MainFrame", wp));
    EXPECT_FALSE(WindowPlacement::LoadWindowPos(&m_wnd, "MainFrame"));
    EXPECT_EQ(NormalRect(), CRect(300, 300, 500, 400));
  }
  // The good record itself is taken, so the cases above fail for their damage alone.
  Store("MainFrame", &good, 48);
  EXPECT_TRUE(WindowPlacement::LoadWindowPos(&m_wnd, "MainFrame"));
  EXPECT_EQ(NormalRect(), CRect(10, 10, 400, 300));
}

TEST_F(WindowPlacementTest, NothingSavedOrNoWindowFails) {
  WINDOWPLACEMENT wp = {};
  EXPECT_FALSE(WindowPlacement::ReadPlacement("Nothing", wp));
  EXPECT_FALSE(WindowPlacement::LoadWindowPos(&m_wnd, "Nothing"));
  CWnd none;
  EXPECT_FALSE(WindowPlacement::SaveWindowPos(&none, "MainFrame"));
  EXPECT_FALSE(WindowPlacement::SaveWindowPos(nullptr, "MainFrame"));
  EXPECT_FALSE(WindowPlacement::LoadWindowPos(&none, "MainFrame"));
}
