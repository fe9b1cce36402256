#include "dialogs/reserved_names.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "interpreter/built_in_words.h"
#include "interpreter/shortcuts.h"

namespace kv {
namespace {

TEST(ReservedNames, NinetySixEntriesWithOdbcTwice) {
  const auto& names = ReservedNames();
  ASSERT_EQ(names.size(), 96u);
  EXPECT_EQ(std::set<std::string_view>(names.begin(), names.end()).size(), 95u);
  EXPECT_EQ(names[29], "odbc");
  EXPECT_EQ(names[93], "odbc");
  EXPECT_EQ(std::count(names.begin(), names.end(), "odbc"), 2);
  EXPECT_EQ(names.front(), "help");
  EXPECT_EQ(names[10], "logoff");
  EXPECT_EQ(names[55], "telnet");
  EXPECT_EQ(names[56], "ping");
  EXPECT_EQ(names[67], "mailto:");
  EXPECT_EQ(names.back(), "bde");
}

TEST(ReservedNames, CoverEveryCommandTheDispatcherTakesFirstButThreeBuiltIns) {
  for (const char* word : {"help", "options", "quit", "exit", "commed", "shutdown", "poweroff",
                           "reboot", "restart", "forced", "logoff", "ping", "telnet"}) {
    EXPECT_TRUE(IsReservedName(word)) << word;
  }
  for (const ShortcutRow& row : SystemShortcuts())
    EXPECT_TRUE(IsReservedName(row.name)) << row.name;
  // Accepted as user names although the dispatcher never reaches them.
  for (const char* word : {"about", "hide", "clearhistory"})
    EXPECT_FALSE(IsReservedName(word)) << word;
}

// The list is made from the built-in word table: its reserved rows lead, in table order, and
// its other rows are free names; the fixed rest holds every shortcut and network word.
TEST(ReservedNames, FollowTheBuiltInWordTable) {
  const auto names = ReservedNames();
  size_t lead = 0;
  for (const BuiltInWord& word : BuiltInWords()) {
    if (word.reserved == Reserved::no) {
      EXPECT_FALSE(IsReservedName(word.name)) << word.name;
      continue;
    }
    ASSERT_LT(lead, names.size());
    EXPECT_EQ(names[lead++], word.name);
  }
  const auto rest = names.subspan(lead);
  for (const BuiltInWord& word : BuiltInWords())
    EXPECT_EQ(std::ranges::count(rest, word.name), 0) << word.name;
  for (const ShortcutRow& row : SystemShortcuts())
    EXPECT_EQ(std::ranges::count(rest, row.name), row.name == "odbc" ? 2 : 1) << row.name;
  for (std::string_view word : {"ping", "telnet"})
    EXPECT_EQ(std::ranges::count(rest, word), 1) << word;
}

TEST(IsReservedName, ComparesExactlyWithCase) {
  EXPECT_TRUE(IsReservedName("odbc"));
  EXPECT_TRUE(IsReservedName("mailto:"));
  for (const char* name :
       {"Help", "HELP", "help ", " help", "hel", "helpme", "Odbc", "mailto", "", "ac 97"}) {
    EXPECT_FALSE(IsReservedName(name)) << name;
  }
}

}  // namespace
}  // namespace kv
