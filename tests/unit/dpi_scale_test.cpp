#include "toolkit/dpi_scale.h"

#include <gtest/gtest.h>

#include "dialogs/about_picture.h"
#include "resources/resources.h"

namespace kv {
namespace {

struct ScaleCase {
  int value;
  int dpi;
  int expected;
};

class ScaleToDpiRule : public testing::TestWithParam<ScaleCase> {};

// MulDiv(value, dpi, 96): the nearest integer, halves away from zero.
TEST_P(ScaleToDpiRule, RoundsAsMulDivDoes) {
  const ScaleCase& c = GetParam();
  EXPECT_EQ(ScaleToDpi(c.value, c.dpi), c.expected) << c.value << " at " << c.dpi;
  EXPECT_EQ(DpiScale(c.dpi)(c.value), c.expected);
  EXPECT_EQ(ScaleToDpi(-c.value, c.dpi), -c.expected);  // symmetric about zero
}

INSTANTIATE_TEST_SUITE_P(
    DesignedSizes, ScaleToDpiRule,
    testing::Values(
        // At 96 DPI nothing changes.
        ScaleCase{61, 96, 61}, ScaleCase{437, 96, 437}, ScaleCase{1, 96, 1},
        // 150 %: the bar 61 high, its field 8 from the left keeping 84 on its right, the buttons
        // 32 wide, the slide's step 5; a dialog 535 wide; fonts 11, 13 and 17 pixels high.
        ScaleCase{61, 144, 92}, ScaleCase{8, 144, 12}, ScaleCase{84, 144, 126},
        ScaleCase{32, 144, 48}, ScaleCase{5, 144, 8}, ScaleCase{535, 144, 803},
        ScaleCase{11, 144, 17}, ScaleCase{13, 144, 20}, ScaleCase{17, 144, 26},
        // 125 % and 200 %.
        ScaleCase{61, 120, 76}, ScaleCase{5, 120, 6}, ScaleCase{2, 120, 3}, ScaleCase{61, 192, 122},
        ScaleCase{5, 192, 10}, ScaleCase{11, 192, 22}));

TEST(DpiScale, LinesStayAtLeastOnePixelAndRectanglesScaleEdgeByEdge) {
  EXPECT_EQ(DpiScale(72).Line(), 1);  // 0.75 would round to 1 anyway; 0.4 would not
  EXPECT_EQ(DpiScale(40).Line(), 1);
  EXPECT_EQ(DpiScale(40)(1), 0);
  EXPECT_EQ(DpiScale(96).Line(), 1);
  EXPECT_EQ(DpiScale(120).Line(), 1);
  EXPECT_EQ(DpiScale(144).Line(), 2);
  EXPECT_EQ(DpiScale(192).Line(), 2);
  EXPECT_EQ(DpiScale(144).Line(2), 3);
  EXPECT_EQ(DpiScale(144).Line(0), 0);

  // "Ok" and "X" of the bar: 48 x 48 at 144 DPI; neighbours that touch keep touching.
  EXPECT_EQ(DpiScale(144)(Rect{360, 12, 392, 44}), (Rect{540, 18, 588, 66}));
  EXPECT_EQ(DpiScale(144)(Rect{400, 12, 432, 44}), (Rect{600, 18, 648, 66}));
  EXPECT_EQ(DpiScale(144)(Rect{0, 0, 1, 1}).right, DpiScale(144)(Rect{1, 0, 2, 1}).left);
  EXPECT_EQ(DpiScale(144)(Size{497, 270}), (Size{746, 405}));

  const Font scaled = DpiScale(144)(Font{.face = "Arial Black", .height = 17, .bold = true});
  EXPECT_EQ(scaled, (Font{.face = "Arial Black", .height = 26, .bold = true}));
  // A system that gives no DPI is taken at the design's.
  EXPECT_EQ(DpiScale(0), DpiScale());
}

// The About picture stays the stretched 48-pixel emblem at 96 DPI and is drawn from the large
// emblem, shrunk, above it.
TEST(AboutPicture, ComesFromTheEmblemMadeForTheScale) {
  EXPECT_EQ(AboutEmblemSource(DpiScale(96)).data(), resources::kEmblemPng.data());
  EXPECT_EQ(AboutEmblemSource(DpiScale(120)).data(), resources::kEmblemLargePng.data());
  EXPECT_EQ(AboutEmblemSource(DpiScale(144)).data(), resources::kEmblemLargePng.data());
  EXPECT_EQ(AboutPicture(DpiScale(96)),
            StretchRgba(DecodePng(resources::kEmblemPng).image, 65, 65));
  const RgbaImage large = AboutPicture(DpiScale(144));
  EXPECT_EQ(large.width, 98);
  EXPECT_EQ(large.height, 98);
  EXPECT_EQ(DecodePng(resources::kEmblemLargePng).image.width, 192);
}

}  // namespace
}  // namespace kv
