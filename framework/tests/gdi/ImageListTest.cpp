// CImageList: made from a bitmap resource with a mask colour, grown, drawn with the mask
// colour transparent, and owned once.
#include <gtest/gtest.h>

#include "framework/gdi/Gdi.h"
#include "framework/tests/gdi/MemoryCanvas.h"

namespace {

constexpr COLORREF kMagenta = RGB(255, 0, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kGreen = RGB(0, 255, 0);

// The test resource 4656 is two 10 x 10 glyphs: red with a magenta 4 x 4 top-left corner, and
// blue.
TEST(ImageListTest, CreatedFromABitmapResourceWithAMaskColour) {
  CImageList list;
  ASSERT_TRUE(list.Create(4656, 10, 1, kMagenta));
  EXPECT_EQ(list.GetImageCount(), 2);
  int cx = 0, cy = 0;
  ASSERT_TRUE(list.GetIconSize(&cx, &cy));
  EXPECT_EQ(cx, 10);
  EXPECT_EQ(cy, 10);
  IMAGEINFO info{};
  ASSERT_TRUE(list.GetImageInfo(1, &info));
  EXPECT_EQ(CRect(info.rcImage).Width(), 10);
  EXPECT_NE(info.hbmMask, nullptr);
  EXPECT_FALSE(list.GetImageInfo(2, &info));

  CImageList missing;
  EXPECT_FALSE(missing.Create(9999, 10, 1, kMagenta));
  EXPECT_EQ(missing.GetImageCount(), 0);
}

TEST(ImageListTest, DrawingLeavesTheMaskColourTransparent) {
  CImageList list;
  ASSERT_TRUE(list.Create(4656, 10, 1, kMagenta));
  list.SetBkColor(CLR_NONE);
  MemoryCanvas canvas(30, 12);
  canvas.dc().FillSolidRect(0, 0, 30, 12, kGreen);
  ASSERT_TRUE(list.Draw(&canvas.dc(), 0, CPoint(1, 1), ILD_TRANSPARENT));
  ASSERT_TRUE(list.Draw(&canvas.dc(), 1, CPoint(15, 1), ILD_NORMAL));
  struct Spot {
    int x, y;
    COLORREF colour;
  } spots[] = {{1, 1, kGreen},   {4, 4, kGreen}, {5, 5, kRed},    {10, 10, kRed},
               {11, 10, kGreen}, {15, 1, kBlue}, {24, 10, kBlue}, {0, 0, kGreen}};
  for (const auto& s : spots) {
    SCOPED_TRACE(testing::Message() << "at " << s.x << "," << s.y);
    EXPECT_EQ(canvas.At(s.x, s.y), s.colour);
  }

  MemoryCanvas part(12, 12);
  ASSERT_TRUE(part.dc().GetPixel(0, 0) != kRed);
  // Only the lower right 6 x 6 of image 0, from its (4, 4).
  ASSERT_TRUE(list.DrawIndirect(&part.dc(), 0, CPoint(0, 0), CSize(6, 6), CPoint(4, 4)));
  EXPECT_EQ(part.At(0, 0), kRed);
  EXPECT_EQ(part.At(5, 5), kRed);
  EXPECT_EQ(part.At(6, 6), RGB(255, 255, 255));
}

TEST(ImageListTest, AddReplaceRemoveAndIcons) {
  CImageList list;
  ASSERT_TRUE(list.Create(10, 10, ILC_COLOR24 | ILC_MASK, 0, 4));
  CBitmap strip;
  ASSERT_TRUE(strip.LoadBitmap(4656));
  EXPECT_EQ(list.Add(&strip, kMagenta), 0);  // a strip adds one image per width
  EXPECT_EQ(list.GetImageCount(), 2);
  HICON icon = list.ExtractIcon(1);
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(list.Add(icon), 2);
  EXPECT_EQ(list.Replace(0, icon), 0);
  DestroyIcon(icon);
  EXPECT_EQ(list.ExtractIcon(7), nullptr);

  MemoryCanvas canvas(12, 12);
  list.Draw(&canvas.dc(), 0, CPoint(0, 0), ILD_NORMAL);
  EXPECT_EQ(canvas.At(5, 5), kBlue);  // image 0 is now the blue icon

  EXPECT_TRUE(list.Remove(0));
  EXPECT_EQ(list.GetImageCount(), 2);
  EXPECT_TRUE(list.Remove(-1));
  EXPECT_EQ(list.GetImageCount(), 0);
}

TEST(ImageListTest, OwnedOnceAndCopied) {
  CImageList source;
  ASSERT_TRUE(source.Create(4656, 10, 1, kMagenta));
  CImageList copy;
  ASSERT_TRUE(copy.Create(&source));
  EXPECT_EQ(copy.GetImageCount(), 2);
  EXPECT_NE(copy.m_hImageList, source.m_hImageList);

  CImageList second;
  EXPECT_FALSE(second.Attach(source.m_hImageList));
  EXPECT_EQ(CImageList::FromHandle(source.m_hImageList), &source);
  HIMAGELIST raw = ImageList_Create(8, 8, ILC_COLOR24, 1, 1);
  CImageList* temp = CImageList::FromHandle(raw);
  ASSERT_NE(temp, &source);
  EXPECT_EQ(temp->GetImageCount(), 0);
  AfxDeleteTempGdiMaps();
  EXPECT_EQ(ImageList_GetImageCount(raw), 0);  // still a list after its wrapper went
  EXPECT_TRUE(ImageList_Destroy(raw));
}

}  // namespace
