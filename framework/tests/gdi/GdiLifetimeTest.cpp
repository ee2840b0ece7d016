// Every wrapper releases the GDI objects it made exactly once: repeating a create/destroy cycle
// leaves the process's GDI object count where it was, and wrappers that only borrow a handle
// (temporary wrappers, the previous object SelectObject gives back, stock objects, a detached
// handle) leave it alive.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <thread>

#include "framework/gdi/Gdi.h"
#include "framework/tests/gdi/GdiObjectCount.h"

namespace {

struct Cycle {
  const char* what;
  std::function<void()> run;
};

CDC* ScreenCompatible(CDC& dc) {
  dc.CreateCompatibleDC(nullptr);
  return &dc;
}

const Cycle kCycles[] = {
    {"pen by constructor and by each create",
     [] {
       CPen a(PS_SOLID, 1, RGB(1, 2, 3));
       CPen b;
       b.CreatePen(PS_DASH, 1, RGB(0, 0, 0));
       LOGBRUSH lb = {BS_SOLID, RGB(9, 9, 9), 0};
       CPen c(PS_GEOMETRIC | PS_SOLID, 3, &lb, 0);
       LOGPEN lp = {PS_SOLID, {2, 0}, RGB(4, 5, 6)};
       CPen d;
       d.CreatePenIndirect(&lp);
     }},
    {"brushes of every kind",
     [] {
       CBrush solid(RGB(1, 1, 1)), hatch(HS_CROSS, RGB(2, 2, 2));
       CBitmap pattern;
       pattern.CreateBitmap(8, 8, 1, 1, nullptr);
       CBrush patterned(&pattern);
       CBrush sys, stock;
       sys.CreateSysColorBrush(COLOR_BTNFACE);
       stock.CreateStockObject(WHITE_BRUSH);
     }},
    {"fonts by each create",
     [] {
       CFont a, b, c;
       a.CreatePointFont(90, "Arial");
       b.CreateFont(-12, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Arial");
       LOGFONTA lf{};
       a.GetLogFont(&lf);
       c.CreateFontIndirect(&lf);
     }},
    {"bitmaps by each create and the resource",
     [] {
       CDC dc;
       CBitmap a, b, c;
       a.CreateBitmap(4, 4, 1, 32, nullptr);
       b.CreateCompatibleBitmap(ScreenCompatible(dc), 4, 4);
       c.LoadBitmap(4656);
     }},
    {"regions combined into one another",
     [] {
       CRgn a, b, c;
       a.CreateRectRgn(0, 0, 10, 10);
       b.CreateEllipticRgn(5, 5, 20, 20);
       c.CreateRectRgn(0, 0, 0, 0);
       c.CombineRgn(&a, &b, RGN_OR);
     }},
    {"palette",
     [] {
       struct {
         LOGPALETTE head;
         PALETTEENTRY more[1];
       } pal = {{0x300, 2, {{1, 2, 3, 0}}}, {{4, 5, 6, 0}}};
       CPalette p;
       p.CreatePalette(&pal.head);
     }},
    // Creating again on a wrapper that holds a handle releases the first one.
    {"second create on the same wrapper",
     [] {
       CBrush b(RGB(1, 1, 1));
       b.CreateSolidBrush(RGB(2, 2, 2));
       CDC dc;
       dc.CreateCompatibleDC(nullptr);
       dc.CreateCompatibleDC(nullptr);
       CImageList list;
       list.Create(16, 16, ILC_COLOR24 | ILC_MASK, 1, 1);
       list.Create(4656, 10, 1, RGB(255, 0, 255));
     }},
    {"explicit delete then destruction",
     [] {
       CPen p(PS_SOLID, 1, 0);
       p.DeleteObject();
       p.DeleteObject();
       CDC dc;
       dc.CreateCompatibleDC(nullptr);
       dc.DeleteDC();
     }},
    {"memory DC with objects selected and restored",
     [] {
       CDC dc;
       dc.CreateCompatibleDC(nullptr);
       CBitmap bmp;
       bmp.CreateCompatibleBitmap(&dc, 8, 8);
       CPen pen(PS_SOLID, 1, RGB(255, 0, 0));
       CBrush brush(RGB(0, 255, 0));
       CFont font;
       font.CreatePointFont(80, "Arial");
       CBitmap* oldBmp = dc.SelectObject(&bmp);
       CPen* oldPen = dc.SelectObject(&pen);
       CBrush* oldBrush = dc.SelectObject(&brush);
       CFont* oldFont = dc.SelectObject(&font);
       dc.Rectangle(0, 0, 8, 8);
       dc.SelectObject(oldFont);
       dc.SelectObject(oldBrush);
       dc.SelectObject(oldPen);
       dc.SelectObject(oldBmp);
     }},
    {"temporary wrappers from FromHandle and selection",
     [] {
       CDC dc;
       dc.CreateCompatibleDC(nullptr);
       CBrush brush(RGB(1, 2, 3));
       CBrush* old = dc.SelectObject(&brush);
       dc.GetCurrentPen();
       dc.GetCurrentFont();
       CDC::FromHandle(dc.m_hDC);
       dc.SelectObject(old);
       AfxDeleteTempGdiMaps();
     }},
    {"image lists by each create",
     [] {
       CImageList a, b, c;
       a.Create(16, 16, ILC_COLOR24 | ILC_MASK, 2, 2);
       CBitmap bmp;
       bmp.LoadBitmap(4656);
       a.Add(&bmp, RGB(255, 0, 255));
       b.Create(4656, 10, 1, RGB(255, 0, 255));
       c.Create(&b);
       HICON icon = b.ExtractIcon(0);
       a.Add(icon);
       DestroyIcon(icon);
       a.Remove(0);
     }},
};

class GdiLifetimeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The first use of each kind sets up process-wide objects (stock objects, font caches) that
    // stay; they are made before the count starts.
    for (const auto& c : kCycles) c.run();
    AfxDeleteTempGdiMaps();
  }
};

TEST_F(GdiLifetimeTest, CountIsAvailable) {
  ASSERT_GT(GdiObjectCount(), 0);
}

TEST_F(GdiLifetimeTest, RepeatedCyclesLeaveTheCountUnchanged) {
  for (const auto& c : kCycles) {
    SCOPED_TRACE(c.what);
    long before = GdiObjectCount();
    for (int i = 0; i < 10; ++i) c.run();
    AfxDeleteTempGdiMaps();
    EXPECT_EQ(GdiObjectCount(), before);
  }
}

bool Alive(HGDIOBJ h) {
  return GetObjectType(h) != 0;
}

TEST_F(GdiLifetimeTest, TemporaryWrappersNeverDeleteTheirHandle) {
  HBRUSH raw = CreateSolidBrush(RGB(7, 7, 7));
  CBrush* temp = CBrush::FromHandle(raw);
  ASSERT_NE(temp, nullptr);
  EXPECT_TRUE(temp->IsKindOf(RUNTIME_CLASS(CBrush)));
  EXPECT_EQ(CGdiObject::FromHandle(raw), temp);  // one wrapper per handle until idle
  AfxDeleteTempGdiMaps();
  EXPECT_TRUE(Alive(raw));
  DeleteObject(raw);

  HDC rawDC = CreateCompatibleDC(nullptr);
  CDC::FromHandle(rawDC)->SetTextColor(RGB(1, 2, 3));
  AfxDeleteTempGdiMaps();
  EXPECT_EQ(GetTextColor(rawDC), RGB(1, 2, 3));  // still a working context
  DeleteDC(rawDC);
}

TEST_F(GdiLifetimeTest, FromHandleGivesTheOwnerAndTheRightKind) {
  CPen pen(PS_SOLID, 1, 0);
  EXPECT_EQ(CGdiObject::FromHandle(pen.m_hObject), &pen);
  struct Kind {
    HGDIOBJ handle;
    CRuntimeClass* cls;
  } kinds[] = {{GetStockObject(BLACK_PEN), RUNTIME_CLASS(CPen)},
               {GetStockObject(GRAY_BRUSH), RUNTIME_CLASS(CBrush)},
               {GetStockObject(SYSTEM_FONT), RUNTIME_CLASS(CFont)},
               {GetStockObject(DEFAULT_PALETTE), RUNTIME_CLASS(CPalette)}};
  for (const auto& k : kinds) {
    SCOPED_TRACE(k.cls->m_lpszClassName);
    EXPECT_EQ(CGdiObject::FromHandle(k.handle)->GetRuntimeClass(), k.cls);
  }
  EXPECT_EQ(CGdiObject::FromHandle(nullptr), nullptr);
  AfxDeleteTempGdiMaps();
}

TEST_F(GdiLifetimeTest, ASecondOwnerIsRefused) {
  HBRUSH raw = CreateSolidBrush(RGB(3, 3, 3));
  {
    CBrush owner, second;
    ASSERT_TRUE(owner.Attach(raw));
    EXPECT_FALSE(second.Attach(raw));  // two owners would delete it twice
    EXPECT_EQ(second.m_hObject, nullptr);
  }
  EXPECT_FALSE(Alive(raw));
}

TEST_F(GdiLifetimeTest, DetachedAndSharedHandlesOutliveTheirWrapper) {
  HGDIOBJ detached;
  {
    CBrush b(RGB(4, 4, 4));
    detached = b.Detach();
    EXPECT_EQ(b.m_hObject, nullptr);
  }
  EXPECT_TRUE(Alive(detached));
  {
    CBrush again;
    EXPECT_TRUE(again.Attach(detached));  // free to be owned again after the detach
  }
  EXPECT_FALSE(Alive(detached));

  // Two wrappers of the same stock brush: both hold it, neither deletes it.
  {
    CBrush a, b;
    EXPECT_TRUE(a.CreateStockObject(WHITE_BRUSH));
    EXPECT_TRUE(b.CreateStockObject(WHITE_BRUSH));
    EXPECT_EQ(a.m_hObject, b.m_hObject);
  }
  EXPECT_TRUE(Alive(GetStockObject(WHITE_BRUSH)));
}

TEST_F(GdiLifetimeTest, SelectObjectGivesBackWhatWasSelected) {
  CDC dc;
  ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
  HGDIOBJ originalPen = GetCurrentObject(dc, OBJ_PEN);
  CPen red(PS_SOLID, 1, RGB(255, 0, 0)), blue(PS_SOLID, 1, RGB(0, 0, 255));
  CPen* first = dc.SelectObject(&red);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->m_hObject, originalPen);
  EXPECT_EQ(dc.SelectObject(&blue), &red);  // an owned pen comes back as its owner
  dc.SelectObject(first);
  EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), originalPen);
  EXPECT_EQ(dc.SelectObject(static_cast<CPen*>(nullptr)), nullptr);

  CRgn clip;
  clip.CreateRectRgn(0, 0, 5, 5);
  EXPECT_EQ(dc.SelectObject(&clip), SIMPLEREGION);
  EXPECT_TRUE(Alive(clip.m_hObject));  // the context copies a region, it does not take it
  AfxDeleteTempGdiMaps();
}

TEST_F(GdiLifetimeTest, ABorrowedDeviceContextIsNotDeleted) {
  HDC raw = CreateCompatibleDC(nullptr);
  {
    CDC owner;
    ASSERT_TRUE(owner.Attach(raw));
    CDC second;
    EXPECT_FALSE(second.Attach(raw));
    EXPECT_EQ(owner.Detach(), raw);
  }
  EXPECT_NE(GetObjectType(raw), 0u);
  DeleteDC(raw);
}

// Temporary wrappers belong to the thread that asked; one that ends without an idle pass must
// still leave the handles alone. Ownership is known to every thread, so an object destroyed on
// another thread than its maker is forgotten everywhere.
TEST_F(GdiLifetimeTest, ThreadsShareOwnersAndKeepTheirOwnTemporaries) {
  CBrush shown(RGB(8, 8, 8));
  HBRUSH raw = CreateSolidBrush(RGB(9, 9, 9));
  CGdiObject* seenOwner = nullptr;
  std::thread([&] {
    seenOwner = CGdiObject::FromHandle(shown.m_hObject);
    CBrush::FromHandle(raw);
    CMenu::FromHandle(GetSystemMenu(GetDesktopWindow(), FALSE));
  }).join();
  EXPECT_EQ(seenOwner, &shown);
  EXPECT_TRUE(Alive(raw));
  DeleteObject(raw);

  auto pen = std::make_unique<CPen>(PS_SOLID, 1, RGB(1, 1, 1));
  HGDIOBJ hPen = pen->m_hObject;
  std::thread([&] { pen.reset(); }).join();
  EXPECT_FALSE(Alive(hPen));
  CPen again;
  EXPECT_TRUE(again.Attach(CreatePen(PS_SOLID, 1, 0)));
  EXPECT_NE(CGdiObject::FromHandle(again.m_hObject), nullptr);
}

}  // namespace
