#include "widgets/color_select.h"

#include <gtest/gtest.h>

#include "tests/support/widgets_fakes.h"

namespace kv {
namespace {

using test::FakeSystemColors;
using test::FakeTextRenderer;
using test::Grey;
using test::RowOf;

// The options window's pickers: 49 x 25, swatch 32 x 12 right of an empty caption, spacing 5.
ColorSelectFace OptionsPicker() {
  ColorSelectFace face;
  face.Layout = ButtonLayout::blGlyphRight;
  face.Spacing = 5;
  face.ColorValue = rgb(1, 2, 3);
  return face;
}

TEST(ColorSelectSwatch, OptionsWindowPlacement) {
  ColorSelectFace face = OptionsPicker();
  EXPECT_EQ(ColorSelectSwatchRect({49, 25}, face, 0), (Rect{8, 6, 40, 18}));
  face.pressed = true;
  EXPECT_EQ(ColorSelectSwatchRect({49, 25}, face, 0), (Rect{9, 7, 41, 19}));
}

TEST(ColorSelectSwatch, CaptionAndSpacingShiftTheSwatchRight) {
  ColorSelectFace face = OptionsPicker();
  face.caption = "Ab";
  EXPECT_EQ(ColorSelectSwatchRect({49, 25}, face, 14).left, 18);  // (49 - 32 + 5 + 14) / 2
  face.ShowCaption = false;
  EXPECT_EQ(ColorSelectSwatchRect({49, 25}, face, 0).left, 8);
  face.ShowCaption = true;
  face.ImgWidth = 0;
  EXPECT_EQ(ColorSelectSwatchRect({49, 25}, face, 14).left, 31);  // no spacing without a swatch
}

class ColorSelectPaint : public testing::Test {
 protected:
  ColorSelectPaint() : style(Grey(200)) {
    style.Background().Gradient().SetPercent(100);
    style.HotBackground().SetColor(Grey(100));
  }
  Bitmap Paint(const ColorSelectFace& face) {
    Bitmap image(49, 25);
    PaintColorSelect(image, face, style, text, FakeSystemColors());
    return image;
  }
  ControlStyle style;
  FakeTextRenderer text;
};

TEST_F(ColorSelectPaint, FocusedPickerIsHotWithDotsAroundTheSwatch) {
  ColorSelectFace face = OptionsPicker();
  const Bitmap plain = Paint(face);
  face.focused = true;
  EXPECT_TRUE(face.Hot());
  const Bitmap focused = Paint(face);
  // The swatch 8,6-40,18 grown by 2: a black dot at the corner and every third pixel on, its
  // white companion above and left of it.
  EXPECT_EQ(focused.pixel(6, 4), clBlack);
  EXPECT_EQ(focused.pixel(9, 4), clBlack);
  EXPECT_EQ(focused.pixel(5, 3), clWhite);
  EXPECT_EQ(focused.pixel(6, 19), clBlack);
  EXPECT_NE(plain.pixel(6, 4), clBlack);
  EXPECT_NE(focused.pixel(20, 2), plain.pixel(20, 2));  // the hot face
  EXPECT_EQ(focused.pixel(20, 10), rgb(1, 2, 3));
}

TEST_F(ColorSelectPaint, SwatchFillsThirtyOneByEleven) {
  const Bitmap image = Paint(OptionsPicker());
  std::vector<Color> row(49, Grey(200));
  row[0] = Grey(240);  // raised bevel, width 2
  row[1] = Grey(220);
  std::fill(row.begin() + 8, row.begin() + 39, rgb(1, 2, 3));
  row[45] = Grey(199);
  row[46] = Grey(141);
  row[47] = Grey(83);
  for (int y : {6, 10, 16})
    EXPECT_EQ(RowOf(image, y), row) << "row " << y;
  EXPECT_EQ(image.pixel(20, 5), Grey(200));
  EXPECT_EQ(image.pixel(20, 17), Grey(200));
  EXPECT_TRUE(text.calls.empty());
}

TEST_F(ColorSelectPaint, SystemColourIsResolved) {
  ColorSelectFace face = OptionsPicker();
  face.ColorValue = clBtnFace;
  EXPECT_EQ(Paint(face).pixel(20, 10), FakeSystemColors::kBtnFace);
}

TEST_F(ColorSelectPaint, HotAndHeldFaces) {
  ColorSelectFace face = OptionsPicker();
  face.mouseOver = true;
  Bitmap image = Paint(face);
  EXPECT_EQ(image.pixel(2, 10), Grey(184));  // hot grey 100, left band of 5, m 102
  EXPECT_EQ(image.pixel(5, 10), Grey(100));

  face.pressed = true;
  image = Paint(face);
  EXPECT_EQ(image.pixel(0, 10), Grey(25));  // lowered, width 5 / 4 + 1 = 2
  EXPECT_EQ(image.pixel(1, 10), Grey(62));
  EXPECT_EQ(image.pixel(8, 10), Grey(100));
  EXPECT_EQ(image.pixel(9, 7), rgb(1, 2, 3));
  EXPECT_EQ(image.pixel(39, 17), rgb(1, 2, 3));
  EXPECT_EQ(image.pixel(40, 17), Grey(100));
}

}  // namespace
}  // namespace kv
