// The Windows-1251 codec on texts long enough for its block-at-a-time paths: every byte at
// every position of a block, long mixed texts, and malformed UTF-8 around block boundaries.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>

#include "toolkit/text_codec.h"
#include "tests/support/cp1251_codec.h"

#include "tests/support/system_codepage.h"

namespace kv {
namespace {

std::string Utf8FromCp1251(const std::string& ansi) {
  return test::IconvConvert("UTF-8", "CP1251", ansi);
}

TEST(Cp1251CodecBlocks, EveryByteAtEveryPositionOfALongText) {
  const Cp1251Codec codec;
  for (int b = 0x80; b <= 0xFF; ++b) {
    if (b == 0x98)
      continue;  // unassigned: the system maps it to U+0098, glibc refuses it
    for (size_t at = 0; at < 40; ++at) {
      std::string ansi(48, 'a');
      ansi[at] = static_cast<char>(b);
      ansi[47 - at] = static_cast<char>(0xE6);  // a Russian letter elsewhere in the text
      const std::string utf8 = Utf8FromCp1251(ansi);
      ASSERT_EQ(codec.toUtf8(ansi), utf8) << "byte " << b << " at " << at;
      ASSERT_EQ(codec.fromUtf8(utf8), ansi) << "byte " << b << " at " << at;
    }
  }
}

TEST(Cp1251CodecBlocks, EveryLengthWithARussianLetterAndASignAnywhere) {
  // Short texts go through the ends of the block loops; 0x85 (an ellipsis) takes three bytes.
  const Cp1251Codec codec;
  for (size_t length = 0; length <= 40; ++length) {
    for (size_t at = 0; at < std::max<size_t>(length, 1); ++at) {
      std::string ansi(length, 'q');
      if (length > 0) {
        ansi[at] = static_cast<char>(0xD6);
        ansi[length - 1 - at] = static_cast<char>(0x85);
      }
      const std::string utf8 = Utf8FromCp1251(ansi);
      ASSERT_EQ(codec.toUtf8(ansi), utf8) << length << " " << at;
      ASSERT_EQ(codec.fromUtf8(utf8), ansi) << length << " " << at;
    }
  }
}

TEST(Cp1251CodecBlocks, LongMixedTextMatchesTheSystemTableBothWays) {
  const Cp1251Codec codec;
  std::string ansi;
  std::uint32_t state = 7;
  for (size_t i = 0; i < 200000; ++i) {
    state = state * 1103515245u + 12345u;
    // Runs of ASCII, of Russian letters and of signs, as real lines have them.
    const unsigned kind = (state >> 28) % 4;
    const unsigned value = (state >> 16) & 0xFF;
    unsigned char byte = kind == 0   ? 0xC0 + value % 64
                         : kind == 1 ? 0x80 + value % 64
                                     : 1 + value % 127;
    if (byte == 0x98)
      byte = 0x99;
    ansi += static_cast<char>(byte);
  }
  const std::string utf8 = Utf8FromCp1251(ansi);
  EXPECT_EQ(codec.toUtf8(ansi), utf8);
  EXPECT_EQ(codec.fromUtf8(utf8), ansi);
}

TEST(Cp1251CodecBlocks, UnassignedByteRoundTripsInALongText) {
  const Cp1251Codec codec;
  const std::string ansi = std::string(20, 'x') + "\x98" + std::string(20, 'y');
  const std::string utf8 = std::string(20, 'x') + "\xC2\x98" + std::string(20, 'y');
  EXPECT_EQ(codec.toUtf8(ansi), utf8);
  EXPECT_EQ(codec.fromUtf8(utf8), ansi);
}

TEST(Cp1251CodecBlocks, MalformedAndForeignCharactersAroundBlockEdges) {
  const Cp1251Codec codec;
  struct Case {
    std::string utf8;
    std::string ansi;
  };
  // Each replacement is one '?' per character the decoder gives up on.
  const Case cases[] = {
      {"\xD0", "?"},  // a lead byte cut off by the end of the text
      {"\xD0"
       "A",
       "?A"},                            // a lead byte without its continuation
      {"\x80", "?"},                     // a continuation byte alone
      {"\xE4\xB8\xAD", "?"},             // a character outside the code page
      {"\xF0\x9F\x98\x80", "?"},         // a character beyond the 16-bit range
      {"\xD0\x96\xD1\x91", "\xC6\xB8"},  // Ж ё
  };
  for (const Case& c : cases) {
    for (size_t at = 0; at < 34; ++at) {
      const std::string before(at, 'a');
      const std::string after(34 - at, 'b');
      ASSERT_EQ(codec.fromUtf8(before + c.utf8 + after), before + c.ansi + after)
          << testing::PrintToString(c.utf8) << " at " << at;
    }
  }
}

}  // namespace
}  // namespace kv
