// A document over the fixture engines, served by the fake search engine on loopback, with the
// language module as the resource handle and message boxes answered and recorded.
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/document/ZubrinDoc.h"
#include "tests/fakeengine/FakeSearchEngine.h"
#include "tests/support/TempFolder.h"

namespace projtest {

class ProjectFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Only these engines take part in the current set.
  void EnableOnly(const std::vector<const char*>& names);
  // Answers message boxes with answer from now on.
  void AnswerBoxes(int answer) { s_answer = answer; }

  zbtest::TempFolder folder;
  zbtest::FakeSearchEngine fake;
  std::unique_ptr<CZubrinDoc> doc;

 public:
  static std::vector<std::string> s_boxes;
  static int s_answer;
};

}  // namespace projtest
