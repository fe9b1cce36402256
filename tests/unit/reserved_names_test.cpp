#include "dialogs/reserved_names.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

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
