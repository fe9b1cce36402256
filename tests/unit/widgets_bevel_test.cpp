#include "widgets/bevel.h"

#include <gtest/gtest.h>

#include "tests/support/widgets_fakes.h"

namespace kv {
namespace {

using test::ColumnOf;
using test::Filled;
using test::Grey;
using test::RowOf;

std::vector<Color> Greys(std::initializer_list<int> values) {
  std::vector<Color> out;
  for (int v : values)
    out.push_back(Grey(v));
  return out;
}

// On grey 200, each channel becomes ((200 - t) * m + 256 * t) / 256. Raised: left t 240 (m 0
// and 127: 240, 220), top t 255 (255, 227), right t 25 (m 255, 170, 85: 199, 141, 83), bottom
// t 0 (199, 132, 66).
TEST(SoftBevel, RaisedMasksForWidthTwo) {
  Bitmap image = Filled(40, 20, Grey(200));
  PaintSoftBevel(image, BevelKind::cbRaisedSoft, 2);
  std::vector<Color> middleRow(40, Grey(200));
  middleRow[0] = Grey(240);
  middleRow[1] = Grey(220);
  middleRow[36] = Grey(199);
  middleRow[37] = Grey(141);
  middleRow[38] = Grey(83);
  EXPECT_EQ(RowOf(image, 10), middleRow);
  std::vector<Color> middleColumn(20, Grey(200));
  middleColumn[0] = Grey(255);
  middleColumn[1] = Grey(227);
  middleColumn[16] = Grey(199);
  middleColumn[17] = Grey(132);
  middleColumn[18] = Grey(66);
  EXPECT_EQ(ColumnOf(image, 20), middleColumn);
}

// Lowered: left t 25 (25, 111), top t 0 (0, 99), right t 240 (200, 213, 226), bottom t 255
// (200, 218, 236).
TEST(SoftBevel, LoweredMasksForWidthTwo) {
  Bitmap image = Filled(40, 20, Grey(200));
  PaintSoftBevel(image, BevelKind::cbLoweredSoft, 2);
  std::vector<Color> middleRow(40, Grey(200));
  middleRow[0] = Grey(25);
  middleRow[1] = Grey(111);
  middleRow[37] = Grey(213);
  middleRow[38] = Grey(226);
  EXPECT_EQ(RowOf(image, 10), middleRow);
  std::vector<Color> middleColumn(20, Grey(200));
  middleColumn[0] = Grey(0);
  middleColumn[1] = Grey(99);
  middleColumn[17] = Grey(218);
  middleColumn[18] = Grey(236);
  EXPECT_EQ(ColumnOf(image, 20), middleColumn);
}

// The whole of a small raised bevel, corners included: the mitres decide which band shades a
// corner pixel fully, and later bands work on the earlier ones' result.
TEST(SoftBevel, RaisedCornersOnAnEightBySeven) {
  Bitmap image = Filled(8, 7, Grey(200));
  PaintSoftBevel(image, BevelKind::cbRaisedSoft, 2);
  const std::vector<std::vector<Color>> expected{
      Greys({255, 255, 255, 255, 254, 254, 254, 200}),
      Greys({240, 227, 227, 227, 226, 226, 83, 200}),
      Greys({240, 220, 200, 200, 199, 141, 83, 200}),
      Greys({239, 219, 199, 199, 198, 140, 82, 200}),
      Greys({239, 219, 132, 132, 132, 132, 82, 200}),
      Greys({239, 66, 66, 66, 66, 66, 66, 200}),
      Greys({200, 200, 200, 200, 200, 200, 200, 200}),
  };
  for (int y = 0; y < 7; ++y)
    EXPECT_EQ(RowOf(image, y), expected[y]) << "row " << y;
}

TEST(SoftBevel, WidthShrinksOnSmallHeights) {
  // Height 8 has room for (8 - 1) / 2 - 1 = 2 of the 5 pixels asked for.
  Bitmap image = Filled(40, 8, Grey(200));
  PaintSoftBevel(image, BevelKind::cbRaisedSoft, 5);
  const std::vector<Color> row = RowOf(image, 3);  // between the top and bottom bands
  EXPECT_EQ(std::vector<Color>(row.begin(), row.begin() + 3), Greys({240, 220, 200}));
  EXPECT_EQ(std::vector<Color>(row.end() - 5, row.end()), Greys({200, 199, 141, 83, 200}));
}

TEST(SoftBevel, NoBevelBelowWidthTwo) {
  struct Case {
    int width, height, bevel;
  };
  for (const Case& c : {Case{40, 4, 2}, Case{4, 40, 2}, Case{40, 20, 1}, Case{40, 6, 5}}) {
    Bitmap image = Filled(c.width, c.height, Grey(200));
    PaintSoftBevel(image, BevelKind::cbRaisedSoft, c.bevel);
    for (int y = 0; y < c.height; ++y)
      EXPECT_EQ(RowOf(image, y), std::vector<Color>(c.width, Grey(200)))
          << c.width << "x" << c.height << " bevel " << c.bevel;
  }
  // Height 5 still takes a width of 2.
  Bitmap image = Filled(40, 5, Grey(200));
  PaintSoftBevel(image, BevelKind::cbRaisedSoft, 2);
  EXPECT_EQ(image.pixel(20, 0), Grey(255));
}

TEST(SoftBevel, OtherKindsDrawNothing) {
  for (BevelKind kind : {BevelKind::cbNone, BevelKind::cbRaisedHard, BevelKind::cbLoweredHard}) {
    Bitmap image = Filled(10, 10, Grey(200));
    PaintSoftBevel(image, kind, 2);
    EXPECT_EQ(RowOf(image, 0), std::vector<Color>(10, Grey(200)));
  }
}

}  // namespace
}  // namespace kv
