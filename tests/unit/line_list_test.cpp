#include "toolkit/line_list.h"
#include "tests/support/cp1251_codec.h"

#include <gtest/gtest.h>

#include <cstring>
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

struct ParseCase {
  std::string bytes;
  Lines lines;
};

// Names the case in test listings.
void PrintTo(const ParseCase& c, std::ostream* os) {
  *os << testing::PrintToString(c.bytes);
}

class ParseLineList : public testing::TestWithParam<ParseCase> {};

TEST_P(ParseLineList, CutsAtEveryLineEndForm) {
  EXPECT_EQ(parseLineList(GetParam().bytes), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Breaks, ParseLineList,
    testing::Values(ParseCase{"", {}}, ParseCase{"a", {"a"}}, ParseCase{"a\r\n", {"a"}},
                    ParseCase{"a\n", {"a"}}, ParseCase{"a\r", {"a"}},
                    ParseCase{"a\r\nb", {"a", "b"}},
                    ParseCase{"a\nb\rc\r\nd", {"a", "b", "c", "d"}},
                    // An empty line in the middle is an entry; only CR LF is one break.
                    ParseCase{"a\r\n\r\nb\r\n", {"a", "", "b"}},
                    ParseCase{"a\n\nb", {"a", "", "b"}}, ParseCase{"a\r\rb", {"a", "", "b"}},
                    ParseCase{"a\rb\rc\r", {"a", "b", "c"}}, ParseCase{"a\n\rb", {"a", "", "b"}},
                    ParseCase{"\r\n", {""}}, ParseCase{"\r\n\r\n", {"", ""}},
                    ParseCase{" a \r\n\tb", {" a ", "\tb"}},
                    // Reading stops at the first NUL byte.
                    ParseCase{"a\r\nb\0c\r\nd"s, {"a", "b"}}, ParseCase{"\0a\r\n"s, {}},
                    ParseCase{"a\r\n\0"s, {"a"}}, ParseCase{"a\r\0\nb"s, {"a"}}));

TEST(ParseLineList, EveryLineLengthAndBreakForm) {
  // Lengths around the eight-byte steps of the scan, each break form, with and without a break
  // after the last line.
  for (const char* lineEnd : {"\r\n", "\n", "\r"}) {
    for (size_t length = 0; length <= 20; ++length) {
      Lines lines;
      std::string bytes;
      for (size_t i = 0; i < 4; ++i) {
        lines.push_back(std::string(length + i, static_cast<char>('a' + i)));
        bytes += lines.back() + lineEnd;
      }
      ASSERT_EQ(parseLineList(bytes), lines) << length << " " << testing::PrintToString(lineEnd);
      bytes.resize(bytes.size() - std::strlen(lineEnd));
      ASSERT_EQ(parseLineList(bytes), lines) << length << " " << testing::PrintToString(lineEnd);
    }
  }
}

TEST(ParseLineList, KeepsVeryLongLinesWhole) {
  const std::string megabyte(1 << 20, 'x');
  EXPECT_EQ(parseLineList(megabyte), Lines{megabyte});
  const std::string longLine(70000, 'y');
  EXPECT_EQ(parseLineList("a\r\n" + longLine + "\r\nb"), (Lines{"a", longLine, "b"}));
}

TEST(FormatLineList, EndsEveryLineWithCrLf) {
  EXPECT_EQ(formatLineList({}), "");
  EXPECT_EQ(formatLineList({""}), "\r\n");
  EXPECT_EQ(formatLineList({"calc", "", "notepad"}), "calc\r\n\r\nnotepad\r\n");
}

TEST(FormatLineList, ParseGivesTheSameLinesBack) {
  for (const Lines& lines :
       {Lines{}, Lines{""}, Lines{"", ""}, Lines{"a", "", "b", ""}, Lines{"x|y||", " blank "}}) {
    EXPECT_EQ(parseLineList(formatLineList(lines)), lines);
  }
}

TEST(ReadLineList, ConvertsTheCodePageAndStopsAtNul) {
  TemporaryFolder dir;
  PosixFileSystem fs;
  Cp1251Codec codec;
  const std::string path = dir.File("history.cmh");
  // "Пуск" in Windows-1251, then a Cyrillic byte after the NUL that must not be read.
  WriteBytes(path, "\xCF\xF3\xF1\xEA|x\r\ncalc\nlast\0\xC0\r\nmore"s);
  EXPECT_EQ(readLineList(fs, codec, path), (Lines{"Пуск|x", "calc", "last"}));
}

TEST(ReadLineList, ConvertsMixedTextWhateverTheLengthOfItsAsciiRuns) {
  TemporaryFolder dir;
  PosixFileSystem fs;
  Cp1251Codec codec;
  const std::string path = dir.File("command.cms");
  // ASCII runs of every length around the 8-byte steps of the conversion.
  for (size_t run = 0; run <= 20; ++run) {
    const std::string ascii(run, 'a');
    WriteBytes(path, ascii + "\xC6" + ascii + "\xB8\xE6\r\n" + ascii + "z");
    const Lines expected = {ascii + "Ж" + ascii + "ёж", ascii + "z"};
    ASSERT_EQ(readLineList(fs, codec, path), expected) << run;
    writeLineList(fs, codec, path, expected);
    EXPECT_EQ(ReadBytes(path), ascii + "\xC6" + ascii + "\xB8\xE6\r\n" + ascii + "z\r\n");
  }
}

TEST(ReadLineList, MissingFileRaisesTheOpenError) {
  TemporaryFolder dir;
  PosixFileSystem fs;
  Cp1251Codec codec;
  const std::string path = dir.File("absent.cmh");
  try {
    readLineList(fs, codec, path);
    FAIL() << "expected FileError";
  } catch (const FileError& e) {
    EXPECT_EQ(std::string(e.what()).rfind("Cannot open file \"" + path + "\". ", 0), 0u);
  }
}

TEST(WriteLineList, RewritesAnLfOnlyFileWithCrLf) {
  TemporaryFolder dir;
  PosixFileSystem fs;
  Cp1251Codec codec;
  const std::string path = dir.File("history.cmh");
  WriteBytes(path, "calc\nnotepad\n");
  writeLineList(fs, codec, path, readLineList(fs, codec, path));
  EXPECT_EQ(ReadBytes(path), "calc\r\nnotepad\r\n");
}

TEST(WriteLineList, EmptyListGivesAZeroByteFile) {
  TemporaryFolder dir;
  PosixFileSystem fs;
  Cp1251Codec codec;
  const std::string path = dir.File("history.cmh");
  WriteBytes(path, "old\r\n");
  writeLineList(fs, codec, path, {});
  EXPECT_TRUE(fs.fileExists(path));
  EXPECT_EQ(ReadBytes(path), "");
}

}  // namespace
}  // namespace kv
