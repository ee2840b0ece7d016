// The splash screen: its progress bar is published while it lives (and only then), the window
// fits its picture, the bar sits where the picture leaves room for it, and it takes positions.
#include <gtest/gtest.h>

#include <commctrl.h>

#include <string>

#include "app/services/AppServices.h"
#include "resources/resource.h"
#include "ui/dialogs/SplashScreen.h"
#include "ui/tests/dialogs/DialogDriver.h"

namespace {

class SplashScreenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_PROGRESS_CLASS};
    ::InitCommonControlsEx(&icc);
    dlgtest::UseLanguageModule();
  }
};

TEST_F(SplashScreenTest, PublishesItsProgressBarWhileItLives) {
  EXPECT_EQ(GetSplashProgressWnd(), nullptr);
  {
    CSplashScreen splash;
    ASSERT_TRUE(splash.Create());
    HWND progress = ::GetDlgItem(splash.m_hWnd, IDC_SPLASH_PROGRESS);
    ASSERT_NE(progress, nullptr);
    EXPECT_EQ(GetSplashProgressWnd(), progress);
    // What the engine loader sends arrives.
    ::SendMessageA(GetSplashProgressWnd(), PBM_SETRANGE32, 0, 100);
    ::SendMessageA(GetSplashProgressWnd(), PBM_SETPOS, 40, 0);
    EXPECT_EQ(::SendMessageA(progress, PBM_GETPOS, 0, 0), 40);
    splash.DestroyWindow();
    EXPECT_EQ(GetSplashProgressWnd(), nullptr);
  }
  {
    CSplashScreen splash;  // destroyed with its object
    ASSERT_TRUE(splash.Create());
    EXPECT_NE(GetSplashProgressWnd(), nullptr);
  }
  EXPECT_EQ(GetSplashProgressWnd(), nullptr);
}

TEST_F(SplashScreenTest, ASplashGoingAwayLeavesTheBarOfALaterOnePublished) {
  CSplashScreen first, second;
  ASSERT_TRUE(first.Create());
  ASSERT_TRUE(second.Create());
  HWND secondBar = ::GetDlgItem(second.m_hWnd, IDC_SPLASH_PROGRESS);
  EXPECT_EQ(GetSplashProgressWnd(), secondBar);
  first.DestroyWindow();
  EXPECT_EQ(GetSplashProgressWnd(), secondBar);
  second.DestroyWindow();
  EXPECT_EQ(GetSplashProgressWnd(), nullptr);
}

TEST_F(SplashScreenTest, FitsThePictureAndPlacesTheBarOnIt) {
  CSplashScreen splash;
  ASSERT_TRUE(splash.Create());
  HWND window = splash.m_hWnd;
  char title[128] = {};
  ::GetWindowTextA(window, title, sizeof title);
  EXPECT_STREQ(title, LoadResString(IDS_SPLASH_TITLE));
  EXPECT_TRUE(::IsWindowVisible(window));

  RECT picture = {}, frame = {};
  ::GetClientRect(::GetDlgItem(window, IDC_SPLASH_PICTURE), &picture);
  ::GetWindowRect(window, &frame);
  EXPECT_GT(picture.right, 380) << "the picture leaves room for the bar";
  EXPECT_GT(picture.bottom, 187);
  EXPECT_EQ(frame.right - frame.left, picture.right + 2);
  EXPECT_EQ(frame.bottom - frame.top, picture.bottom + 2);

  RECT bar = dlgtest::ClientRectIn(window, IDC_SPLASH_PROGRESS);
  EXPECT_EQ(bar.left, 41);
  EXPECT_EQ(bar.top, 172);
  EXPECT_EQ(bar.right - bar.left, 339);
  EXPECT_EQ(bar.bottom - bar.top, 15);
}

TEST_F(SplashScreenTest, EscapeAndEnterLeaveItUp) {
  CSplashScreen splash;
  ASSERT_TRUE(splash.Create());
  ::SendMessageA(splash.m_hWnd, WM_COMMAND, IDCANCEL, 0);
  ::SendMessageA(splash.m_hWnd, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(::IsWindowVisible(splash.m_hWnd));
  EXPECT_NE(GetSplashProgressWnd(), nullptr);
}

}  // namespace
