// The colour picker popup and the colour dialog: the popup's sizes and key moves as tables, its
// outcome messages on a real window, the recent colours, the honeycomb's cells and links, the
// hexadecimal text and HSL values, and the dialog with both pages under a running sheet.
#include <gtest/gtest.h>

#include <vector>

#include "framework/app/AfxResource.h"
#include "framework/tests/wnd/WndTestSupport.h"
#include "resources/ids/ToolkitColourIds.h"
#include "toolkit/core/ToolkitData.h"
#include "toolkit/dialogs/TkColorDialog.h"
#include "toolkit/dialogs/TkColorPageCustom.h"
#include "toolkit/dialogs/TkColorPageStandard.h"
#include "toolkit/widgets/TkColorPickerPopup.h"

namespace {

TEST(ColorPickerLayout, WindowSizes) {
  struct Case { DWORD style; int recent; int height; } cases[] = {
      {0, 0, 92},
      {TKCP_40COLORS | TKCP_MORECOLORS, 0, 154},
      {TKCP_40COLORS | TKCP_MORECOLORS, 3, 180},
      {TKCP_MORECOLORS, 0, 120},
      {TKCP_40COLORS, 5, 126},  // recent colours only come with the more-colours button
  };
  for (const auto& c : cases) {
    CSize size = TkColorPickerLayout::WindowSize(c.style, c.recent);
    EXPECT_EQ(size.cx, 158);
    EXPECT_EQ(size.cy, c.height) << c.style << "/" << c.recent;
  }
}

TEST(ColorPickerLayout, KeysMoveTheFocus) {
  // 16 colours with more-colours and no recent ones: last = 17, rows = 2.
  struct Case { UINT key; int from, to; } cases[] = {
      {VK_DOWN, 0, 8},     // the first button goes to the end of the first palette row
      {VK_DOWN, 3, 11},    {VK_DOWN, 12, 17},  {VK_DOWN, 17, 0},
      {VK_UP, 5, 0},       {VK_UP, 12, 4},     {VK_UP, 0, 17},    {VK_UP, 17, 9},
      {VK_LEFT, 0, 17},    {VK_LEFT, 5, 4},    {VK_RIGHT, 17, 0}, {VK_RIGHT, 16, 17},
  };
  for (const auto& c : cases)
    EXPECT_EQ(TkColorPickerLayout::Move(c.key, c.from, 17, 2), c.to) << c.key << " from " << c.from;
  EXPECT_EQ(TkColorPickerLayout::LastIndex(TKCP_MORECOLORS, 0), 17);
  EXPECT_EQ(TkColorPickerLayout::LastIndex(TKCP_40COLORS | TKCP_MORECOLORS, 3), 44);
  // Without the more-colours button the keys wrap at the last cell, not at a missing button.
  EXPECT_EQ(TkColorPickerLayout::LastIndex(0, 0), 16);
}

TEST(ColorPickerLayout, PopupGapIsALineAlongTheSharedEdge) {
  HDC screen = ::GetDC(nullptr);
  HDC mem = ::CreateCompatibleDC(screen);
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 60, 40);
  HGDIOBJ old = ::SelectObject(mem, bitmap);
  CDC::FromHandle(mem)->FillSolidRect(0, 0, 60, 40, RGB(0, 0, 0));
  // Button 110..140 x 80..100 over a window from (100, 99): they share the line y = 99.
  CTkColorPickerPopup::DrawPopupGap(mem, RGB(255, 0, 0), CRect(110, 80, 140, 99), CRect(100, 99, 160, 139));
  EXPECT_EQ(::GetPixel(mem, 10, 0), RGB(0, 0, 0));
  EXPECT_EQ(::GetPixel(mem, 11, 0), RGB(255, 0, 0));
  EXPECT_EQ(::GetPixel(mem, 39, 0), RGB(255, 0, 0));
  EXPECT_EQ(::GetPixel(mem, 40, 0), RGB(0, 0, 0));
  ::SelectObject(mem, old);
  ::DeleteObject(bitmap);
  ::DeleteDC(mem);
  ::ReleaseDC(nullptr, screen);
}

TEST(ColorPickerLayout, ANinthRecentColourPushesOutTheOldest) {
  std::vector<COLORREF>& recent = CTkColorPickerPopup::RecentColors();
  recent.clear();
  for (int i = 1; i <= 9; ++i) CTkColorPickerPopup::AddRecentColor(RGB(i, 0, 0));
  ASSERT_EQ(recent.size(), 8u);
  EXPECT_EQ(recent.front(), RGB(2, 0, 0));
  EXPECT_EQ(recent.back(), RGB(9, 0, 0));
  recent.clear();
}

TEST(ColorHexagon, CellsLinksAndPixelHits) {
  std::vector<TkHexCell> cells = BuildTkHexCells();
  ASSERT_EQ(cells.size(), 144u);
  EXPECT_EQ(cells[0].pixels.size(), 168u);
  EXPECT_EQ(cells[142].pixels.size(), 691u);
  EXPECT_EQ(cells[63].color, RGB(255, 255, 255));
  EXPECT_EQ(cells[63].pixels.front().x, 100);
  EXPECT_EQ(cells[63].pixels.front().y, 79);
  struct Link { int cell, left, up, right, down; } links[] = {
      {0, -1, -1, 1, 8},      {126, 125, 118, 142, 142}, {142, 126, 126, 127, 127},
      {143, 134, 134, -1, -1}, {15, 14, 6, 16, 25},      {69, 68, 56, 70, 82},
      {119, 118, 110, 120, 142}, {120, 119, 112, 121, 121},
  };
  for (const auto& l : links) {
    EXPECT_EQ(cells[l.cell].left, l.left) << l.cell;
    EXPECT_EQ(cells[l.cell].up, l.up) << l.cell;
    EXPECT_EQ(cells[l.cell].right, l.right) << l.cell;
    EXPECT_EQ(cells[l.cell].down, l.down) << l.cell;
  }
  // Every pixel of a cell hits that cell or, where two cells recorded it, an earlier one.
  for (size_t i = 0; i < cells.size(); i += 13)
    for (const POINT& p : cells[i].pixels) {
      int hit = TkHexHitTest(cells, p);
      ASSERT_GE(hit, 0);
      ASSERT_LE(hit, static_cast<int>(i));
    }
  EXPECT_EQ(TkHexHitTest(cells, {58, 7}), 0);
  EXPECT_EQ(TkHexHitTest(cells, {5, 5}), -1);
  EXPECT_EQ(TkHexHitTest(cells, {169 + 14, 176 + 8}), 143);
}

TEST(ColorText, HexadecimalAndHsl) {
  EXPECT_STREQ(FormatColorHex(RGB(15, 160, 5)), "Hex: 0FA005");
  EXPECT_STREQ(FormatColorHex(RGB(255, 255, 255)), "Hex: FFFFFF");
  struct Case { COLORREF color; int lum, sat, hue; } cases[] = {
      {RGB(255, 0, 0), 127, 255, 0},
      {RGB(128, 128, 128), 128, 0, 0},
      {RGB(0, 0, 0), 0, 0, 0},
      {RGB(0, 255, 0), 127, 255, 85},
  };
  for (const auto& c : cases) {
    int l = -1, s = -1, h = -1;
    ColorToHSL255(c.color, l, s, h);
    EXPECT_EQ(l, c.lum) << std::hex << c.color;
    EXPECT_EQ(s, c.sat) << std::hex << c.color;
    EXPECT_EQ(h, c.hue) << std::hex << c.color;
  }
}

// ---- on windows ----

struct Note { UINT message; COLORREF color; LPARAM id; };

class Owner : public CWnd {
 public:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message >= TKCPN_UNCHANGED && message <= TKCPN_NOFILL)
      notes.push_back({message, static_cast<COLORREF>(wParam), lParam});
    return CWnd::WindowProc(message, wParam, lParam);
  }
  std::vector<Note> notes;
  bool Has(UINT message) const {
    for (const Note& n : notes)
      if (n.message == message) return true;
    return false;
  }
};

COLORREF g_pickerAnswer = 0;
BOOL AnswerPicker(CWnd*, COLORREF, DWORD, COLORREF& chosen) {
  chosen = g_pickerAnswer;
  return TRUE;
}

class ColorWindowsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    static HINSTANCE language = AfxLoadResourceModule("ZBResENU.dll");
    s_language = language;
  }
  void SetUp() override {
    ASSERT_NE(s_language, nullptr) << "ZBResENU.dll beside the test";
    AfxSetResourceHandle(s_language);
    ASSERT_TRUE(m_owner.CreateEx(0, AfxRegisterWndClass(0), "owner", WS_POPUP | WS_VISIBLE, 20, 20,
                                 300, 60, nullptr, nullptr));
    CTkColorPickerPopup::RecentColors().clear();
    CTkColorPickerPopup::SetDialogProc(AnswerPicker);
  }
  void TearDown() override {
    CTkColorPickerPopup::SetDialogProc(nullptr);
    CTkColorPickerPopup::RecentColors().clear();
    if (m_owner.m_hWnd) m_owner.DestroyWindow();
    PumpPending();
  }
  CTkColorPickerPopup* Open(DWORD style, COLORREF current, COLORREF def = RGB(0, 0, 0)) {
    auto* popup = new CTkColorPickerPopup(TRUE, 77);
    EXPECT_TRUE(popup->Create(CRect(30, 30, 60, 52), &m_owner, style, current, def));
    return popup;
  }
  static HINSTANCE s_language;
  Owner m_owner;
};
HINSTANCE ColorWindowsTest::s_language = nullptr;

TEST_F(ColorWindowsTest, PickerSelectsAndReportsByKeys) {
  CTkColorPickerPopup* popup = Open(TKCP_40COLORS | TKCP_MORECOLORS, RGB(255, 0, 0));
  HWND hWnd = popup->m_hWnd;
  ASSERT_TRUE(::IsWindow(hWnd));
  EXPECT_TRUE(m_owner.Has(TKCPN_OPENED));
  CRect rect;
  popup->GetWindowRect(&rect);
  EXPECT_EQ(rect.Size(), CSize(158, 154));
  EXPECT_EQ(rect.TopLeft(), CPoint(30, 52));
  EXPECT_EQ(popup->GetCurSel(), 17);  // red is cell 17 of the 40-colour palette
  popup->SendMessage(WM_KEYDOWN, VK_RIGHT, 0);
  popup->SendMessage(WM_KEYDOWN, VK_RETURN, 0);
  ASSERT_TRUE(m_owner.Has(TKCPN_CHANGED));
  PumpPending();
  EXPECT_FALSE(::IsWindow(hWnd));
  EXPECT_TRUE(m_owner.Has(TKCPN_CLOSING));
  for (const Note& n : m_owner.notes) {
    EXPECT_EQ(n.id, 77);
    if (n.message == TKCPN_CHANGED) {
      EXPECT_EQ(n.color, RGB(255, 153, 0));
    }
  }
}

TEST_F(ColorWindowsTest, PickerMoreColoursAndRecentRow) {
  // A colour found nowhere marks the more-colours button; choosing it through the dialog, even
  // unchanged, adds it to the recent colours.
  g_pickerAnswer = RGB(1, 2, 3);
  CTkColorPickerPopup* popup = Open(TKCP_MORECOLORS, RGB(1, 2, 3));
  EXPECT_EQ(popup->GetCurSel(), popup->GetLastIndex());
  popup->EndSelection(popup->GetLastIndex());
  PumpPending();
  ASSERT_EQ(CTkColorPickerPopup::RecentColors().size(), 1u);
  EXPECT_TRUE(m_owner.Has(TKCPN_UNCHANGED));

  // Next time the recent row is there; a colour both in the palette and recent selects only
  // the palette cell.
  CTkColorPickerPopup::AddRecentColor(RGB(255, 0, 0));
  m_owner.notes.clear();
  popup = Open(TKCP_MORECOLORS, RGB(255, 0, 0));
  CRect rect;
  popup->GetWindowRect(&rect);
  EXPECT_EQ(rect.Height(), 120 + 26);
  int selected = 0;
  for (int i = 0; i < popup->GetItemCount(); ++i) selected += popup->GetItem(i)->bSelected;
  EXPECT_EQ(selected, 1);
  EXPECT_EQ(popup->GetCurSel(), 11);
  popup->SendMessage(WM_KEYDOWN, VK_ESCAPE, 0);
  PumpPending();
  EXPECT_TRUE(m_owner.Has(TKCPN_CANCELLED));
  EXPECT_TRUE(m_owner.Has(TKCPN_CLOSING));
}

TEST_F(ColorWindowsTest, PickerFirstButtonNoFillAndAutomatic) {
  CTkColorPickerPopup* popup = Open(TKCP_NOFILL, RGB(0, 0, 255));
  popup->EndSelection(0);
  PumpPending();
  ASSERT_TRUE(m_owner.Has(TKCPN_NOFILL));
  m_owner.notes.clear();
  popup = Open(0, RGB(0, 0, 255), RGB(9, 9, 9));
  popup->EndSelection(0);
  PumpPending();
  ASSERT_TRUE(m_owner.Has(TKCPN_CHANGED));
  for (const Note& n : m_owner.notes)
    if (n.message == TKCPN_CHANGED) {
      EXPECT_EQ(n.color, RGB(9, 9, 9));
    }
}

// The popup printed into a memory picture of its whole window (popups owned by another window
// are not drawn on the test display, so the screen cannot be read).
struct PrintedPopup {
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ old = nullptr;
  PrintedPopup(CWnd& popup, UINT message, LPARAM flags) {
    CRect window;
    popup.GetWindowRect(&window);
    HDC screen = ::GetDC(nullptr);
    dc = ::CreateCompatibleDC(screen);
    bitmap = ::CreateCompatibleBitmap(screen, window.Width(), window.Height());
    ::ReleaseDC(nullptr, screen);
    old = ::SelectObject(dc, bitmap);
    CDC::FromHandle(dc)->FillSolidRect(0, 0, window.Width(), window.Height(), RGB(1, 2, 3));
    popup.SendMessage(message, reinterpret_cast<WPARAM>(dc), flags);
  }
  ~PrintedPopup() {
    ::SelectObject(dc, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
  }
  COLORREF At(int x, int y) const { return ::GetPixel(dc, x, y); }
};

TEST_F(ColorWindowsTest, PickerFlatFrameJoinsTheButtonAndMarksTheOpenDropDown) {
  CTkToolkitData& data = ToolkitData();
  data.ReloadColors();
  // The pixel checks tell the border, the joint and the background apart only by colour.
  ASSERT_NE(data.m_clrDarkShadowTint, data.m_clrFaceTint);
  ASSERT_NE(data.m_clrMenu, data.m_clrSelection);
  const BOOL flatBefore = data.m_bFlatLook;
  data.m_bFlatLook = TRUE;
  data.m_rcDropDownButton = CRect(30, 30, 60, 52);  // the anchor: the popup opens below it
  CTkColorPickerPopup* popup = Open(0, RGB(255, 0, 0));
  HWND hWnd = popup->m_hWnd;
  EXPECT_EQ(data.m_hDropDownPopup, hWnd);
  CRect window, client;
  popup->GetWindowRect(&window);
  popup->GetClientRect(&client);
  popup->ClientToScreen(&client);
  EXPECT_EQ(window.Size(), CSize(158, 92));
  EXPECT_EQ(client, CRect(window.left + 1, window.top + 1, window.right - 1, window.bottom - 1));
  {
    PrintedPopup printed(*popup, WM_PRINT, PRF_NONCLIENT | PRF_CLIENT);
    const COLORREF border = data.m_clrDarkShadowTint, joint = data.m_clrFaceTint;
    // Where the popup touches the button (x 0..29 of the top row) the border takes the
    // button's face, leaving the corner pixels of the border.
    struct Px { int x, y; COLORREF color; } frame[] = {
        {0, 0, border},  {1, 0, joint},    {29, 0, joint},    {30, 0, border},
        {157, 0, border}, {0, 50, border}, {157, 50, border}, {80, 91, border},
    };
    for (const Px& p : frame) EXPECT_EQ(printed.At(p.x, p.y), p.color) << p.x << "," << p.y;
    // The client part follows the border: red (cell 11) is selected, framed in the highlight
    // colour and filled with its colour; black (cell 1) lies on the popup background.
    CRect red = popup->GetItem(11)->rect, black = popup->GetItem(1)->rect;
    red.OffsetRect(1, 1);
    black.OffsetRect(1, 1);
    EXPECT_EQ(printed.At(red.left, red.top), data.m_clrSelection);
    EXPECT_EQ(printed.At(red.CenterPoint().x, red.CenterPoint().y), RGB(255, 0, 0));
    EXPECT_EQ(printed.At(black.left, black.top), data.m_clrMenu);
    EXPECT_EQ(printed.At(black.CenterPoint().x, black.CenterPoint().y), RGB(0, 0, 0));
  }
  popup->SendMessage(WM_KEYDOWN, VK_ESCAPE, 0);
  PumpPending();
  EXPECT_FALSE(::IsWindow(hWnd));
  EXPECT_EQ(data.m_hDropDownPopup, nullptr);

  // Without a button to join (and in the normal look) the border stays whole; the normal look
  // keeps the system's dialog frame and still prints its client part.
  data.m_rcDropDownButton = CRect();
  popup = Open(0, RGB(255, 0, 0));
  {
    PrintedPopup printed(*popup, WM_PRINT, PRF_NONCLIENT);
    EXPECT_EQ(printed.At(10, 0), data.m_clrDarkShadowTint);
  }
  popup->SendMessage(WM_KEYDOWN, VK_ESCAPE, 0);
  PumpPending();
  data.m_bFlatLook = FALSE;
  popup = Open(0, RGB(255, 0, 0));
  popup->GetWindowRect(&window);
  popup->GetClientRect(&client);
  EXPECT_LT(client.Width(), window.Width() - 2);
  {
    PrintedPopup printed(*popup, WM_PRINTCLIENT, PRF_CLIENT);
    CPoint center = popup->GetItem(11)->rect.CenterPoint();
    EXPECT_EQ(printed.At(center.x, center.y), RGB(255, 0, 0));
  }
  {
    // The whole window printed: the raised frame's face at its corner, the client part moved
    // in by the frame.
    PrintedPopup printed(*popup, WM_PRINT, PRF_NONCLIENT | PRF_CLIENT);
    CRect inClient;
    popup->GetClientRect(&inClient);
    popup->ClientToScreen(&inClient);
    CPoint center = popup->GetItem(11)->rect.CenterPoint();
    center.Offset(inClient.left - window.left, inClient.top - window.top);
    EXPECT_EQ(printed.At(center.x, center.y), RGB(255, 0, 0));
    EXPECT_EQ(printed.At(window.Width() - 1, window.Height() - 1), ::GetSysColor(COLOR_3DDKSHADOW));
  }
  EXPECT_EQ(data.m_hDropDownPopup, popup->m_hWnd);
  popup->SendMessage(WM_KEYDOWN, VK_ESCAPE, 0);
  PumpPending();
  EXPECT_EQ(data.m_hDropDownPopup, nullptr);
  data.m_bFlatLook = flatBefore;
}

// The dialog runs modally; the checks run from a timer inside its loop and end it.
struct DialogRun {
  CTkColorDialog* dialog = nullptr;
  void (*check)(CTkColorDialog&) = nullptr;
};
DialogRun g_run;

void CALLBACK RunChecks(HWND, UINT, UINT_PTR id, DWORD) {
  ::KillTimer(nullptr, id);
  if (!g_run.dialog || !g_run.dialog->m_hWnd) return;
  g_run.check(*g_run.dialog);
  g_run.dialog->PressButton(PSBTN_OK);
}

INT_PTR RunDialog(CTkColorDialog& dialog, void (*check)(CTkColorDialog&)) {
  g_run = {&dialog, check};
  ::SetTimer(nullptr, 0, 50, RunChecks);
  return dialog.DoModal();
}

TEST_F(ColorWindowsTest, DialogShowsHexAndTakesColoursFromBothPages) {
  CTkColorDialog dialog(RGB(15, 160, 5), RGB(200, 0, 0), TKCD_SHOWHEX | TKCD_FRAMED, nullptr);
  EXPECT_EQ(RunDialog(dialog, [](CTkColorDialog& d) {
    CString text;
    ASSERT_TRUE(d.GetHexField().m_hWnd);
    d.GetHexField().GetWindowText(text);
    EXPECT_STREQ(text, "Hex: 0FA005");
    CRect rect;
    d.GetWindowRect(&rect);
    EXPECT_EQ(rect.Size(), CSize(329, 341));
    // The custom page has no window yet: the broadcast passes it by.
    auto* custom = static_cast<CTkColorPageCustom*>(d.GetPage(1));
    EXPECT_FALSE(custom->m_hWnd);
    d.SetNewColor(RGB(255, 0, 0), TRUE);
    d.GetHexField().GetWindowText(text);
    EXPECT_STREQ(text, "Hex: FF0000");

    // A click on the honeycomb's first cell makes it the new colour.
    auto* standard = static_cast<CTkColorPageStandard*>(d.GetPage(0));
    CTkColorHexagon& hexagon = standard->GetHexagon();
    ASSERT_TRUE(hexagon.m_hWnd);
    hexagon.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(60, 10));
    hexagon.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(60, 10));
    EXPECT_EQ(d.GetColor(), RGB(0x00, 0x33, 0x66));
    // Right from the last honeycomb cell is the large white hexagon; black goes nowhere.
    hexagon.SetColor(RGB(0xA5, 0x00, 0x21));
    hexagon.MoveSelection(VK_RIGHT);
    EXPECT_EQ(d.GetColor(), RGB(255, 255, 255));
    EXPECT_EQ(hexagon.GetAnchor(), CPoint(16, 176));
    hexagon.SetColor(RGB(0, 0, 0));
    hexagon.MoveSelection(VK_RIGHT);
    EXPECT_EQ(hexagon.GetColor(), RGB(0, 0, 0));
    // A colour not among the cells starts from the black hexagon.
    hexagon.SetColor(RGB(1, 2, 3));
    hexagon.MoveSelection(VK_LEFT);
    EXPECT_EQ(hexagon.GetColor(), RGB(0x08, 0x08, 0x08));

    // The custom page shows the colour in all six edits.
    d.SetActivePage(1);
    ASSERT_TRUE(custom->m_hWnd);
    d.SetNewColor(RGB(255, 0, 0), TRUE);
    auto value = [&](int id) { return static_cast<int>(::GetDlgItemInt(custom->m_hWnd, id, nullptr, FALSE)); };
    EXPECT_EQ(value(IDC_TK_COLOR_RED), 255);
    EXPECT_EQ(value(IDC_TK_COLOR_GREEN), 0);
    EXPECT_EQ(value(IDC_TK_COLOR_HUE), 0);
    EXPECT_EQ(value(IDC_TK_COLOR_SAT), 255);
    EXPECT_EQ(value(IDC_TK_COLOR_LUM), 127);
    // Writing its own edits does not set off their change handlers: the colour stays whole.
    d.SetNewColor(RGB(10, 200, 30), TRUE);
    EXPECT_EQ(d.GetColor(), RGB(10, 200, 30));
    EXPECT_EQ(value(IDC_TK_COLOR_BLUE), 30);
    // A grey shows hue and saturation 0.
    d.SetNewColor(RGB(90, 90, 90), TRUE);
    EXPECT_EQ(value(IDC_TK_COLOR_HUE), 0);
    EXPECT_EQ(value(IDC_TK_COLOR_SAT), 0);
    // Typing green into the edits becomes the dialog's colour.
    ::SetDlgItemInt(custom->m_hWnd, IDC_TK_COLOR_GREEN, 200, FALSE);
    EXPECT_EQ(d.GetColor(), RGB(90, 200, 90));
    // The luminance bar's top is white whatever the hue.
    custom->GetBar().SetPosition(0, 0, TRUE);
    EXPECT_EQ(d.GetColor(), RGB(255, 255, 255));
  }), IDOK);
  EXPECT_EQ(dialog.GetColor(), RGB(255, 255, 255));
}

TEST_F(ColorWindowsTest, DialogWithoutHexHasNoField) {
  CTkColorDialog dialog(RGB(1, 1, 1), RGB(1, 1, 1), 0, nullptr);
  EXPECT_EQ(RunDialog(dialog, [](CTkColorDialog& d) {
    EXPECT_FALSE(d.GetHexField().m_hWnd);
    EXPECT_FALSE(::GetDlgItem(d.m_hWnd, IDC_TK_COLORHEX));
    d.SetNewColor(RGB(2, 2, 2), TRUE);
    EXPECT_EQ(d.GetColor(), RGB(2, 2, 2));
  }), IDOK);
}

}  // namespace
