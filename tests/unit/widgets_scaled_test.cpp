// The drawn controls at 150 % and 200 %: every designed pixel of their geometry scaled by the
// display-scale rule, lines a scaled line wide.
#include <gtest/gtest.h>

#include "dialogs/folder_glyphs.h"
#include "tests/support/widgets_fakes.h"
#include "widgets/color_select.h"
#include "widgets/drag_bar.h"
#include "widgets/drawing.h"
#include "widgets/flat_button.h"
#include "widgets/push_button.h"
#include "widgets/track_bar.h"

namespace kv {
namespace {

using test::FakeSystemColors;
using test::FakeTextRenderer;
using test::Filled;
using test::Grey;

const DpiScale k150(144);
const DpiScale k200(192);

// A dialog button, 75 x 25 at 96 DPI, painted at 113 x 38 with the focus on it.
TEST(ScaledPushButton, CaptionInTheScaledFontAndMarginsWithTwoPixelFocusDots) {
  ControlStyle style(Grey(200));
  PushButtonFace state;
  state.caption = "Ок";  // 28 pixels in the fake
  state.font = {"MS Sans Serif", 11, false};
  state.focused = true;
  state.scale = k150;
  FakeTextRenderer text;
  Bitmap face(113, 38);
  PaintPushButton(face, state, style, text, FakeSystemColors(), {});

  ASSERT_EQ(text.calls.size(), 1u);
  EXPECT_EQ(text.calls[0].font.height, 17);
  // (113 - 28) / 2 less 2, (38 - 17) / 2; the right edge 3 beyond the text's.
  const Rect box{40, 10, 74, 28};
  EXPECT_EQ(text.calls[0].box, box);
  // The mark 2 pixels outside the box: 2 x 2 black dots every 5 pixels, their white companions
  // 2 pixels up and left; the right-hand dots end on the mark's right edge.
  for (const Point p : {Point{38, 8}, Point{39, 9}, Point{43, 8}, Point{75, 13}, Point{76, 14}})
    EXPECT_EQ(face.pixel(p.x, p.y), clBlack) << p.x << "," << p.y;
  for (const Point p : {Point{36, 6}, Point{37, 7}, Point{41, 6}})
    EXPECT_EQ(face.pixel(p.x, p.y), clWhite) << p.x << "," << p.y;
  EXPECT_NE(face.pixel(40, 8), clBlack);  // between two dots
}

TEST(ScaledGeometry, BarsTicksSwatchesAndFlatButtonsScaleTheirFixedPixels) {
  DragBarFace bar;
  bar.scale = k150;
  EXPECT_EQ(DragBarCaptionBox({300, 30}, bar, 17), (Rect{3, 6, 297, 23}));

  // Ticks 3 wide and 8 long, 3 pixels further below the channel.
  EXPECT_EQ(TrackBarTickRect({12, 8, 170, 30}, {12, 3, 27, 38}, 19, k150), (Rect{19, 39, 22, 47}));

  // The options window's picker at 74 x 38: swatch 48 x 18, filled 2 pixels short.
  ColorSelectFace picker;
  picker.Layout = ButtonLayout::blGlyphRight;
  picker.Spacing = 5;
  picker.ColorValue = rgb(1, 2, 3);
  picker.scale = k150;
  EXPECT_EQ(ColorSelectSwatchRect({74, 38}, picker, 0), (Rect{13, 10, 61, 28}));
  Bitmap image(74, 38);
  FakeTextRenderer text;
  PaintColorSelect(image, picker, ControlStyle(Grey(200)), text, FakeSystemColors());
  EXPECT_EQ(image.pixel(58, 25), rgb(1, 2, 3));
  EXPECT_NE(image.pixel(59, 25), rgb(1, 2, 3));
  EXPECT_NE(image.pixel(58, 26), rgb(1, 2, 3));

  // "Ok" pushed at 48 x 48: 3 pixels down instead of 2.
  const FlatButtonLayout at =
      LayOutFlatButton({48, 48}, {}, {20, 26}, true, PngButtonLayout::pbsImageRight, true, k150);
  EXPECT_EQ(at.text, (Point{14, 14}));
}

TEST(ScaledGeometry, FramesAndCornersAreALineWide) {
  Bitmap image = Filled(6, 6, Grey(128));
  DrawFrame(image, {0, 0, 6, 6}, clWhite, clBlack, 2);
  EXPECT_EQ(image.pixel(0, 2), clWhite);
  EXPECT_EQ(image.pixel(1, 2), clWhite);
  EXPECT_EQ(image.pixel(4, 2), clBlack);
  EXPECT_EQ(image.pixel(5, 2), clBlack);
  EXPECT_EQ(image.pixel(2, 2), Grey(128));

  EXPECT_EQ(SoftControlRegion({10, 8}, 2), (std::vector<Rect>{{2, 0, 8, 8}, {0, 2, 10, 6}}));
}

// Drawn for the scale, not enlarged: the closed folder's body, 1..16 x 4..14 at 96 DPI, is
// 2..32 x 8..28 at 200 % with a 2-pixel outline.
TEST(ScaledGeometry, FolderGlyphIsDrawnAtTheScale) {
  Bitmap image = Filled(36, 32, clWhite);
  PaintFolderGlyph(image, {0, 0}, false, k200);
  const Color outline = image.pixel(2, 20);
  const Color fill = image.pixel(4, 20);
  EXPECT_NE(outline, clWhite);
  EXPECT_NE(fill, outline);
  EXPECT_EQ(image.pixel(3, 20), outline);
  EXPECT_EQ(image.pixel(31, 20), outline);
  EXPECT_EQ(image.pixel(30, 20), outline);
  EXPECT_EQ(image.pixel(29, 20), fill);
  EXPECT_EQ(image.pixel(32, 20), clWhite);
  EXPECT_EQ(image.pixel(20, 27), outline);
  EXPECT_EQ(image.pixel(20, 28), clWhite);
  EXPECT_EQ(image.pixel(1, 20), clWhite);
}

}  // namespace
}  // namespace kv
