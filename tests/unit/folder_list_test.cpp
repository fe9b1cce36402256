#include "dialogs/folder_list.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace kv {
namespace {

using Names = std::vector<std::string>;

class FolderRowsTest : public testing::Test {
 protected:
  ListSubfolders Lister() {
    return [this](const std::string& folder) {
      listed.push_back(folder);
      const auto it = tree.find(folder);
      return it == tree.end() ? Names{} : it->second;
    };
  }

  std::map<std::string, Names> tree = {
      {"C:\\", {"Windows", "Program Files", "boot", "..", "."}},
      {"C:\\Windows", {"system32", "Fonts", "addins", "Ёлка", "ель", "Zeta"}},
      {"C:\\Windows\\System32", {"drivers", "Boot", "config"}},
      {"\\\\server\\share\\dir", {"b", "A"}},
  };
  std::vector<std::string> listed;
};

struct Row {
  const char* text;
  const char* path;
  int level;
  bool onOpenPath;
};

void ExpectRows(const FolderRows& got, const std::vector<Row>& want, size_t selected) {
  ASSERT_EQ(got.rows.size(), want.size());
  for (size_t i = 0; i < want.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(got.rows[i].text, want[i].text);
    EXPECT_EQ(got.rows[i].path, want[i].path);
    EXPECT_EQ(got.rows[i].level, want[i].level);
    EXPECT_EQ(got.rows[i].onOpenPath, want[i].onOpenPath);
  }
  EXPECT_EQ(got.selected, selected);
}

TEST_F(FolderRowsTest, DriveRootShowsItsSubfoldersSortedWithoutCase) {
  ExpectRows(BuildFolderRows("C:\\", Lister()),
             {{"C:\\", "C:\\", 0, true},
              {"boot", "C:\\boot", 1, false},
              {"Program Files", "C:\\Program Files", 1, false},
              {"Windows", "C:\\Windows", 1, false}},
             0);
  EXPECT_EQ(listed, Names{"C:\\"});
}

TEST_F(FolderRowsTest, OneRowPerLevelThenTheOpenFoldersSubfolders) {
  ExpectRows(BuildFolderRows("C:\\Windows", Lister()),
             {{"C:\\", "C:\\", 0, true},
              {"Windows", "C:\\Windows", 1, true},
              {"addins", "C:\\Windows\\addins", 2, false},
              {"Fonts", "C:\\Windows\\Fonts", 2, false},
              {"system32", "C:\\Windows\\system32", 2, false},
              {"Zeta", "C:\\Windows\\Zeta", 2, false},
              {"ель", "C:\\Windows\\ель", 2, false},
              {"Ёлка", "C:\\Windows\\Ёлка", 2, false}},
             1);
  ExpectRows(BuildFolderRows("C:\\Windows\\System32", Lister()),
             {{"C:\\", "C:\\", 0, true},
              {"Windows", "C:\\Windows", 1, true},
              {"System32", "C:\\Windows\\System32", 2, true},
              {"Boot", "C:\\Windows\\System32\\Boot", 3, false},
              {"config", "C:\\Windows\\System32\\config", 3, false},
              {"drivers", "C:\\Windows\\System32\\drivers", 3, false}},
             2);
}

TEST_F(FolderRowsTest, SpellingsOfTheSameFolderGiveTheSameRows) {
  const FolderRows plain = BuildFolderRows("C:\\Windows", Lister());
  for (const char* spelling : {"C:\\Windows\\", "C:\\\\Windows", "C:/Windows/"}) {
    const FolderRows other = BuildFolderRows(spelling, Lister());
    ASSERT_EQ(other.rows.size(), plain.rows.size()) << spelling;
    for (size_t i = 0; i < plain.rows.size(); ++i)
      EXPECT_EQ(other.rows[i].path, plain.rows[i].path) << spelling;
  }
  ExpectRows(BuildFolderRows("C:", Lister()),
             {{"C:\\", "C:\\", 0, true},
              {"boot", "C:\\boot", 1, false},
              {"Program Files", "C:\\Program Files", 1, false},
              {"Windows", "C:\\Windows", 1, false}},
             0);
}

TEST_F(FolderRowsTest, NetworkFolderStartsAtItsShare) {
  ExpectRows(BuildFolderRows("\\\\server\\share\\dir", Lister()),
             {{"\\\\server\\share\\", "\\\\server\\share\\", 0, true},
              {"dir", "\\\\server\\share\\dir", 1, true},
              {"A", "\\\\server\\share\\dir\\A", 2, false},
              {"b", "\\\\server\\share\\dir\\b", 2, false}},
             1);
}

TEST_F(FolderRowsTest, EmptyFolderNameGivesNoRows) {
  EXPECT_TRUE(BuildFolderRows("", Lister()).rows.empty());
  EXPECT_TRUE(listed.empty());
}

TEST(DriveOfPath, DriveLetterAsACapital) {
  EXPECT_EQ(DriveOfPath("C:\\Windows"), 'C');
  EXPECT_EQ(DriveOfPath("d:"), 'D');
  EXPECT_EQ(DriveOfPath("z:x"), 'Z');
  EXPECT_EQ(DriveOfPath("\\\\server\\share"), std::nullopt);
  EXPECT_EQ(DriveOfPath("Windows"), std::nullopt);
  EXPECT_EQ(DriveOfPath("1:\\"), std::nullopt);
  EXPECT_EQ(DriveOfPath("C"), std::nullopt);
  EXPECT_EQ(DriveOfPath(""), std::nullopt);
}

}  // namespace
}  // namespace kv
