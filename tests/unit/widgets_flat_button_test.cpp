#include "widgets/flat_button.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/widgets_fakes.h"

namespace kv {
namespace {

using test::FakeSystemColors;
using test::FakeTextRenderer;
using test::Filled;
using test::Grey;

struct LayoutCase {
  PngButtonLayout layout;
  bool pushed;
  FlatButtonLayout expected;
};

class FlatButtonLayoutTest : public testing::TestWithParam<LayoutCase> {};

// "Ok" on a 32 x 32 button: text 14 x 17, no image (which counts 0 x 4 beside a caption).
TEST_P(FlatButtonLayoutTest, PlacesImageAndCaption) {
  const LayoutCase& c = GetParam();
  EXPECT_EQ(LayOutFlatButton({32, 32}, {0, 0}, {14, 17}, true, c.layout, c.pushed), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, FlatButtonLayoutTest,
    testing::Values(LayoutCase{PngButtonLayout::pbsImageRight, false, {{28, 14}, {9, 7}}},
                    LayoutCase{PngButtonLayout::pbsImageRight, true, {{28, 16}, {9, 9}}},
                    LayoutCase{PngButtonLayout::pbsImageLeft, false, {{9, 14}, {14, 7}}},
                    LayoutCase{PngButtonLayout::pbsImageLeft, true, {{9, 16}, {14, 9}}},
                    LayoutCase{PngButtonLayout::pbsImageAbove, false, {{16, 5}, {9, 9}}},
                    LayoutCase{PngButtonLayout::pbsImageAbove, true, {{18, 7}, {11, 11}}},
                    LayoutCase{PngButtonLayout::pbsImageBellow, false, {{16, 22}, {9, 5}}},
                    LayoutCase{PngButtonLayout::pbsImageBellow, true, {{18, 24}, {11, 7}}}));

TEST(FlatButtonLayout, EmptyCaptionAndWideCaption) {
  EXPECT_EQ(LayOutFlatButton({32, 32}, {}, {}, false, PngButtonLayout::pbsImageRight, false),
            (FlatButtonLayout{{21, 16}, {16, 16}}));  // the image 5 right of the caption
  // A caption wider than the button starts left of it (halves rounded toward zero).
  EXPECT_EQ(
      LayOutFlatButton({32, 32}, {}, {49, 17}, true, PngButtonLayout::pbsImageRight, false).text,
      (Point{-8, 7}));
}

TEST(FlatButtonFrame, ByState) {
  EXPECT_EQ(FlatButtonFrame(ButtonState::normal, false), FrameKind::none);
  EXPECT_EQ(FlatButtonFrame(ButtonState::normal, true), FrameKind::raised);
  EXPECT_EQ(FlatButtonFrame(ButtonState::down, true), FrameKind::sunken);
  EXPECT_EQ(FlatButtonFrame(ButtonState::down, false), FrameKind::raised);
  EXPECT_EQ(FlatButtonFrame(ButtonState::disabled, true), FrameKind::none);
  EXPECT_EQ(FlatButtonFrame(ButtonState::disabled, false), FrameKind::none);
}

// Records the events of a 32 x 32 "Ok" button in the order they fire.
class FlatButtonEvents : public testing::Test {
 protected:
  FlatButtonEvents() {
    button.SetSize({32, 32});
    button.SetCaption("Ok");
    button.SetButtonStyle(PngButtonStyle::pbsFlat);
    button.SetButtonLayout(PngButtonLayout::pbsImageRight);
    button.OnClick = [this] { log.push_back("Click"); };
    button.OnDblClick = [this] { log.push_back("DblClick"); };
    button.OnMouseDown = [this](MouseButton, Point) { log.push_back("MouseDown"); };
    button.OnMouseUp = [this](MouseButton, Point) { log.push_back("MouseUp"); };
    button.OnMouseMove = [this](Point) { log.push_back("MouseMove"); };
    button.OnMouseEnter = [this] { log.push_back("MouseEnter"); };
    button.OnMouseExit = [this] { log.push_back("MouseExit"); };
    button.OnRepaint = [this] { log.push_back("repaint"); };
    log.clear();
  }
  using Log = std::vector<std::string>;

  TPNGButton button;
  Log log;
};

TEST_F(FlatButtonEvents, LeftClick) {
  button.MouseEnter();
  button.MouseDown(MouseButton::left, {10, 10});
  EXPECT_TRUE(button.Pushed());
  EXPECT_TRUE(button.CapturesMouse());
  button.MouseUp(MouseButton::left, {10, 10});
  EXPECT_EQ(log,
            (Log{"MouseEnter", "repaint", "repaint", "MouseDown", "repaint", "Click", "MouseUp"}));
  EXPECT_EQ(button.ButtonState(), ButtonState::normal);
  EXPECT_FALSE(button.CapturesMouse());
}

TEST_F(FlatButtonEvents, RightButtonGivesNoClick) {
  button.MouseDown(MouseButton::right, {10, 10});
  EXPECT_EQ(button.ButtonState(), ButtonState::normal);
  button.MouseUp(MouseButton::right, {10, 10});
  EXPECT_EQ(log, (Log{"MouseDown", "MouseUp"}));
}

TEST_F(FlatButtonEvents, DragOffAndReleaseOutside) {
  button.MouseEnter();
  button.MouseDown(MouseButton::left, {10, 10});
  button.MouseLeave();
  EXPECT_EQ(button.ButtonState(), ButtonState::down);
  EXPECT_EQ(FlatButtonFrame(button.ButtonState(), button.MouseOver()), FrameKind::raised);
  button.MouseMove({40, 10});
  button.MouseUp(MouseButton::left, {40, 10});
  EXPECT_EQ(log, (Log{"MouseEnter", "repaint", "repaint", "MouseDown", "MouseExit", "repaint",
                      "MouseMove", "repaint", "MouseUp"}));
  EXPECT_EQ(button.ButtonState(), ButtonState::normal);
  EXPECT_EQ(FlatButtonFrame(button.ButtonState(), button.MouseOver()), FrameKind::none);
}

TEST_F(FlatButtonEvents, DoubleClickGivesOneClick) {
  button.MouseDown(MouseButton::left, {10, 10});
  button.MouseUp(MouseButton::left, {10, 10});
  button.MouseDoubleClick(MouseButton::left, {10, 10});
  button.MouseUp(MouseButton::left, {10, 10});
  EXPECT_EQ(log, (Log{"repaint", "MouseDown", "repaint", "Click", "MouseUp", "DblClick", "repaint",
                      "MouseDown", "repaint", "MouseUp"}));
}

TEST_F(FlatButtonEvents, MoveMarksThePointerOverIncludingTheRowBelow) {
  button.MouseMove({5, 33});
  EXPECT_FALSE(button.MouseOver());
  button.MouseMove({32, 5});
  EXPECT_FALSE(button.MouseOver());
  button.MouseMove({5, 32});
  EXPECT_TRUE(button.MouseOver());
  EXPECT_EQ(log, (Log{"MouseMove", "MouseMove", "repaint", "MouseMove"}));
}

TEST_F(FlatButtonEvents, DisabledButtonIgnoresThePointer) {
  button.SetEnabled(false);
  EXPECT_EQ(button.ButtonState(), ButtonState::disabled);
  log.clear();
  button.MouseEnter();
  button.MouseMove({10, 10});
  button.MouseDown(MouseButton::left, {10, 10});
  button.MouseUp(MouseButton::left, {10, 10});
  button.MouseLeave();
  EXPECT_TRUE(log.empty());
  EXPECT_FALSE(button.MouseOver());
  button.SetEnabled(true);
  EXPECT_EQ(button.ButtonState(), ButtonState::normal);
}

class FlatButtonPaint : public FlatButtonEvents {
 protected:
  // The button at 100,12 on a 200 x 61 surface of grey 150.
  Bitmap Paint() {
    Bitmap surface = Filled(200, 61, Grey(150));
    button.SetFont({"Arial Black", 17, true});
    button.SetFontColor(rgb(1, 2, 3));
    button.Paint(surface, {100, 12, 132, 44}, text, FakeSystemColors());
    return surface;
  }
  FakeTextRenderer text;
};

TEST_F(FlatButtonPaint, PushedShowsASunkenFrameAndLowerCaption) {
  button.MouseEnter();
  button.MouseDown(MouseButton::left, {10, 10});
  const Bitmap surface = Paint();
  EXPECT_EQ(surface.pixel(100, 20), FakeSystemColors::kBtnShadow);     // left
  EXPECT_EQ(surface.pixel(120, 12), FakeSystemColors::kBtnShadow);     // top
  EXPECT_EQ(surface.pixel(131, 20), FakeSystemColors::kBtnHighlight);  // right
  EXPECT_EQ(surface.pixel(120, 43), FakeSystemColors::kBtnHighlight);  // bottom
  EXPECT_EQ(surface.pixel(101, 20), Grey(150));
  ASSERT_EQ(text.calls.size(), 1u);
  EXPECT_EQ(text.calls[0].box, (Rect{109, 21, 123, 38}));
  EXPECT_EQ(text.calls[0].clip, (Rect{101, 13, 131, 43}));
  EXPECT_EQ(text.calls[0].rgb, rgb(1, 2, 3));
}

TEST_F(FlatButtonPaint, HoverShowsARaisedFrame) {
  button.MouseEnter();
  const Bitmap surface = Paint();
  EXPECT_EQ(surface.pixel(100, 20), FakeSystemColors::kBtnHighlight);
  EXPECT_EQ(surface.pixel(131, 20), FakeSystemColors::kBtnShadow);
  EXPECT_EQ(text.calls[0].box, (Rect{109, 19, 123, 36}));
}

TEST_F(FlatButtonPaint, IdleAndDisabledHaveNoFrame) {
  Bitmap surface = Paint();
  EXPECT_EQ(surface.pixel(100, 20), Grey(150));
  EXPECT_EQ(text.calls[0].clip, (Rect{100, 12, 132, 44}));
  button.SetEnabled(false);
  surface = Paint();
  EXPECT_EQ(surface.pixel(100, 20), Grey(150));
  EXPECT_EQ(text.calls[1].rgb, FakeSystemColors::kGrayText);
}

TEST_F(FlatButtonPaint, EmptyCaptionDrawsNoText) {
  button.SetCaption("");
  button.MouseEnter();
  const Bitmap surface = Paint();
  EXPECT_TRUE(text.calls.empty());
  EXPECT_EQ(surface.pixel(100, 20), FakeSystemColors::kBtnHighlight);
}

}  // namespace
}  // namespace kv
