#include "interpreter/command_store.h"
#include "tests/support/cp1251_codec.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/posix_file_system.h"
#include "toolkit/errors.h"

namespace kv {
namespace {

using namespace std::string_literals;
using Lines = std::vector<std::string>;
using test::PosixFileSystem;
using test::ReadBytes;
using test::TemporaryFolder;
using test::WriteBytes;

// A store file that exists but is locked or denied to us.
class LockedFileSystem : public PosixFileSystem {
 public:
  std::string readFile(const std::string& path, size_t) override {
    throw FileError(CannotOpenFileMessage(path, "Access is denied"));
  }
  void writeNewFile(const std::string&, std::string_view, const std::string& reported) override {
    throw FileError(CannotCreateFileMessage(reported, "Access is denied"));
  }
};

struct EntryCase {
  std::string line;
  CommandEntry entry;
};

// Names the case in test listings.
void PrintTo(const EntryCase& c, std::ostream* os) {
  *os << testing::PrintToString(c.line);
}

class SplitEntryLineRows : public testing::TestWithParam<EntryCase> {};

TEST_P(SplitEntryLineRows, GivesTheFourFields) {
  const CommandEntry got = SplitEntryLine(GetParam().line, '|');
  const CommandEntry& want = GetParam().entry;
  EXPECT_EQ(got.name, want.name);
  EXPECT_EQ(got.path, want.path);
  EXPECT_EQ(got.parameters, want.parameters);
  EXPECT_EQ(got.workingFolder, want.workingFolder);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, SplitEntryLineRows,
    testing::Values(EntryCase{"np|C:\\Windows\\notepad.exe|x.txt|C:\\Windows",
                              {"np", "C:\\Windows\\notepad.exe", "x.txt", "C:\\Windows"}},
                    EntryCase{"np|notepad||", {"np", "notepad", "", ""}},
                    EntryCase{"np", {"np", "", "", ""}},
                    EntryCase{"np|notepad", {"np", "notepad", "", ""}},
                    EntryCase{"", {"", "", "", ""}}, EntryCase{"|||", {"", "", "", ""}},
                    EntryCase{"|x", {"", "x", "", ""}},
                    // Separators after the third are dropped and the pieces run together.
                    EntryCase{"a|b|c|d|e", {"a", "b", "c", "de"}},
                    EntryCase{"a|b|c|d|e||f", {"a", "b", "c", "def"}},
                    EntryCase{"file=x|a=b|c=d|=", {"file=x", "a=b", "c=d", "="}},
                    EntryCase{"блокнот|notepad|`|`", {"блокнот", "notepad", "`", "`"}}));

TEST(SplitEntryLine, UsesTheSeparatorItIsGiven) {
  const CommandEntry entry = SplitEntryLine("a b|c d", ' ');
  EXPECT_EQ(entry.name, "a");
  EXPECT_EQ(entry.path, "b|c");
  EXPECT_EQ(entry.parameters, "d");
}

struct OnceCase {
  std::string text;
  char separator;
  std::string head;
  std::string tail;
};

// Names the case in test listings.
void PrintTo(const OnceCase& c, std::ostream* os) {
  *os << testing::PrintToString(c.text) << " at '" << c.separator << "'";
}

class SplitOnceRows : public testing::TestWithParam<OnceCase> {};

TEST_P(SplitOnceRows, CutsAtTheFirstSeparatorOnly) {
  const auto [head, tail] = SplitOnce(GetParam().text, GetParam().separator);
  EXPECT_EQ(head, GetParam().head);
  EXPECT_EQ(tail, GetParam().tail);
}

INSTANTIATE_TEST_SUITE_P(Texts, SplitOnceRows,
                         testing::Values(OnceCase{"notepad|a.txt", '|', "notepad", "a.txt"},
                                         OnceCase{"prog|a|b", '|', "prog", "a|b"},
                                         OnceCase{"prog||b", '|', "prog", "|b"},
                                         OnceCase{"|x", '|', "", "x"}, OnceCase{"x|", '|', "x", ""},
                                         OnceCase{"notepad a.txt", '|', "notepad a.txt", ""},
                                         OnceCase{"", '|', "", ""},
                                         OnceCase{"a=b|c=d", '|', "a=b", "c=d"},
                                         OnceCase{"ping host -t 5", ' ', "ping", "host -t 5"},
                                         OnceCase{"ping", ' ', "ping", ""},
                                         OnceCase{"ping ", ' ', "ping", ""},
                                         OnceCase{"pingus  x", ' ', "pingus", " x"}));

TEST(ComposeEntryLine, AlwaysWritesThreeSeparatorsAndSplitsBack) {
  const CommandEntry entries[] = {{"np", "notepad", "", ""},
                                  {" a ", "C:\\x y\\z.exe", "-a=1 -b", "C:\\x y"},
                                  {"", "", "", ""},
                                  {"n", "", "", "`"}};
  const std::string lines[] = {"np|notepad||", " a |C:\\x y\\z.exe|-a=1 -b|C:\\x y", "|||",
                               "n|||`"};
  for (size_t i = 0; i < std::size(entries); ++i) {
    EXPECT_EQ(ComposeEntryLine(entries[i]), lines[i]);
    const CommandEntry back = SplitEntryLine(lines[i], '|');
    EXPECT_EQ(back.name, entries[i].name);
    EXPECT_EQ(back.path, entries[i].path);
    EXPECT_EQ(back.parameters, entries[i].parameters);
    EXPECT_EQ(back.workingFolder, entries[i].workingFolder);
  }
}

TEST(LoadCommandStore, MissingFileLeavesTheListAlone) {
  TemporaryFolder dir;
  PosixFileSystem fs;
  Cp1251Codec codec;
  Lines lines = {"kept|x||"};
  EXPECT_FALSE(LoadCommandStore(fs, codec, dir.File("command.cms"), lines));
  EXPECT_EQ(lines, Lines{"kept|x||"});
}

TEST(LoadCommandStore, ReplacesTheListWithTheFileInFileOrder) {
  TemporaryFolder dir;
  PosixFileSystem fs;
  Cp1251Codec codec;
  const std::string path = dir.File("command.cms");
  WriteBytes(path, "z|zz||\n\n\xE1|b|`|`\ra|x||\0ignored\r\n"s);
  Lines lines = {"old|y||", "older|y||"};
  EXPECT_TRUE(LoadCommandStore(fs, codec, path, lines));
  EXPECT_EQ(lines, (Lines{"z|zz||", "", "б|b|`|`", "a|x||"}));
}

TEST(LoadCommandStore, EmptyFileEmptiesTheList) {
  TemporaryFolder dir;
  PosixFileSystem fs;
  Cp1251Codec codec;
  const std::string path = dir.File("command.cms");
  WriteBytes(path, "");
  Lines lines = {"old|y||"};
  EXPECT_TRUE(LoadCommandStore(fs, codec, path, lines));
  EXPECT_TRUE(lines.empty());
}

TEST(LoadCommandStore, UnreadableFileIsReportedAndTheListKept) {
  TemporaryFolder dir;
  LockedFileSystem fs;
  Cp1251Codec codec;
  const std::string path = dir.File("command.cms");
  WriteBytes(path, "a|b||\r\n");
  Lines lines = {"old|y||"};
  try {
    LoadCommandStore(fs, codec, path, lines);
    FAIL() << "expected FileError";
  } catch (const FileError& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot open file \"" + path + "\". Access is denied");
  }
  EXPECT_EQ(lines, Lines{"old|y||"});
}

TEST(SaveCommandStore, WritesCrLfAfterEveryLineInTheCodePage) {
  TemporaryFolder dir;
  PosixFileSystem fs;
  Cp1251Codec codec;
  const std::string path = dir.File("command.cms");
  SaveCommandStore(fs, codec, path, {"a|x||", "", "б|y|p|d"});
  EXPECT_EQ(ReadBytes(path), "a|x||\r\n\r\n\xE1|y|p|d\r\n");
  SaveCommandStore(fs, codec, path, {});
  EXPECT_TRUE(fs.fileExists(path));
  EXPECT_EQ(ReadBytes(path), "");
}

TEST(SaveCommandStore, FailureIsReportedAndTheOldFileKept) {
  TemporaryFolder dir;
  LockedFileSystem fs;
  Cp1251Codec codec;
  const std::string path = dir.File("command.cms");
  WriteBytes(path, "a|b||\r\n");
  try {
    SaveCommandStore(fs, codec, path, {"new|x||"});
    FAIL() << "expected FileError";
  } catch (const FileError& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot create file \"" + path + "\". Access is denied");
  }
  EXPECT_EQ(ReadBytes(path), "a|b||\r\n");
}

struct MatchCase {
  std::string typed;
  std::vector<size_t> rows;
};

// Names the case in test listings.
void PrintTo(const MatchCase& c, std::ostream* os) {
  *os << testing::PrintToString(c.typed);
}

class MatchingUserCommandsRows : public testing::TestWithParam<MatchCase> {};

const Lines kStore = {"calc|C:\\calc.exe||", "notepad|C:\\np.exe|`|", "note|C:\\n.exe||",
                      "Notes|C:\\N.exe||", "np|notepad||"};

TEST_P(MatchingUserCommandsRows, StartsEveryLineThatBeginsWithTheText) {
  EXPECT_EQ(MatchingUserCommands(kStore, GetParam().typed), GetParam().rows);
}

INSTANTIATE_TEST_SUITE_P(Typed, MatchingUserCommandsRows,
                         testing::Values(MatchCase{"calc", {0}}, MatchCase{"ca", {0}},
                                         // Two names share the start: both, in store order.
                                         MatchCase{"note", {1, 2}}, MatchCase{"n", {1, 2, 4}},
                                         MatchCase{"Note", {3}}, MatchCase{"notepad", {1}},
                                         // The text may run on past the name into the path.
                                         MatchCase{"notepad|C:\\np", {1}}, MatchCase{"calc|", {0}},
                                         MatchCase{"calc|C:\\calc.exe||", {0}},
                                         // Longer than the line, a blank, a capital: no match.
                                         MatchCase{"calc|C:\\calc.exe|||", {}},
                                         MatchCase{"calc ", {}}, MatchCase{" calc", {}},
                                         MatchCase{"CALC", {}}, MatchCase{"", {}}));

TEST(MatchingUserCommands, EmptyStoreMatchesNothing) {
  EXPECT_TRUE(MatchingUserCommands({}, "calc").empty());
}

}  // namespace
}  // namespace kv
