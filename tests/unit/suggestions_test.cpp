#include "app/suggestions.h"

#include <algorithm>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace kv {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(Suggestions, OnlyALocalAbsolutePathHasAFolderToList) {
  EXPECT_EQ(SuggestionFolder("C:\\"), "C:\\");
  EXPECT_EQ(SuggestionFolder("c:\\Windows\\Sys"), "c:\\Windows\\");
  EXPECT_EQ(SuggestionFolder("D:\\Мои документы\\"), "D:\\Мои документы\\");
  for (const char* typed : {"", "C:", "C:Windows\\", "notepad", "Windows\\Sys",
                            "\\\\server\\share\\", "\\Windows\\", "1:\\x"}) {
    EXPECT_THAT(SuggestionFolder(typed), IsEmpty()) << typed;
  }
}

TEST(Suggestions, UserNamesComeFirstThenShortcutsEachOnce) {
  const std::vector<std::string> names =
      NameSuggestions({"мойдок|C:\\doc.txt||", "compman|C:\\my\\cm.exe", "|nameless", "мойдок|x"});
  ASSERT_GE(names.size(), 2u);
  EXPECT_EQ(names[0], "мойдок");
  EXPECT_EQ(names[1], "compman");
  EXPECT_EQ(std::count(names.begin(), names.end(), "compman"), 1);  // also a shortcut
  EXPECT_EQ(std::count(names.begin(), names.end(), ""), 0);
  // Every shortcut is there: 65 rows, one of them already given by the user.
  EXPECT_EQ(names.size(), 2u + 65u - 1u);
}

TEST(Suggestions, FolderEntriesAreFullPathsWithoutDotsOrHiddenOnes) {
  EXPECT_THAT(FolderSuggestions("C:\\Data\\",
                                {{"."}, {".."}, {"Отчёт.txt"}, {"desktop.ini", true}, {"Проекты"}}),
              ElementsAre("C:\\Data\\Отчёт.txt", "C:\\Data\\Проекты"));
  std::vector<FolderEntry> many(kMaxFolderSuggestions + 10, FolderEntry{"f"});
  EXPECT_EQ(FolderSuggestions("C:\\", many).size(), kMaxFolderSuggestions);
}

}  // namespace
}  // namespace kv
