#include "app/settings/SelectionTemplates.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <sstream>
#include <string>

namespace {

class SelectionTemplatesTest : public testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    folder_ = std::string(temp) + "zbtemplates-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder_.c_str(), nullptr);
    path_ = folder_ + "\\templates.dat";
  }
  void TearDown() override {
    for (const char* suffix : {"", ".bak", ".new"}) DeleteFileA((path_ + suffix).c_str());
    RemoveDirectoryA(folder_.c_str());
  }
  void Write(const std::string& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
  }
  std::string Read(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
  }
  std::string folder_, path_;
};

TEST_F(SelectionTemplatesTest, SavesHeadersMembersAndEmptyLinesInNameOrder) {
  NQSelectionTemplates t;
  t.Add("Europe", {"Web.de", "Allee"});
  t.Add("empty");
  t.Add("Big", {"Alpha Search"});
  ASSERT_TRUE(t.Save(path_));
  EXPECT_EQ(Read(path_),
            "[Big]\r\nAlpha Search\r\n\r\n"
            "[Europe]\r\nAllee\r\nWeb.de\r\n\r\n"
            "[empty]\r\n\r\n");

  NQSelectionTemplates back;
  ASSERT_TRUE(back.Load(path_));
  EXPECT_EQ(back.Templates(), t.Templates());
  ASSERT_NE(back.Find("empty"), nullptr);
  EXPECT_TRUE(back.Find("empty")->empty());
  EXPECT_EQ(back.Find("EMPTY"), nullptr) << "names are case-sensitive";
}

TEST_F(SelectionTemplatesTest, ReadingTrimsSkipsStrayLinesAndKeepsAnUnendedLastMember) {
  Write(path_,
        "stray line\n"
        "  [One]  \t\n"
        "\tAlpha \r\n"
        "Beta\n"
        "\n"
        "not a member\n"
        "[one]\n"
        "Gamma\n"
        "\n"
        "[One]\n"
        "Delta");  // no line end after the last member
  NQSelectionTemplates t;
  t.Add("old", {"goes"});
  ASSERT_TRUE(t.Load(path_));
  EXPECT_EQ(t.Find("old"), nullptr) << "a load replaces the map";
  ASSERT_NE(t.Find("One"), nullptr);
  EXPECT_EQ(*t.Find("One"), (NQSelectionTemplates::EngineNames{"Alpha", "Beta", "Delta"}))
      << "a repeated name gets the new members as well; the unended last line is kept";
  ASSERT_NE(t.Find("one"), nullptr);
  EXPECT_EQ(*t.Find("one"), (NQSelectionTemplates::EngineNames{"Gamma"}));
}

TEST_F(SelectionTemplatesTest, BackupHoldsThePreviousSaveAndRestoresAMissingFile) {
  NQSelectionTemplates first;
  first.Add("A", {"x"});
  ASSERT_TRUE(first.Save(path_));
  NQSelectionTemplates second;
  second.Add("B", {"y"});
  ASSERT_TRUE(second.Save(path_));
  ASSERT_TRUE(second.Save(path_));
  EXPECT_EQ(Read(path_ + ".bak"), Read(path_)) << "the backup is the file before the last save";

  NQSelectionTemplates third;
  third.Add("C");
  ASSERT_TRUE(third.Save(path_));
  EXPECT_EQ(Read(path_ + ".bak"), "[B]\r\ny\r\n\r\n");

  DeleteFileA(path_.c_str());
  NQSelectionTemplates restored;
  ASSERT_TRUE(restored.Load(path_));
  EXPECT_NE(restored.Find("B"), nullptr) << "a missing file comes back from its backup";
  EXPECT_EQ(GetFileAttributesA((path_ + ".new").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(SelectionTemplatesTest, MissingFilesAndFailedSaves) {
  NQSelectionTemplates t;
  t.Add("keep");
  EXPECT_FALSE(t.Load(path_));
  EXPECT_TRUE(t.Templates().empty());

  Write(path_, "[old]\r\nengine\r\n\r\n");
  NQSelectionTemplates fresh;
  fresh.Add("new");
  EXPECT_FALSE(fresh.Save(folder_ + "\\no such folder\\templates.dat"));
  EXPECT_EQ(Read(path_), "[old]\r\nengine\r\n\r\n");
}

}  // namespace
