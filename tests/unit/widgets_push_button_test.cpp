#include "widgets/push_button.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "tests/support/widgets_fakes.h"

namespace kv {
namespace {

using test::FakeSystemColors;
using test::FakeTextRenderer;
using test::Filled;
using test::Grey;

struct CaptionCase {
  Size button;
  Size text;
  bool pressed;
  Rect expected;
};

class PushButtonCaptionRect : public testing::TestWithParam<CaptionCase> {};

TEST_P(PushButtonCaptionRect, CentresWithTheFixedMargins) {
  const CaptionCase& c = GetParam();
  EXPECT_EQ(PlacePushButtonCaption(c.button, c.text, c.pressed), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PushButtonCaptionRect,
    testing::Values(CaptionCase{{75, 25}, {14, 13}, false, {29, 6, 47, 19}},
                    CaptionCase{{75, 25}, {14, 13}, true, {30, 7, 48, 20}},
                    CaptionCase{{75, 25}, {15, 11}, false, {29, 7, 47, 18}},
                    // Wider than the button: the halves are rounded toward zero.
                    CaptionCase{{20, 25}, {35, 13}, false, {-8, 6, 29, 19}}));

// Focus dots around the caption rectangle 5,3-12,8 grown by 1 to 4,2-13,9 (w 9, h 7).
TEST(FocusMark, DotEveryThirdPixelWithWhiteCompanions) {
  Bitmap face = Filled(20, 12, Grey(128));
  DrawFocusMark(face, {5, 3, 12, 8}, 1);
  const std::set<std::pair<int, int>> black{{4, 2},  {7, 2},  {10, 2}, {13, 2}, {4, 9},  {7, 9},
                                            {10, 9}, {13, 9}, {4, 5},  {4, 8},  {13, 5}, {13, 8}};
  const std::set<std::pair<int, int>> white{{3, 1}, {6, 1},  {9, 1}, {12, 1}, {3, 8},  {6, 8},
                                            {9, 8}, {12, 8}, {3, 4}, {3, 7},  {12, 4}, {12, 7}};
  for (int y = 0; y < 12; ++y) {
    for (int x = 0; x < 20; ++x) {
      const Color expected = black.count({x, y})   ? clBlack
                             : white.count({x, y}) ? clWhite
                                                   : Grey(128);
      EXPECT_EQ(face.pixel(x, y), expected) << x << "," << y;
    }
  }
}

class PushButtonFaceTest : public testing::Test {
 protected:
  // Plain faces: 200 grey normally, 100 grey hot (no gradients, so only the plain colours).
  PushButtonFaceTest() : style(Grey(200)) {
    style.Background().Gradient().SetPercent(100);
    style.HotBackground().SetColor(Grey(100));
    state.caption = "Ок";  // two Cyrillic letters, four bytes: 28 pixels in the fake
    state.font = {"MS Sans Serif", 11, false};
  }
  Bitmap Paint(const Backdrop& backdrop = {}) {
    Bitmap face(75, 25);
    PaintPushButton(face, state, style, text, FakeSystemColors(), backdrop);
    return face;
  }

  ControlStyle style;
  PushButtonFace state;
  FakeTextRenderer text;
};

TEST_F(PushButtonFaceTest, NormalFaceRaisedBevelAndCaption) {
  const Bitmap face = Paint();
  EXPECT_EQ(face.pixel(0, 12), Grey(240));
  EXPECT_EQ(face.pixel(1, 12), Grey(220));
  EXPECT_EQ(face.pixel(2, 12), Grey(200));
  ASSERT_EQ(text.calls.size(), 1u);
  const auto& call = text.calls[0];
  EXPECT_EQ(call.text, "Ок");
  EXPECT_EQ(call.rgb, clBlack);
  EXPECT_EQ(call.box, (Rect{22, 7, 54, 18}));  // (75 - 28) / 2 - 1, (25 - 11) / 2, ...
  EXPECT_EQ(call.flags, kTextWordBreak | kTextExpandTabs);
}

TEST_F(PushButtonFaceTest, HotFaceUsesTheHotSetAndWidthFive) {
  state.mouseOver = true;
  const Bitmap face = Paint();
  // Left band 5 wide: m = 0, 51, 102, 153, 204 over grey 100 with t 240.
  EXPECT_EQ(face.pixel(0, 12), Grey(240));
  EXPECT_EQ(face.pixel(4, 12), Grey(128));
  EXPECT_EQ(face.pixel(5, 12), Grey(100));
}

TEST_F(PushButtonFaceTest, PressedFaceIsLoweredAndMovesTheCaption) {
  state.pressed = true;
  state.focused = true;
  const Bitmap face = Paint();
  EXPECT_EQ(face.pixel(0, 12), Grey(25));
  EXPECT_EQ(face.pixel(1, 12), Grey(62));
  EXPECT_EQ(face.pixel(2, 12), Grey(100));
  ASSERT_EQ(text.calls.size(), 1u);
  EXPECT_EQ(text.calls[0].box, (Rect{23, 8, 55, 19}));
  // The focus frame follows: its first dot sits at the grown rectangle's corner.
  EXPECT_EQ(face.pixel(22, 7), clBlack);
  EXPECT_EQ(face.pixel(21, 6), clWhite);
}

TEST_F(PushButtonFaceTest, CaptionMoreThanSixPixelsTallerThanTIsCentred) {
  // Font 5 high: two lines make a rectangle of 25 - 2 * 7 = 11, exactly 6 over "T"; three
  // lines make 15.
  state.font.height = 5;
  for (const auto& [chars, flags] :
       {std::pair{20, kTextWordBreak | kTextExpandTabs},
        std::pair{30, kTextWordBreak | kTextExpandTabs | kTextCenter}}) {
    state.caption = std::string(chars, 'x');  // 10 characters fit on a line of 75 pixels
    text.calls.clear();
    Paint();
    ASSERT_EQ(text.calls.size(), 1u);
    EXPECT_EQ(text.calls[0].flags, unsigned(flags)) << chars;
  }
}

TEST_F(PushButtonFaceTest, DisabledFaceIsHalfBlendedWithTheParent) {
  state.enabled = false;
  state.mouseOver = true;  // a disabled button is not hot under the pointer
  EXPECT_EQ(Paint({nullptr, {}, Grey(0)}).pixel(10, 12), Grey(100));
  const Bitmap parent = Filled(200, 100, Grey(51));
  const Bitmap face = Paint({&parent, {150, 10}, Grey(0)});
  EXPECT_EQ(face.pixel(10, 12), Grey(126));  // 125.5 -> 126
  EXPECT_EQ(face.pixel(60, 12), Grey(100));  // beyond the parent's image: its colour
}

}  // namespace
}  // namespace kv
