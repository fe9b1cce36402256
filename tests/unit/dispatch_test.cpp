#include "interpreter/dispatch.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "interpreter/built_in_words.h"
#include "tests/support/recording_host.h"
#include "toolkit/errors.h"

namespace kv {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

struct Dispatched {
  CommandState state;
  test::RecordingHost host;
  explicit Dispatched(std::string text, std::vector<std::string> commands = {}) {
    host.commands = std::move(commands);
    state.CurrentCommand = std::move(text);
  }
  std::vector<std::string>& Go() {
    ExecuteCommand(state, host);
    return host.log;
  }
};

struct NameCase {
  const char* typed;
  std::vector<std::string> expected;
};

class BuiltInNames : public ::testing::TestWithParam<NameCase> {};

TEST_P(BuiltInNames, RunTheirActionAndStayInHistory) {
  Dispatched run(GetParam().typed);
  EXPECT_EQ(run.Go(), GetParam().expected);
  EXPECT_TRUE(run.state.KeepInHistory);
}

INSTANTIATE_TEST_SUITE_P(
    Dispatch, BuiltInNames,
    ::testing::Values(NameCase{"help", {"help"}}, NameCase{"options", {"options"}},
                      NameCase{"about", {"about"}}, NameCase{"hide", {"hide"}},
                      NameCase{"quit", {"hide", "terminate"}},
                      NameCase{"exit", {"hide", "terminate"}}, NameCase{"commed", {"commed"}},
                      NameCase{"shutdown", {"session 4"}}, NameCase{"poweroff", {"session 2"}},
                      NameCase{"reboot", {"session 3"}}, NameCase{"restart", {"session 3"}},
                      NameCase{"forced", {"session 0"}}, NameCase{"logoff", {"session 1"}},
                      NameCase{"sertificates", {"open [certmgr.msc] [] []"}},
                      NameCase{"clockconfig", {"open [control] [timedate.cpl] []"}},
                      NameCase{"phoneconfig", {"open [control] [telephon.cpl] []", "hide"}},
                      NameCase{"admin", {"open [control admintools.cpl] [] []"}},
                      NameCase{"letter", {"open [mailto:] [] []"}}));

// Whole-text, case-sensitive comparison: these are not the built-in names, so they fall through
// to the user commands (none here) and the plain launch.
class NotBuiltInNames : public ::testing::TestWithParam<const char*> {};

TEST_P(NotBuiltInNames, FallThroughToThePlainLaunch) {
  const std::string typed = GetParam();
  Dispatched run(typed);
  EXPECT_THAT(run.Go(), ElementsAre("repaint", "open [" + typed + "] [] []"));
  EXPECT_TRUE(run.state.KeepInHistory);
}

INSTANTIATE_TEST_SUITE_P(Dispatch, NotBuiltInNames,
                         ::testing::Values("Help", "HELP", " help", "help ", "Shutdown",
                                           "Phoneconfig", "exit.", "clearhistory ", "commed2",
                                           "chkdsk", "telne", "pin"));

TEST(Dispatch, PingAndTelnetCompareOnlyTheirFirstCharacters) {
  {
    Dispatched run("ping host -n 1");
    EXPECT_THAT(run.Go(), ElementsAre("message ping/host -n 1", "open [ping] [host -n 1] []"));
  }
  {
    Dispatched run("ping");
    EXPECT_THAT(run.Go(), ElementsAre("message ping/", "open [ping] [] []"));
  }
  {
    // A word that only starts with "ping" is still a network command, before any user command.
    Dispatched run("pingtool.exe a|b", {"pingtool.exe a|b|x.exe||"});
    EXPECT_THAT(run.Go(), ElementsAre("message pingtool.exe/a|b", "open [pingtool.exe] [a|b] []"));
  }
  {
    Dispatched run("telnet example.org 23");
    EXPECT_THAT(run.Go(),
                ElementsAre("message telnet/example.org 23", "open [telnet] [example.org 23] []"));
    EXPECT_TRUE(run.state.KeepInHistory);
  }
}

TEST(Dispatch, BuiltInNamesShadowUserCommandsOfTheSameName) {
  Dispatched run("help", {"help|probe.exe|x|C:\\"});
  EXPECT_THAT(run.Go(), ElementsAre("help"));
  Dispatched shortcut("registry", {"registry|probe.exe||"});
  EXPECT_THAT(shortcut.Go(), ElementsAre("open [regedit] [] []"));
}

// Each word of the table runs its row's action and nothing else, before a stored user command
// and a shortcut of the same name; a word in other case goes on to the later stages.
TEST(Dispatch, EveryTableWordRunsItsActionAlone) {
  for (const BuiltInWord& word : BuiltInWords()) {
    const std::string name(word.name);
    Dispatched run(name, {name + "|probe.exe||"});
    CommandState state{name, true};
    test::RecordingHost alone;
    word.action(state, alone);
    EXPECT_EQ(run.Go(), alone.log) << name;
    EXPECT_EQ(run.state.KeepInHistory, state.KeepInHistory) << name;
    EXPECT_EQ(run.state.CurrentCommand, state.CurrentCommand) << name;
    EXPECT_EQ(FindBuiltInWord(name), &word) << name;

    std::string upper = name;
    upper[0] = static_cast<char>(upper[0] - 'a' + 'A');
    EXPECT_EQ(FindBuiltInWord(upper), nullptr) << upper;
  }
}

// The list of the dispatcher's own words (offered while typing) names only what it takes itself:
// none of them reaches the user commands (which repaint first) or the shell.
TEST(Dispatch, ItsOwnWordsAreAllTakenBeforeTheShortcutsAndUserCommands) {
  for (std::string_view word : DispatchWords()) {
    Dispatched run(std::string(word), {std::string(word) + "|probe.exe||"});
    for (const std::string& line : run.Go())
      EXPECT_TRUE(line != "repaint" && line.rfind("open ", 0) != 0) << word << ": " << line;
  }
}

TEST(Dispatch, EveryMatchingUserCommandStartsInStoreOrder) {
  Dispatched run("no", {"notepad|C:\\Windows\\notepad.exe|a.txt|C:\\Windows", "calc|calc.exe||",
                        "note|probe.exe|`|`"});
  EXPECT_THAT(run.Go(),
              ElementsAre("repaint", "open [C:\\Windows\\notepad.exe] [a.txt] [C:\\Windows]",
                          "open [probe.exe] [`] [`]"));
  EXPECT_TRUE(run.state.KeepInHistory);
}

TEST(Dispatch, TypedTextRunningIntoThePathStillMatches) {
  Dispatched run("calc|calc", {"calc|calc.exe|-x|"});
  EXPECT_THAT(run.Go(), ElementsAre("repaint", "open [calc.exe] [-x] []"));
}

TEST(Dispatch, TextLongerThanEveryLineGoesToThePlainLaunch) {
  Dispatched run("calc|calc.exe|-x|D:\\more", {"calc|calc.exe|-x|"});
  EXPECT_THAT(run.Go(), ElementsAre("repaint", "open [calc] [calc.exe|-x|D:\\more] []"));
}

TEST(Dispatch, PlainLaunchSplitsAtTheFirstBarOnly) {
  Dispatched run("probe.exe|a|b");
  EXPECT_THAT(run.Go(), ElementsAre("repaint", "open [probe.exe] [a|b] []"));
  Dispatched blank("notepad file.txt");  // a blank is no separator here
  EXPECT_THAT(blank.Go(), ElementsAre("repaint", "open [notepad file.txt] [] []"));
  Dispatched blanks("   ");
  EXPECT_THAT(blanks.Go(), ElementsAre("repaint", "open [   ] [] []"));
}

TEST(Dispatch, FailedPlainLaunchReportsInTheFieldAndIsNotKept) {
  struct Case {
    int result;
    std::string text;
  };
  for (const Case& c : {Case{2, "Команда не найдена (2)"}, Case{31, "Неизвестная ошибка (31)"},
                        Case{0, "Неизвестная ошибка (0)"}, Case{32, "Неизвестная ошибка (32)"}}) {
    Dispatched run("missing.exe");
    run.host.shellResult = [&](auto&, auto&) { return c.result; };
    EXPECT_THAT(run.Go(), ElementsAre("repaint", "open [missing.exe] [] []",
                                      "field " + c.text + " (selected)"));
    EXPECT_FALSE(run.state.KeepInHistory) << c.result;
    EXPECT_EQ(run.state.CurrentCommand, "missing.exe");
  }
  Dispatched success("ok.exe");
  success.host.shellResult = [](auto&, auto&) { return 33; };
  success.Go();
  EXPECT_TRUE(success.state.KeepInHistory);
}

// A name longer than a path never reaches the shell: plain, network and stored launches fail
// in the field and are not recorded. The limit counts UTF-16 units, so a Cyrillic name of 259
// letters (518 bytes) still goes through; a "\\?\" path may be longer.
TEST(Dispatch, FileNamesLongerThanAPathNeverReachTheShell) {
  const std::string longName(260, 'a');
  const std::string refused = "field Команда не найдена (2) (selected)";
  for (const std::string& typed : {longName, longName + "|x"}) {
    Dispatched run(typed);
    EXPECT_THAT(run.Go(), ElementsAre("repaint", refused));
    EXPECT_FALSE(run.state.KeepInHistory);
  }
  Dispatched ping("ping" + longName + " host");
  EXPECT_THAT(ping.Go(), ElementsAre(refused));
  Dispatched stored("s", {"s|" + longName + "||", "s2|short.exe||"});
  EXPECT_THAT(stored.Go(), ElementsAre("repaint", "open [short.exe] [] []", refused));
  EXPECT_FALSE(stored.state.KeepInHistory);

  std::string cyrillic;
  for (int i = 0; i < 259; ++i)
    cyrillic += "ж";
  for (const std::string& typed :
       {std::string(259, 'a'), cyrillic, "\\\\?\\C:\\" + std::string(1000, 'a')}) {
    Dispatched run(typed);
    EXPECT_THAT(run.Go(), ElementsAre("repaint", "open [" + typed + "] [] []"));
    EXPECT_TRUE(run.state.KeepInHistory);
  }
}

TEST(Dispatch, CommandEditorReloadsTheStoreOnlyAfterOk) {
  Dispatched cancelled("commed");
  EXPECT_THAT(cancelled.Go(), ElementsAre("commed"));
  EXPECT_TRUE(cancelled.state.KeepInHistory);
  Dispatched confirmed("commed");
  confirmed.host.editorResult = kModalResultOk;
  EXPECT_THAT(confirmed.Go(), ElementsAre("commed", "reload"));
}

TEST(Dispatch, ClearHistoryEmptiesCurrentCommandAndIsNotKept) {
  Dispatched run("clearhistory");
  EXPECT_THAT(run.Go(), ElementsAre("clear", "field Введите команду (help - справка)"));
  EXPECT_EQ(run.state.CurrentCommand, "");
  EXPECT_FALSE(run.state.KeepInHistory);
}

TEST(Dispatch, ClearHistoryWriteErrorStopsBeforeTheRestOfItsSteps) {
  Dispatched run("clearhistory");
  run.host.failClearHistory = true;
  EXPECT_THROW(run.Go(), FileError);
  EXPECT_THAT(run.host.log, IsEmpty());
  EXPECT_EQ(run.state.CurrentCommand, "clearhistory");
  EXPECT_TRUE(run.state.KeepInHistory);
}

TEST(Dispatch, EmptyStoreGoesStraightToThePlainLaunch) {
  Dispatched run("x");
  EXPECT_THAT(run.Go(), ElementsAre("repaint", "open [x] [] []"));
}

TEST(LaunchFailureText, UsesTheResultWithoutLeadingZeros) {
  EXPECT_EQ(LaunchFailureText(2), "Команда не найдена (2)");
  EXPECT_EQ(LaunchFailureText(5), "Неизвестная ошибка (5)");
}

}  // namespace
}  // namespace kv
