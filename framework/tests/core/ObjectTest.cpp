// Runtime classes: kind tests, creation by record and by name.
#include <gtest/gtest.h>

#include <memory>

#include "framework/files/Archive.h"
#include "framework/core/Object.h"

namespace {

class CShape : public CObject {
  DECLARE_DYNAMIC(CShape)
};
IMPLEMENT_DYNAMIC(CShape, CObject)

class CCircle : public CShape {
  DECLARE_DYNCREATE(CCircle)
 public:
  int radius = 7;
};
IMPLEMENT_DYNCREATE(CCircle, CShape)

class CSquare : public CShape {
  DECLARE_SERIAL(CSquare)
};
IMPLEMENT_SERIAL(CSquare, CShape, 3)

}  // namespace

TEST(RuntimeClass, KindFollowsTheBaseChain) {
  CCircle circle;
  EXPECT_EQ(circle.GetRuntimeClass(), RUNTIME_CLASS(CCircle));
  EXPECT_TRUE(circle.IsKindOf(RUNTIME_CLASS(CCircle)));
  EXPECT_TRUE(circle.IsKindOf(RUNTIME_CLASS(CShape)));
  EXPECT_TRUE(circle.IsKindOf(RUNTIME_CLASS(CObject)));
  EXPECT_FALSE(circle.IsKindOf(RUNTIME_CLASS(CSquare)));
  EXPECT_STREQ(RUNTIME_CLASS(CCircle)->m_lpszClassName, "CCircle");
  EXPECT_EQ(RUNTIME_CLASS(CCircle)->m_nObjectSize, static_cast<int>(sizeof(CCircle)));
}

TEST(RuntimeClass, OnlyCreatableClassesCreateObjects) {
  std::unique_ptr<CObject> made(RUNTIME_CLASS(CCircle)->CreateObject());
  ASSERT_NE(made, nullptr);
  ASSERT_TRUE(made->IsKindOf(RUNTIME_CLASS(CCircle)));
  EXPECT_EQ(static_cast<CCircle*>(made.get())->radius, 7);
  EXPECT_EQ(RUNTIME_CLASS(CShape)->CreateObject(), nullptr);
}

TEST(RuntimeClass, ClassesAreFoundByName) {
  EXPECT_EQ(CRuntimeClass::FromName("CSquare"), RUNTIME_CLASS(CSquare));
  EXPECT_EQ(CRuntimeClass::FromName("CShape"), RUNTIME_CLASS(CShape));
  EXPECT_EQ(CRuntimeClass::FromName("CObject"), RUNTIME_CLASS(CObject));
  EXPECT_EQ(CRuntimeClass::FromName("CNoSuchClass"), nullptr);
  EXPECT_EQ(CRuntimeClass::FromName(nullptr), nullptr);
}

TEST(RuntimeClass, OnlySerialClassesAreSerialisable) {
  CSquare square;
  CCircle circle;
  EXPECT_TRUE(square.IsSerializable());
  EXPECT_EQ(RUNTIME_CLASS(CSquare)->m_wSchema, 3u);
  EXPECT_FALSE(circle.IsSerializable());
}
