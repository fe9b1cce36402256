#include "widgets/gradient.h"

#include <gtest/gtest.h>

#include <string>

#include "toolkit/errors.h"
#include "tests/support/widgets_fakes.h"

namespace kv {
namespace {

using test::Filled;
using test::Grey;
using test::RowOf;

constexpr char kBarDefault[] =
    "16777215;12632256;22;0;0;12632256;12632256;54;0;0;12632256;16777215;23;0;0;16777215;"
    "16777215;0;0;0";
constexpr Color kMarker = 0x123456;

TEST(ParseGradientData, ReadsTheBarsDefaultString) {
  const std::vector<GradientSegment> expected{{0xFFFFFF, 0xC0C0C0, 22, 0, 0},
                                              {0xC0C0C0, 0xC0C0C0, 54, 0, 0},
                                              {0xC0C0C0, 0xFFFFFF, 23, 0, 0},
                                              {0xFFFFFF, 0xFFFFFF, 0, 0, 0}};
  EXPECT_EQ(ParseGradientData(kBarDefault), expected);
}

struct WordCountCase {
  const char* text;
  size_t segments;
};

class ParseGradientWordCount : public testing::TestWithParam<WordCountCase> {};

TEST_P(ParseGradientWordCount, CountsWholeGroupsOfFive) {
  EXPECT_EQ(ParseGradientData(GetParam().text).size(), GetParam().segments);
}

INSTANTIATE_TEST_SUITE_P(Words, ParseGradientWordCount,
                         testing::Values(WordCountCase{"", 0}, WordCountCase{";;;", 0},
                                         WordCountCase{"1;2;3;4", 0}, WordCountCase{"1;2;3;4;5", 1},
                                         WordCountCase{"1;2;3;4;5;6;7;8;9", 1},
                                         WordCountCase{"1;2;3;4;5;6;7;8;9;10", 2},
                                         WordCountCase{";;1;;2;;3;;4;;5;;", 1}));

TEST(ParseGradientData, EmptyFieldsOnlySeparate) {
  const std::vector<GradientSegment> expected{{1, 2, 3, 4, 0}};
  EXPECT_EQ(ParseGradientData(";1;;2;;;3;4;;5;"), expected);
}

TEST(ParseGradientData, KeepsTheLowEightBitsOfTheSize) {
  const auto segments = ParseGradientData("0;0;300;0;0;0;0;-1;0;0;0;0;256;0;0");
  ASSERT_EQ(segments.size(), 3u);
  EXPECT_EQ(segments[0].SizePercent, 44);
  EXPECT_EQ(segments[1].SizePercent, 255);
  EXPECT_EQ(segments[2].SizePercent, 0);
}

TEST(ParseGradientData, NeverReadsTheFifthWord) {
  const std::vector<GradientSegment> expected{{-1, 2147483647, 3, -2147483647 - 1, 0}};
  EXPECT_EQ(ParseGradientData("-1;+2147483647;3;-2147483648;anything"), expected);
}

TEST(ParseGradientData, BadWordThrowsAndKeepsTheEarlierSegments) {
  std::vector<GradientSegment> segments;
  try {
    ParseGradientData("1;2;3;4;0;5;6;x7;8;0;9;9;9;9;0", segments);
    FAIL() << "no error";
  } catch (const ConvertError& e) {
    EXPECT_STREQ(e.what(), "'x7' is not a valid integer value");
  }
  const std::vector<GradientSegment> expected{{1, 2, 3, 4, 0}, {}, {}};
  EXPECT_EQ(segments, expected);
}

TEST(ParseGradientData, RejectsWhatIsNotADecimal32BitInteger) {
  for (const char* word : {"2147483648", "-2147483649", "1.5", "0x10", "+", " 5", "5 ", "$FF"}) {
    const std::string text = std::string("0;0;") + word + ";0;0";
    EXPECT_THROW(ParseGradientData(text), ConvertError) << word;
  }
}

// The bar's default string on 61 rows: rows 0-13 white to silver, 13-45 silver, 45-59 silver to
// white (steps of exactly 4.5, so every other row is a tie), 59-60 white.
TEST(PaintGradient, BarDefaultOn61Rows) {
  Bitmap image = Filled(7, 61, kMarker);
  PaintGradient(image, {0, 0, 7, 61}, ParseGradientData(kBarDefault));

  std::vector<int> expected = {255, 250, 245, 240, 236, 231, 226, 221, 216, 211, 207, 202, 197};
  expected.resize(45, 192);  // rows 13..44; row 13 is the silver band's first row
  for (int v : {192, 196, 201, 206, 210, 214, 219, 224, 228, 232, 237, 242, 246, 250})
    expected.push_back(v);  // rows 45..58
  expected.push_back(255);  // row 59, the closing white band
  expected.push_back(255);
  ASSERT_EQ(expected.size(), 61u);
  for (int y = 0; y < 61; ++y)
    EXPECT_EQ(RowOf(image, y), std::vector<Color>(7, Grey(expected[y]))) << "row " << y;
}

TEST(PaintGradient, RedToGreenOverHalfThenGreen) {
  Bitmap image = Filled(3, 100, kMarker);
  PaintGradient(image, {0, 0, 3, 100}, ParseGradientData("255;65280;50;0;0;65280;65280;0;0;0"));
  EXPECT_EQ(RowOf(image, 0), std::vector<Color>(3, rgb(255, 0, 0)));
  EXPECT_EQ(RowOf(image, 1), std::vector<Color>(3, rgb(250, 5, 0)));  // 249.9 and 5.1
  for (int y = 50; y < 100; ++y)
    EXPECT_EQ(RowOf(image, y), std::vector<Color>(3, rgb(0, 255, 0))) << "row " << y;
}

TEST(PaintGradient, LeftToRightShadesColumnsOfEveryRow) {
  // Black to white over 11 columns: steps of 25.5, ties to even.
  Bitmap image = Filled(11, 4, kMarker);
  PaintGradient(image, {0, 0, 11, 4}, ParseGradientData("0;16777215;100;1;0"));
  std::vector<Color> expected;
  for (int v : {0, 26, 51, 76, 102, 128, 153, 178, 204, 230, 255})
    expected.push_back(Grey(v));
  for (int y = 0; y < 4; ++y)
    EXPECT_EQ(RowOf(image, y), expected) << "row " << y;
}

TEST(PaintGradient, OtherDirectionOfTheFirstSegmentPaintsNothing) {
  for (const char* text : {"0;255;50;2;0;0;255;0;0;0", "0;255;50;-1;0;0;255;0;1;0"}) {
    Bitmap image = Filled(5, 5, kMarker);
    PaintGradient(image, {0, 0, 5, 5}, ParseGradientData(text));
    for (int y = 0; y < 5; ++y)
      EXPECT_EQ(RowOf(image, y), std::vector<Color>(5, kMarker)) << text;
  }
}

TEST(PaintGradient, EmptyListPaintsNothing) {
  Bitmap image = Filled(4, 4, kMarker);
  PaintGradient(image, {0, 0, 4, 4}, {});
  EXPECT_EQ(RowOf(image, 2), std::vector<Color>(4, kMarker));
}

TEST(PaintGradient, StaysInsideTheRectangle) {
  // A first band of 150 % would reach row 6 of the image; it stops at the rectangle's last row.
  Bitmap image = Filled(8, 8, kMarker);
  PaintGradient(image, {2, 1, 6, 5}, ParseGradientData("255;255;150;0;0;0;0;0;0;0"));
  for (int y = 0; y < 8; ++y) {
    std::vector<Color> expected(8, kMarker);
    if (y >= 1 && y <= 4)
      std::fill(expected.begin() + 2, expected.begin() + 6, rgb(255, 0, 0));
    EXPECT_EQ(RowOf(image, y), expected) << "row " << y;
  }
}

TEST(PaintGradient, RectangleIsLimitedToTheImage) {
  Bitmap image = Filled(4, 3, kMarker);
  PaintGradient(image, {-5, -5, 50, 50}, ParseGradientData("65280;65280;0;0;0"));
  for (int y = 0; y < 3; ++y)
    EXPECT_EQ(RowOf(image, y), std::vector<Color>(4, rgb(0, 255, 0)));
  PaintGradient(image, {-5, -5, 50, 50}, ParseGradientData("255;255;0;1;0"));
  for (int y = 0; y < 3; ++y)
    EXPECT_EQ(RowOf(image, y), std::vector<Color>(4, rgb(255, 0, 0)));
}

TEST(PaintGradient, ZeroSizedBandsAreSkipped) {
  // Bands of 0 % before the last one paint nothing; the last fills everything.
  Bitmap image = Filled(2, 10, kMarker);
  PaintGradient(image, {0, 0, 2, 10}, ParseGradientData("255;255;0;0;0;65280;65280;0;0;0"));
  for (int y = 0; y < 10; ++y)
    EXPECT_EQ(RowOf(image, y), std::vector<Color>(2, rgb(0, 255, 0)));
}

TEST(BlendWithColor, HalfAndHalfRoundsTiesToEven) {
  Bitmap image = Filled(3, 2, rgb(10, 11, 200));
  image.setPixel(1, 1, rgb(13, 255, 0));
  BlendWithColor(image, {0, 0, 2, 1}, 50, rgb(0, 0, 255));
  EXPECT_EQ(RowOf(image, 0), std::vector<Color>(3, rgb(5, 6, 228)));  // 5.5 -> 6, 227.5 -> 228
  EXPECT_EQ(RowOf(image, 1), (std::vector<Color>{rgb(5, 6, 228), rgb(6, 128, 128),
                                                 rgb(5, 6, 228)}));  // 6.5 -> 6, 127.5 -> 128
}

TEST(BlendWithColor, InclusiveRectangleLimitedToTheImage) {
  Bitmap image = Filled(4, 4, Grey(100));
  BlendWithColor(image, {2, -3, 9, 1}, 70, Grey(0));
  EXPECT_EQ(RowOf(image, 0), (std::vector<Color>{Grey(100), Grey(100), Grey(70), Grey(70)}));
  EXPECT_EQ(RowOf(image, 1), (std::vector<Color>{Grey(100), Grey(100), Grey(70), Grey(70)}));
  EXPECT_EQ(RowOf(image, 2), std::vector<Color>(4, Grey(100)));
}

}  // namespace
}  // namespace kv
