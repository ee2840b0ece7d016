#include "framework/docview/Document.h"

#include <gtest/gtest.h>

#include "framework/app/MessageBox.h"

namespace {

TEST(DocumentTest, PathTitleAndModifiedFlag) {
  CDocument doc;
  doc.SetPathName("C:\\data\\site.zbp");
  EXPECT_EQ(doc.GetTitle(), CString("site.zbp"));
  doc.SetModifiedFlag();
  EXPECT_TRUE(doc.IsModified());
  doc.UpdateAllViews(nullptr, 110);  // no views: nothing happens
  EXPECT_TRUE(doc.OnNewDocument());
  EXPECT_TRUE(doc.GetPathName().IsEmpty());
  EXPECT_FALSE(doc.IsModified());
}

TEST(DocumentTest, UnhandledMessageBoxesAnswerWithoutBlocking) {
  EXPECT_EQ(AfxMessageBox("logged", MB_OK), IDOK);
  EXPECT_EQ(AfxMessageBox("logged", MB_YESNO), IDNO);
  EXPECT_EQ(AfxMessageBox("logged", MB_OKCANCEL), IDCANCEL);
}

}  // namespace
