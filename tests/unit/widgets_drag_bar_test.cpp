#include "widgets/drag_bar.h"

#include <gtest/gtest.h>

#include "tests/support/widgets_fakes.h"

namespace kv {
namespace {

using test::FakeSystemColors;
using test::FakeTextRenderer;

constexpr char kDialogBar[] =
    "8388608;16711680;49;0;0;16711680;8388608;50;0;0;8388608;8388608;0;0;0";

class DragBarTest : public testing::Test {
 protected:
  DragBarTest() : background(kDialogColor) {
    background.Gradient().SetData(kDialogBar);
    face.caption = "Настройки";
    face.font = {"MS Sans Serif", 11, true};
    face.fontColor = clWhite;
  }
  Bitmap Paint() {
    Bitmap image(194, 20);
    PaintDragBar(image, face, background, text, FakeSystemColors());
    return image;
  }

  BackgroundSettings background;
  DragBarFace face;
  FakeTextRenderer text;
};

TEST_F(DragBarTest, CaptionBoxLeavesTheBevelAtTheSides) {
  EXPECT_EQ(DragBarCaptionBox({497, 20}, face, 13), (Rect{2, 3, 495, 16}));
  face.bevelInner = BevelKind::cbLoweredSoft;
  face.borderWidth = 1;
  EXPECT_EQ(DragBarCaptionBox({497, 20}, face, 13), (Rect{5, 3, 492, 16}));
  face.bevelOuter = face.bevelInner = BevelKind::cbNone;
  EXPECT_EQ(DragBarCaptionBox({497, 21}, face, 13), (Rect{1, 4, 496, 17}));
}

// Navy to blue over rows 0-9 and back over rows 9-19, 70 % over red 64, green 128, blue 128
// (red 19.2, green 38.4 and blue b * 0.7 + 38.4), then the raised bevel of width 2 (top rows
// 0-1, bottom rows 16-18). Rows whose blend falls on a tie are left out.
TEST_F(DragBarTest, GradientSeventyPercentOverThePlainColourWithBevel) {
  const Bitmap image = Paint();
  struct Row {
    int y;
    Color expected;
  };
  for (const Row& row :
       {Row{0, rgb(255, 255, 255)}, Row{1, rgb(137, 147, 196)}, Row{2, rgb(19, 38, 148)},
        Row{3, rgb(19, 38, 157)}, Row{4, rgb(19, 38, 167)}, Row{5, rgb(19, 38, 178)},
        Row{9, rgb(19, 38, 217)}, Row{10, rgb(19, 38, 208)}, Row{16, rgb(18, 37, 154)},
        Row{18, rgb(6, 12, 45)}, Row{19, rgb(19, 38, 128)}})
    EXPECT_EQ(image.pixel(100, row.y), row.expected) << "row " << row.y;
}

TEST_F(DragBarTest, CaptionCentredInTheBox) {
  Paint();
  ASSERT_EQ(text.calls.size(), 1u);
  EXPECT_EQ(text.calls[0].text, "Настройки");
  EXPECT_EQ(text.calls[0].box, (Rect{2, 4, 192, 15}));  // "W" is 11 high in the fake
  EXPECT_EQ(text.calls[0].rgb, clWhite);
  EXPECT_EQ(text.calls[0].flags, kTextSingleLine | kTextCenter);
}

TEST_F(DragBarTest, DisabledCaptionIsEmbossed) {
  face.enabled = false;
  Paint();
  ASSERT_EQ(text.calls.size(), 2u);
  EXPECT_EQ(text.calls[0].rgb, FakeSystemColors::kBtnHighlight);
  EXPECT_EQ(text.calls[0].box, (Rect{3, 5, 193, 16}));
  EXPECT_EQ(text.calls[1].rgb, FakeSystemColors::kBtnShadow);
  EXPECT_EQ(text.calls[1].box, (Rect{2, 4, 192, 15}));
}

}  // namespace
}  // namespace kv
