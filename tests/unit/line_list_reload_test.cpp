// Line lists read in pieces and into a list that already holds entries: files larger than the
// piece size, with line ends, Russian text and NUL bytes at and around the piece boundaries.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/posix_file_system.h"
#include "tests/support/cp1251_codec.h"
#include "toolkit/line_list.h"

namespace kv {
namespace {

using Lines = std::vector<std::string>;
using test::PosixFileSystem;
using test::ReadBytes;
using test::TemporaryFolder;
using test::WriteBytes;

// The reading rule, a byte at a time: a line ends at CR, LF or CR LF; the text ends at the
// first NUL; a last line without a line end counts; a final line end adds no entry.
Lines ReferenceLines(const std::string& utf8) {
  Lines lines;
  std::string line;
  bool open = false;
  for (size_t i = 0; i < utf8.size() && utf8[i] != '\0'; ++i) {
    const char c = utf8[i];
    if (c == '\r' || c == '\n') {
      lines.push_back(line);
      line.clear();
      open = false;
      if (c == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n')
        ++i;
    } else {
      line += c;
      open = true;
    }
  }
  if (open)
    lines.push_back(line);
  return lines;
}

class Generator {
 public:
  explicit Generator(std::uint32_t seed) : state_(seed) {}
  unsigned Next(unsigned n) {
    state_ = state_ * 1103515245u + 12345u;
    return (state_ >> 8) % n;
  }
  // Windows-1251 text of lines 0 to 300 bytes long: Latin, blanks, bars, Russian letters and
  // signs, with the three kinds of line end.
  std::string Text(size_t size) {
    std::string bytes;
    while (bytes.size() < size) {
      for (unsigned n = Next(300); n > 0; --n) {
        switch (Next(4)) {
          case 0:
            bytes += static_cast<char>(0xC0 + Next(64));
            break;
          case 1:
            bytes += "\x85\xB8|"[Next(3)];
            break;
          default:
            bytes += static_cast<char>('a' + Next(26));
        }
      }
      bytes += Next(3) == 0 ? "\r" : Next(2) == 0 ? "\n" : "\r\n";
    }
    return bytes;
  }

 private:
  std::uint32_t state_;
};

// Run with the codec that converts line by line (true) and with the one converted in pieces.
class LineListReload : public testing::TestWithParam<bool> {
 protected:
  const AnsiCodec& Codec() const {
    return GetParam() ? static_cast<const AnsiCodec&>(lineByLine_) : pieces_;
  }
  Lines Read(const std::string& bytes, Lines lines = {}) {
    WriteBytes(path_, bytes);
    readLineList(fs_, Codec(), path_, lines);
    return lines;
  }
  Lines Expected(const std::string& bytes) { return ReferenceLines(lineByLine_.toUtf8(bytes)); }

  TemporaryFolder dir_;
  PosixFileSystem fs_;
  Cp1251Codec lineByLine_;
  PiecewiseCp1251 pieces_;
  const std::string path_ = dir_.File("command.cms");
};

INSTANTIATE_TEST_SUITE_P(Conversions, LineListReload, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& info) {
                           return info.param ? "LineByLine" : "InPieces";
                         });

TEST_P(LineListReload, LargeMixedFilesReadLikeTheRule) {
  for (std::uint32_t seed = 1; seed <= 6; ++seed) {
    const std::string bytes = Generator(seed).Text(300000);
    ASSERT_EQ(Read(bytes), Expected(bytes)) << "seed " << seed;
  }
}

TEST_P(LineListReload, LineEndsAtThePieceBoundary) {
  // The first line end at or after 64 KiB ends the first piece; place each kind of line end,
  // and an empty line, just before, on and just after that offset.
  const size_t kPiece = detail::kPieceSize;
  for (const std::string lineEnd : {"\r\n", "\r", "\n", "\r\n\r\n", "\r\r", "\n\r"}) {
    for (size_t at = kPiece - 3; at <= kPiece + 3; ++at) {
      std::string bytes(at, 'a');
      bytes[at / 2] = '\n';
      bytes[at - 1] = static_cast<char>(0xC6);  // Ж right before the line end
      bytes += lineEnd + "\xEA\xEE\xED\xE5\xF6|last";
      ASSERT_EQ(Read(bytes), Expected(bytes)) << testing::PrintToString(lineEnd) << " at " << at;
      ASSERT_EQ(Read(bytes + lineEnd), Expected(bytes + lineEnd))
          << testing::PrintToString(lineEnd) << " at " << at;
    }
  }
}

TEST_P(LineListReload, AnyPieceSizeGivesTheSameLines) {
  for (std::uint32_t seed = 11; seed <= 14; ++seed) {
    std::string bytes = Generator(seed).Text(3000);
    if (seed == 14)
      bytes[2000] = '\0';
    for (size_t piece = 0; piece <= 70; ++piece) {
      Lines lines = {"stale"};
      detail::parseAnsiLineList(bytes, Codec(), piece, lines);
      ASSERT_EQ(lines, Expected(bytes)) << "seed " << seed << " piece " << piece;
      ASSERT_EQ(detail::formatAnsiLineList(Codec(), lines, piece),
                Codec().fromUtf8(formatLineList(lines)))
          << "seed " << seed << " piece " << piece;
    }
  }
}

TEST_P(LineListReload, NulInALaterPieceEndsTheText) {
  std::string bytes = Generator(9).Text(200000);
  for (size_t at : {size_t{70000}, size_t{140000}, bytes.size() - 1}) {
    std::string withNul = bytes;
    withNul[at] = '\0';
    ASSERT_EQ(Read(withNul), Expected(withNul)) << at;
  }
}

TEST_P(LineListReload, ALineLongerThanAPieceStaysWhole) {
  std::string longLine;
  for (int i = 0; i < 50000; ++i)
    longLine += "\xCF\xF3\xF1\xEA ";  // "Пуск "
  const std::string bytes = "first\r\n" + longLine + "\r\nlast";
  const Lines lines = Read(bytes);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[1].size(), 50000u * 9);
  EXPECT_EQ(lines, Expected(bytes));
}

TEST_P(LineListReload, ReplacesWhateverTheListHeld) {
  const Lines longer = {"a", "b", "c", "d", "e", std::string(100, 'x')};
  EXPECT_EQ(Read("one\r\n\xC4\xE0\r\n", longer), (Lines{"one", "Да"}));
  EXPECT_EQ(Read("1\r\n2\r\n3\r\n4\r\n", Lines{"old"}), (Lines{"1", "2", "3", "4"}));
  EXPECT_EQ(Read("", longer), Lines{});
  // Entries that were longer or shorter than the new lines end up exactly the new lines.
  EXPECT_EQ(Read("s\r\n" + std::string(300, 'y') + "\r\n", Lines{std::string(500, 'z'), "q"}),
            (Lines{"s", std::string(300, 'y')}));
}

TEST_P(LineListReload, UnreadableFileLeavesTheListAlone) {
  Lines lines = {"kept"};
  EXPECT_ANY_THROW(readLineList(fs_, Codec(), dir_.File("absent.cms"), lines));
  EXPECT_EQ(lines, Lines{"kept"});
}

TEST(FormatAnsiLineList, ConvertsEveryPieceOfALongList) {
  const Cp1251Codec codec;
  Lines lines;
  std::string expected;
  for (int i = 0; i < 20000; ++i) {
    // Every third line Russian, so that pieces of ASCII alone and mixed pieces alternate.
    const std::string ansi = i % 3 == 0 ? "\xCE\xF2\xF7\xB8\xF2 " + std::to_string(i)
                                        : "C:\\Temp\\file" + std::to_string(i) + ".txt|/q";
    lines.push_back(codec.toUtf8(ansi));
    expected += ansi + "\r\n";
  }
  EXPECT_EQ(formatAnsiLineList(codec, lines), expected);
  EXPECT_EQ(formatAnsiLineList(codec, {}), "");
}

TEST(FormatAnsiLineList, WrittenFileReadsBackTheSameLines) {
  TemporaryFolder dir;
  PosixFileSystem fs;
  const Cp1251Codec codec;
  const std::string path = dir.File("history.cmh");
  const Lines lines = ReferenceLines(codec.toUtf8(Generator(4).Text(250000)));
  writeLineList(fs, codec, path, lines);
  EXPECT_EQ(readLineList(fs, codec, path), lines);
  EXPECT_EQ(ReadBytes(path), codec.fromUtf8(formatLineList(lines)));
}

}  // namespace
}  // namespace kv
