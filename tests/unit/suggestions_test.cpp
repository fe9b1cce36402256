#include "app/suggestions.h"

#include <algorithm>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "interpreter/dispatch.h"

namespace kv {
namespace {

using ::testing::ElementsAre;

std::optional<std::string> Environment(std::string_view name) {
  if (name == "windir")
    return "C:\\Windows";
  if (name == "LOGONSERVER")
    return "\\\\DC1";
  return std::nullopt;
}

struct QueryCase {
  const char* typed;
  const char* typedFolder = nullptr;  // null: nothing to list
  const char* folder = nullptr;
  const char* namePrefix = nullptr;
};

TEST(Suggestions, APathIsCompletedFromItsLocalFolderAsTyped) {
  const QueryCase cases[] = {
      {"C:\\", "C:\\", "C:\\", ""},
      {"c:\\Windows\\Sy", "c:\\Windows\\", "c:\\Windows\\", "Sy"},
      {"D:\\Мои документы\\От", "D:\\Мои документы\\", "D:\\Мои документы\\", "От"},
      {"notepad|C:\\no", "notepad|C:\\", "C:\\", "no"},
      {"a\\b|C:\\x|y", nullptr},  // the parameters begin at the first bar
      {"\"C:\\Program Files\\Mi", "\"C:\\Program Files\\", "C:\\Program Files\\", "Mi"},
      {"notepad|\"C:\\", "notepad|\"C:\\", "C:\\", ""},
      {"%windir%\\sy", "%windir%\\", "C:\\Windows\\", "sy"},
      {"%nosuch%\\x", nullptr},
      {"%LOGONSERVER%\\share\\", nullptr},
      {"\\\\server\\share\\", nullptr},
      {"notepad", nullptr},
      {"Windows\\Sys", nullptr},
      {"\\Windows\\", nullptr},
      {"C:", nullptr},
      {"C:Windows\\", nullptr},
      {"1:\\x", nullptr},
      {"C:\\*.txt", nullptr},
      {"C:\\a?", nullptr},
      {"\"C:\\Program Files\"\\x", nullptr},
  };
  for (const QueryCase& c : cases) {
    const std::optional<PathQuery> query = ParsePathQuery(c.typed, Environment);
    ASSERT_EQ(query.has_value(), c.typedFolder != nullptr) << c.typed;
    if (!query)
      continue;
    EXPECT_EQ(query->typedFolder, c.typedFolder) << c.typed;
    EXPECT_EQ(query->folder, c.folder) << c.typed;
    EXPECT_EQ(query->namePrefix, c.namePrefix) << c.typed;
  }
}

TEST(Suggestions, HistoryThenNamesThenFolderEntriesEachOnceWithoutCase) {
  const std::vector<std::string> history = {"regedit", "calc", "REGISTRY", "C:\\Windows\\win.ini"};
  const std::vector<std::string> names = {"registry", "regedit", "reboot"};
  EXPECT_THAT(MakeSuggestions("re", history, names, nullptr, {}, true).items,
              ElementsAre("regedit", "REGISTRY", "registry", "reboot"));
  EXPECT_THAT(MakeSuggestions("Рег", {"регистр", "Регион", "рекорд"}, {}, nullptr, {}, true).items,
              ElementsAre("регистр", "Регион"));
  EXPECT_TRUE(MakeSuggestions("", history, names, nullptr, {}, true).items.empty());

  const std::optional<PathQuery> path = ParsePathQuery("C:\\Wi", Environment);
  const SuggestionList list = MakeSuggestions("C:\\Wi", history, names, &*path,
                                              {"Program Files", "Windows", "wintemp"}, false);
  EXPECT_THAT(list.items, ElementsAre("C:\\Windows\\win.ini", "C:\\Windows", "C:\\wintemp"));
  EXPECT_FALSE(list.complete);  // the listing left entries out
}

TEST(Suggestions, TheLimitKeepsTheEarlierSourcesAndSaysSomethingWasLeftOut) {
  std::vector<std::string> history;
  for (size_t i = 0; i < kMaxSuggestions; ++i)
    history.push_back("cmd" + std::to_string(i));
  const SuggestionList full = MakeSuggestions("cm", history, {"cmdname"}, nullptr, {}, true);
  EXPECT_EQ(full.items.size(), kMaxSuggestions);
  EXPECT_EQ(full.items.front(), "cmd0");
  EXPECT_FALSE(full.complete);
  history.pop_back();
  const SuggestionList fits =
      MakeSuggestions("cm", history, {"cmdname", "cmd0"}, nullptr, {}, true);
  EXPECT_EQ(fits.items.back(), "cmdname");
  EXPECT_TRUE(fits.complete);
}

TEST(Suggestions, NamesAreTheUsersThenTheDispatchersWordsThenShortcutsEachOnce) {
  const std::vector<std::string> names = NameSuggestions(
      {"мойдок|C:\\doc.txt||", "compman|C:\\my\\cm.exe", "|nameless", "мойдок|x", "help|x"});
  ASSERT_GE(names.size(), 4u);
  EXPECT_THAT(std::vector<std::string>(names.begin(), names.begin() + 4),
              ElementsAre("мойдок", "compman", "help", "options"));
  EXPECT_EQ(std::count(names.begin(), names.end(), "compman"), 1);  // also a shortcut
  EXPECT_EQ(std::count(names.begin(), names.end(), "clearhistory"), 1);
  EXPECT_EQ(std::count(names.begin(), names.end(), ""), 0);
  // Every word and shortcut is there; "help" and "compman" were already given by the user.
  EXPECT_EQ(names.size(), 3u + DispatchWords().size() + 65u - 2u);
}

TEST(Suggestions, HiddenAndDotEntriesAreNotOffered) {
  EXPECT_TRUE(IsOfferedEntry("Отчёт.txt", false));
  EXPECT_FALSE(IsOfferedEntry("desktop.ini", true));
  EXPECT_FALSE(IsOfferedEntry(".", false));
  EXPECT_FALSE(IsOfferedEntry("..", false));
}

TEST(Suggestions, AListHoldsTheTextsThatGoOnInTheSameFolder) {
  EXPECT_TRUE(SuggestionsCover("C:\\Wi", "C:\\Wind"));
  EXPECT_TRUE(SuggestionsCover("no", "notepad"));
  EXPECT_FALSE(SuggestionsCover("C:\\Wi", "C:\\Windows\\"));  // another folder
  EXPECT_FALSE(SuggestionsCover("notepad", "notepad|C"));     // the parameters begin
  EXPECT_FALSE(SuggestionsCover("not", "no"));                // shorter: more may match
  EXPECT_FALSE(SuggestionsCover("no", "No"));
  EXPECT_FALSE(SuggestionsCover("", "a"));
}

}  // namespace
}  // namespace kv
