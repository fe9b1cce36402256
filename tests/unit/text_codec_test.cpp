#include "toolkit/text_codec.h"
#include "tests/support/cp1251_codec.h"

#include "tests/support/system_codepage.h"

#include <gtest/gtest.h>

#include <string>

namespace kv {
namespace {

// glibc's own Windows-1251 table is the reference for every byte.

TEST(Cp1251Codec, EveryAssignedByteMatchesTheSystemTableBothWays) {
  Cp1251Codec codec;
  for (int b = 1; b < 256; ++b) {
    if (b == 0x98)
      continue;  // unassigned in the code page
    const std::string ansi(1, static_cast<char>(b));
    const std::string expected = test::IconvConvert("UTF-8", "CP1251", ansi);
    EXPECT_EQ(codec.toUtf8(ansi), expected) << "byte " << b;
    EXPECT_EQ(codec.fromUtf8(expected), ansi) << "byte " << b;
  }
}

TEST(Cp1251Codec, RussianTextRoundTrips) {
  Cp1251Codec codec;
  const std::string text = "Введите команду (help - справка) Ёё №";
  const std::string ansi = codec.fromUtf8(text);
  EXPECT_EQ(ansi.substr(0, 2), "\xC2\xE2");  // one byte per letter
  EXPECT_EQ(codec.toUtf8(ansi), text);
}

TEST(Cp1251Codec, CharactersOutsideTheCodePageBecomeQuestionMarks) {
  Cp1251Codec codec;
  EXPECT_EQ(codec.fromUtf8("a\xE4\xB8\xAD"
                           "b\xF0\x9F\x98\x80"),
            "a?b?");
  EXPECT_EQ(codec.fromUtf8("\xFF"), "?");  // malformed UTF-8
  // No look-alikes: "é" and "ü" are not "e" and "u".
  EXPECT_EQ(codec.fromUtf8("probé.exe ü"), "prob?.exe ?");
  EXPECT_FALSE(codec.holds(U'é'));
  EXPECT_FALSE(codec.holds(U'\x1F600'));
  EXPECT_TRUE(codec.holds(U'ж'));
  EXPECT_TRUE(codec.holds(U'?'));
  EXPECT_TRUE(codec.holds(U'|'));
}

}  // namespace
}  // namespace kv
