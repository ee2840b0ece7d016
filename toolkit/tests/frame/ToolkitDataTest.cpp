// The toolkit's global data: derived colours from the system colours, the text colour on the
// selection-half background, fonts from a menu font, cursors from the language module, the
// common-controls check, and the shared routines.
#include <gtest/gtest.h>

#include <string>

#include "framework/wnd/Wnd.h"
#include "resources/ids/ToolkitFrameIds.h"
#include "toolkit/core/ToolkitData.h"
#include "toolkit/core/ToolkitHelpers.h"
#include "toolkit/gdi/ColorValue.h"
#include "toolkit/tests/frame/FrameTestSupport.h"

namespace {

LOGFONTA FontOf(HFONT font) {
  LOGFONTA lf = {};
  ::GetObjectA(font, sizeof lf, &lf);
  return lf;
}

}  // namespace

TEST(ToolkitDataTest, DerivedColoursFollowTheSystemColoursTheyAreMadeOf) {
  CTkToolkitData data;
  data.m_clrFace = RGB(200, 100, 250);
  data.m_clrShadow = RGB(100, 50, 20);
  data.m_clrWindow = RGB(255, 255, 255);
  data.m_clrSelection = RGB(0, 0, 100);
  data.m_clrMenuText = RGB(1, 2, 3);
  data.m_clrSelectionText = RGB(4, 5, 6);
  data.ComputeDerivedColors();
  struct Case {
    const char* why;
    COLORREF actual, expected;
  };
  const Case cases[] = {
      // lighten adds to each channel and stops at 255
      {"light face", data.m_clrLightFace, RGB(218, 118, 255)},
      {"bright face", data.m_clrBrightFace, RGB(230, 130, 255)},
      // blend(a, b, p) = (b*p + a*(100-p)) / 100, integer division
      {"window tint", data.m_clrWindowTint, RGB(247, 233, 254)},
      {"face tint", data.m_clrFaceTint, RGB(209, 126, 250)},
      {"face shade", data.m_clrFaceShade, RGB(190, 95, 227)},
      {"dark face: face darkened, then lightened by the window", data.m_clrDarkFace,
       RGB(170, 123, 193)},
      {"dark shadow tint", data.m_clrDarkShadowTint, RGB(80, 40, 16)},
      {"shadow tint", data.m_clrShadowTint, RGB(138, 101, 78)},
      {"selection light", data.m_clrSelectionLight, RGB(178, 178, 208)},
      {"selection half", data.m_clrSelectionHalf, RGB(127, 127, 177)},
      {"selection mix", data.m_clrSelectionMix, RGB(205, 156, 236)},
  };
  for (const Case& c : cases) EXPECT_EQ(c.actual, c.expected) << c.why;
}

TEST(ToolkitDataTest, TheSelectionHalfTextIsDarkOnlyAboveGreyLevel148) {
  struct Case {
    COLORREF selection;  // blended half and half with white
    bool menuText;
  };
  // (255 + 41) / 2 = 148 exactly: not above, so the selection text; 149 takes the menu text.
  const Case cases[] = {{RGB(41, 41, 41), false}, {RGB(43, 43, 43), true}, {RGB(0, 0, 0), false}};
  for (const Case& c : cases) {
    CTkToolkitData data;
    data.m_clrWindow = RGB(255, 255, 255);
    data.m_clrSelection = c.selection;
    data.m_clrMenuText = RGB(1, 1, 1);
    data.m_clrSelectionText = RGB(250, 250, 250);
    data.ComputeDerivedColors();
    EXPECT_EQ(data.m_clrSelectionHalfText, c.menuText ? data.m_clrMenuText : data.m_clrSelectionText)
        << ColorValue(data.m_clrSelectionHalf).GetGreyLevel();
  }
}

TEST(ToolkitDataTest, ColoursAreReadAgainWhenTheSystemColoursChange) {
  CTkToolkitData data;
  data.ReloadColors();
  int index = COLOR_BTNFACE;
  COLORREF old = ::GetSysColor(index);
  COLORREF changed = old == RGB(10, 200, 30) ? RGB(11, 200, 30) : RGB(10, 200, 30);
  ASSERT_TRUE(::SetSysColors(1, &index, &changed));
  data.ReloadColors();
  ::SetSysColors(1, &index, &old);
  EXPECT_EQ(data.m_clrFace, changed);
  EXPECT_EQ(data.m_clrLightFace, COLORREF(ColorValue(changed) + 18)) << "derived colours follow";
}

TEST(ToolkitDataTest, FontsKeepTheMenuFaceAcrossAndUseArialForVerticalTextWithoutTahoma) {
  LOGFONTA menu = {};
  menu.lfHeight = -11;
  lstrcpyA(menu.lfFaceName, "Courier New");
  struct Case {
    const char* why;
    bool tahoma;
    const char* across;
    const char* vertical;
  };
  const Case cases[] = {
      {"no Tahoma", false, "Courier New", "Arial"},
      {"Tahoma installed", true, "Tahoma", "Tahoma"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    CTkToolkitData data;
    data.CreateFontsFrom(menu, c.tahoma);
    struct Font {
      HFONT font;
      const char* face;
      LONG weight, angle;
      BYTE underline;
    };
    const Font fonts[] = {
        {data.m_hFontNormal, c.across, FW_NORMAL, 0, 0},
        {data.m_hFontBold, c.across, FW_BOLD, 0, 0},
        {data.m_hFontUnderline, c.across, FW_NORMAL, 0, 1},
        {data.m_hFontNormal2, c.vertical, FW_NORMAL, 0, 0},
        {data.m_hFontVert, c.vertical, FW_NORMAL, 900, 0},
        {data.m_hFontVertBold, c.vertical, FW_BOLD, 900, 0},
        {data.m_hFontVert270, c.vertical, FW_NORMAL, 2700, 0},
        {data.m_hFontVert270Bold, c.vertical, FW_BOLD, 2700, 0},
    };
    for (const Font& f : fonts) {
      ASSERT_NE(f.font, nullptr);
      LOGFONTA lf = FontOf(f.font);
      EXPECT_STREQ(lf.lfFaceName, f.face);
      EXPECT_EQ(lf.lfWeight, f.weight);
      EXPECT_EQ(lf.lfEscapement, f.angle);
      EXPECT_EQ(lf.lfOrientation, f.angle);
      EXPECT_EQ(lf.lfUnderline, f.underline);
      EXPECT_EQ(lf.lfHeight, -11);
    }
  }
}

TEST(ToolkitDataTest, InitializeLoadsTheCursorsAndFontsFromTheLanguageModule) {
  HINSTANCE module = tktest::LanguageModule();
  ASSERT_NE(module, nullptr) << "ZBResENU.dll is built beside the test";
  CTkToolkitData data;
  data.m_dwComCtlVersion = CTkToolkitData::kMinComCtlVersion;  // no box in this test
  data.Initialize(module);
  EXPECT_EQ(data.GetResourceHandle(), module);
  // The bars' own cursors; the splitters' two come with the splitter's resources.
  for (UINT id : {IDC_TK_BAR_MOVE, IDC_TK_BAR_SIZEHORZ, IDC_TK_BAR_DROPBOX, IDC_TK_BAR_SIZEVERT,
                  IDC_TK_BAR_COPY})
    EXPECT_NE(data.GetCursor(id), nullptr) << id;
  EXPECT_EQ(data.GetCursor(4508), nullptr);
  EXPECT_NE(data.m_hcurSizeAll, nullptr);
  EXPECT_NE(data.m_hFontNormal, nullptr);
  EXPECT_EQ(data.GetBarFont(), data.m_hFontNormal);
  EXPECT_EQ(data.m_cyMenu, ::GetSystemMetrics(SM_CYMENU));

  CTkToolkitData own;
  own.m_dwComCtlVersion = CTkToolkitData::kMinComCtlVersion;
  own.Initialize(nullptr);
  EXPECT_EQ(own.GetResourceHandle(), ::GetModuleHandleA(nullptr)) << "null: the program itself";
}

namespace {
int g_boxes = 0;
int g_answer = IDIGNORE;
std::string g_text;
int CountBox(LPCSTR text, LPCSTR, UINT type) {
  ++g_boxes;
  g_text = text;
  EXPECT_EQ(type, static_cast<UINT>(MB_ABORTRETRYIGNORE | MB_ICONHAND));
  return g_answer;
}
bool QuitPosted() {
  MSG msg;
  return ::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
}
}  // namespace

TEST(ToolkitDataTest, CommonControlsOlderThan472AskWhetherToAbort) {
  ASSERT_NE(tktest::LanguageModule(), nullptr);
  SetTkComCtlMessageBox(CountBox);
  struct Case {
    const char* why;
    DWORD version;
    int answer;
    int boxes;
    bool quit;
  };
  const Case cases[] = {
      {"4.71, ignored", (4u << 16) | 71u, IDIGNORE, 1, false},
      {"4.71, retried", (4u << 16) | 71u, IDRETRY, 1, false},
      {"4.71, aborted", (4u << 16) | 71u, IDABORT, 1, true},
      {"4.72", (4u << 16) | 72u, IDABORT, 0, false},
      {"5.81", (5u << 16) | 81u, IDABORT, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    CTkToolkitData data;
    data.m_hResource = tktest::LanguageModule();
    data.m_dwComCtlVersion = c.version;
    g_boxes = 0;
    g_answer = c.answer;
    data.CheckComCtlVersion();
    EXPECT_EQ(g_boxes, c.boxes);
    if (c.boxes) {
      EXPECT_NE(g_text.find("4.72"), std::string::npos) << g_text;
    }
    EXPECT_EQ(QuitPosted(), c.quit);
  }
  SetTkComCtlMessageBox(nullptr);
}

TEST(ToolkitDataTest, TheCommonControlsVersionIsAskedOnceAndKept) {
  CTkToolkitData data;
  DWORD version = data.GetComCtlVersion();
  EXPECT_GE(version, CTkToolkitData::kMinComCtlVersion) << "this system's controls are recent";
  EXPECT_EQ(data.m_dwComCtlVersion, version);
}

TEST(ToolkitHelpersTest, MnemonicsGoAndDoubledAmpersandsStay) {
  struct Case {
    const char* text;
    const char* stripped;
  };
  const Case cases[] = {
      {"&File", "File"},         {"Save &As...", "Save As..."}, {"Fish && &Chips", "Fish && Chips"},
      {"&&", "&&"},              {"a&&&b", "a&&b"},             {"plain", "plain"},
      {"", ""},                  {"trailing&", "trailing"},
  };
  for (const Case& c : cases) EXPECT_STREQ(StripMnemonics(c.text), c.stripped) << c.text;
}

TEST(ToolkitHelpersTest, GreyLevelWeighsTheChannels) {
  EXPECT_DOUBLE_EQ(ColorValue(RGB(255, 255, 255)).GetGreyLevel(), 255.0);
  EXPECT_DOUBLE_EQ(ColorValue(RGB(0, 0, 0)).GetGreyLevel(), 0.0);
  EXPECT_DOUBLE_EQ(ColorValue(RGB(100, 0, 0)).GetGreyLevel(), 29.9);
  EXPECT_DOUBLE_EQ(ColorValue(RGB(0, 100, 0)).GetGreyLevel(), 58.7);
  EXPECT_DOUBLE_EQ(ColorValue(RGB(0, 0, 100)).GetGreyLevel(), 11.4);
}

TEST(ToolkitHelpersTest, AResourceScopeLendsTheToolkitModuleAndGivesTheOldHandleBack) {
  HINSTANCE module = tktest::LanguageModule();
  ASSERT_NE(module, nullptr);
  HINSTANCE other = ::GetModuleHandleA(nullptr);
  AfxSetResourceHandle(other);
  {
    ResourceScope scope;
    EXPECT_EQ(AfxGetResourceHandle(), module);
  }
  EXPECT_EQ(AfxGetResourceHandle(), other);
  AfxSetResourceHandle(module);
}

TEST(ToolkitHelpersTest, TheDitheredFillAlternatesFaceAndHighlight) {
  HDC screen = ::GetDC(nullptr);
  HDC dc = ::CreateCompatibleDC(screen);
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 8, 8);
  HGDIOBJ old = ::SelectObject(dc, bitmap);
  ToolkitData().ReloadColors();
  RECT all = {0, 0, 8, 8};
  FillDitheredRect(dc, all);
  COLORREF a = ::GetPixel(dc, 0, 0), b = ::GetPixel(dc, 1, 0);
  EXPECT_NE(a, b);
  EXPECT_EQ(::GetPixel(dc, 0, 1), b) << "the next row is shifted by one";
  EXPECT_EQ(::GetPixel(dc, 2, 0), a);
  const COLORREF face = ToolkitData().m_clrFace, light = ToolkitData().m_clrHighlight;
  EXPECT_TRUE((a == face && b == light) || (a == light && b == face));
  ::SelectObject(dc, old);
  ::DeleteObject(bitmap);
  ::DeleteDC(dc);
  ::ReleaseDC(nullptr, screen);
}

TEST(ToolkitHelpersTest, TheChildAtAPointIsTheFirstVisibleOneWithARealId) {
  HWND parent = ::CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr,
                                  nullptr, nullptr);
  auto child = [parent](int id, int x, DWORD visible) {
    return ::CreateWindowExA(0, "STATIC", "", WS_CHILD | visible, x, 0, 50, 50, parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
  };
  HWND hidden = child(1, 0, 0);
  HWND unnamed = child(0xFFFF, 0, WS_VISIBLE);
  HWND first = child(2, 0, WS_VISIBLE);
  HWND right = child(3, 100, WS_VISIBLE);
  (void)hidden;
  (void)unnamed;
  EXPECT_EQ(FindChildAtPoint(parent, 10, 10), first) << "hidden and 0xFFFF children are passed over";
  EXPECT_EQ(FindChildAtPoint(parent, 120, 10), right);
  EXPECT_EQ(FindChildAtPoint(parent, 75, 10), nullptr);
  ::DestroyWindow(parent);
}

TEST(ToolkitHelpersTest, ADisabledImageIsEmbossedInHighlightAndShadow) {
  ToolkitData().ReloadColors();
  // One black 4 x 4 image on white.
  HIMAGELIST images = ::ImageList_Create(4, 4, ILC_COLOR24 | ILC_MASK, 1, 0);
  HDC screen = ::GetDC(nullptr);
  HBITMAP bits = ::CreateCompatibleBitmap(screen, 4, 4);
  HDC dc = ::CreateCompatibleDC(screen);
  HGDIOBJ old = ::SelectObject(dc, bits);
  RECT all = {0, 0, 4, 4};
  ::FillRect(dc, &all, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
  ::SelectObject(dc, old);
  ::ImageList_AddMasked(images, bits, RGB(255, 255, 255));
  tktest::Canvas canvas(20, 20);
  DrawDisabledImage(canvas.Hdc(), images, 0, 5, 5, FALSE);
  EXPECT_EQ(canvas.At(6, 6), ToolkitData().m_clrShadow) << "the image itself in the shadow colour";
  EXPECT_EQ(canvas.At(9, 9), ToolkitData().m_clrHighlight) << "its highlight one pixel down right";
  EXPECT_EQ(canvas.At(2, 2), RGB(1, 2, 3)) << "around it nothing changes";
  ::DeleteDC(dc);
  ::DeleteObject(bits);
  ::ReleaseDC(nullptr, screen);
  ::ImageList_Destroy(images);
}

TEST(ToolkitHelpersTest, ScalingToAFontScalesTheChildrenByTheFontsMetrics) {
  auto makeFont = [](int height) {
    LOGFONTA lf = {};
    lf.lfHeight = height;
    lstrcpyA(lf.lfFaceName, "Arial");
    return ::CreateFontIndirectA(&lf);
  };
  HFONT small = makeFont(-10), large = makeFont(-20);
  auto metrics = [](HFONT font) {
    HDC dc = ::GetDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, font);
    TEXTMETRICA tm = {};
    ::GetTextMetricsA(dc, &tm);
    ::SelectObject(dc, old);
    ::ReleaseDC(nullptr, dc);
    return tm;
  };
  TEXTMETRICA from = metrics(small), to = metrics(large);
  CWnd parent;
  ASSERT_TRUE(parent.CreateEx(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                              nullptr));
  parent.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(small));
  HWND child = ::CreateWindowExA(0, "STATIC", "x", WS_CHILD | WS_VISIBLE, 10, 20, 40, 30,
                                 parent.m_hWnd, nullptr, nullptr, nullptr);
  ScaleWindowToFont(&parent, large);
  RECT r;
  ::GetWindowRect(child, &r);
  ::MapWindowPoints(nullptr, parent.m_hWnd, reinterpret_cast<LPPOINT>(&r), 2);
  int hFrom = from.tmHeight + from.tmExternalLeading, hTo = to.tmHeight + to.tmExternalLeading;
  EXPECT_EQ(r.left, ::MulDiv(10, to.tmAveCharWidth, from.tmAveCharWidth));
  EXPECT_EQ(r.top, ::MulDiv(20, hTo, hFrom));
  EXPECT_EQ(r.right, ::MulDiv(50, to.tmAveCharWidth, from.tmAveCharWidth));
  EXPECT_EQ(r.bottom, ::MulDiv(50, hTo, hFrom));
  EXPECT_EQ(reinterpret_cast<HFONT>(::SendMessageA(child, WM_GETFONT, 0, 0)), large);
  CRect client;
  parent.GetClientRect(&client);
  EXPECT_EQ(client.Width(), ::MulDiv(200, to.tmAveCharWidth, from.tmAveCharWidth));
  parent.DestroyWindow();
  ::DeleteObject(small);
  ::DeleteObject(large);
}
