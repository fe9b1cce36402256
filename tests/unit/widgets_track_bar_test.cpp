#include "widgets/track_bar.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/widgets_fakes.h"

namespace kv {
namespace {

using test::FakeSystemColors;
using test::Grey;
using test::RowOf;

// As Wine lays out a 121 x 33 slider 0..50 with a fixed thumb length of 20.
constexpr Rect kChannel{8, 5, 113, 20};
constexpr Rect kThumb{8, 2, 19, 25};
constexpr Color kShadow = FakeSystemColors::kBtnShadow;
constexpr Color kHighlight = FakeSystemColors::kBtnHighlight;

TEST(TrackBarTicks, ElevenTicksOfTheOptionsSlider) {
  // 13 + i * 9.4, rounded half to even.
  EXPECT_EQ(TrackBarTickPositions(kChannel, kThumb, 11),
            (std::vector<int>{13, 22, 32, 41, 51, 60, 69, 79, 88, 98, 107}));
  EXPECT_EQ(TrackBarTickRect(kChannel, kThumb, 22), (Rect{22, 26, 24, 31}));
}

TEST(TrackBarTicks, TiesGoToEven) {
  // (channel width - thumb width) / (n - 1) = 9 / 2: 4.5 -> 4, 9; and 27 / 6: 4.5, 9, 13.5 ...
  EXPECT_EQ(TrackBarTickPositions({0, 0, 19, 10}, {0, 0, 10, 10}, 3), (std::vector<int>{5, 9, 14}));
  EXPECT_EQ(TrackBarTickPositions({0, 0, 27, 10}, {0, 0, 0, 10}, 7),
            (std::vector<int>{0, 4, 9, 14, 18, 22, 27}));
  EXPECT_EQ(TrackBarTickPositions(kChannel, kThumb, 1), (std::vector<int>{13}));
  EXPECT_TRUE(TrackBarTickPositions(kChannel, kThumb, 0).empty());
}

// The pentagon: white 13,24 up-left to 8,19, up to 8,2 and right to 18,2; black 18,2 down to
// 18,19 and down-left to 14,23 (13,24 is the excluded end point and stays white).
TEST(TrackBarThumb, PentagonOutline) {
  Bitmap image(25, 30);
  image.fill(Grey(48));
  DrawTrackBarThumb(image, kThumb);
  for (int y = 0; y < 30; ++y) {
    std::vector<Color> expected(25, Grey(48));
    if (y == 2) {
      std::fill(expected.begin() + 8, expected.begin() + 18, clWhite);
    } else if (y > 2 && y <= 19) {
      expected[8] = clWhite;
    } else if (y >= 20 && y <= 24) {
      expected[y - 11] = clWhite;  // 9,20 .. 13,24
    }
    if (y >= 2 && y <= 19)
      expected[18] = clBlack;
    else if (y >= 20 && y <= 23)
      expected[37 - y] = clBlack;  // 17,20 .. 14,23
    EXPECT_EQ(RowOf(image, y), expected) << "row " << y;
  }
}

class TrackBarPaint : public testing::Test {
 protected:
  // Normal background plain grey 48, channel colour grey 215.
  TrackBarPaint() : style(Grey(215)) {
    style.Background().Gradient().SetData("3158064;3158064;0;0;0");
    style.Background().Gradient().SetPercent(100);
    face.channel = kChannel;
    face.thumb = kThumb;
    face.tickCount = 11;
  }
  Bitmap Paint(const Backdrop& backdrop = {}) {
    Bitmap image(121, 33);
    PaintTrackBar(image, face, style, FakeSystemColors(), backdrop);
    return image;
  }
  ControlStyle style;
  TrackBarFace face;
};

TEST_F(TrackBarPaint, ChannelFrameAndThumbAcrossTheRows) {
  const Bitmap image = Paint();
  std::vector<Color> middle(121, Grey(48));
  middle[0] = kHighlight;
  middle[120] = kShadow;
  middle[8] = clWhite;
  std::fill(middle.begin() + 9, middle.begin() + 112, Grey(215));
  middle[18] = clBlack;
  middle[112] = clWhite;
  EXPECT_EQ(RowOf(image, 12), middle);

  std::vector<Color> top = middle;
  std::fill(top.begin() + 9, top.begin() + 112, clBlack);
  EXPECT_EQ(RowOf(image, 5), top);

  std::vector<Color> bottom = middle;
  std::fill(bottom.begin() + 8, bottom.begin() + 113, clWhite);
  bottom[18] = clBlack;
  EXPECT_EQ(RowOf(image, 19), bottom);

  std::vector<Color> frameTop(121, kHighlight);
  frameTop[120] = kShadow;
  EXPECT_EQ(RowOf(image, 0), frameTop);
  EXPECT_EQ(RowOf(image, 32), std::vector<Color>(121, kShadow));
}

TEST_F(TrackBarPaint, TicksFramedShadowAndWhite) {
  const Bitmap image = Paint();
  for (int x : {13, 22, 107}) {
    for (int y = 26; y <= 29; ++y) {
      EXPECT_EQ(image.pixel(x, y), kShadow) << x << "," << y;
      EXPECT_EQ(image.pixel(x + 1, y), clWhite) << x << "," << y;
    }
    EXPECT_EQ(image.pixel(x, 30), clWhite);
    EXPECT_EQ(image.pixel(x + 1, 30), clWhite);
    EXPECT_EQ(image.pixel(x, 25), Grey(48));
    EXPECT_EQ(image.pixel(x, 31), Grey(48));
    EXPECT_EQ(image.pixel(x + 2, 28), Grey(48));
  }
}

TEST_F(TrackBarPaint, HotSliderHasTheWideSoftBevel) {
  face.hot = true;
  const Bitmap image = Paint();
  EXPECT_EQ(image.pixel(0, 16), Grey(240));
  // Hot plain colour red 143, green 183, blue 207 under the left band's m of 153 (t 240).
  EXPECT_EQ(image.pixel(3, 16), rgb(182, 205, 220));
  EXPECT_EQ(image.pixel(5, 16), rgb(143, 183, 207));
}

TEST_F(TrackBarPaint, DisabledSliderIsHalfBlendedWithTheParent) {
  face.enabled = false;
  const Bitmap image = Paint({nullptr, {}, Grey(0)});
  EXPECT_EQ(image.pixel(3, 10), Grey(24));
  EXPECT_EQ(image.pixel(50, 12), Grey(108));  // 107.5 -> 108
}

class TrackBarModelTest : public testing::Test {
 protected:
  TrackBarModelTest() {
    model.SetMax(50);
    model.OnPlatformPosition = [this](int p) { log += "pos" + std::to_string(p) + " "; };
    model.OnPlatformRange = [this](int lo, int hi) {
      log += "range" + std::to_string(lo) + ".." + std::to_string(hi) + " ";
    };
    model.OnRedraw = [this] { log += "redraw "; };
    model.OnChange = [this] { log += "change "; };
  }
  TrackBarModel model;
  std::string log;
};

TEST_F(TrackBarModelTest, PositionIsClampedAndEqualValuesAreQuiet) {
  model.SetPosition(80);
  EXPECT_EQ(model.Position(), 50);
  model.SetPosition(50);
  model.SetPosition(-3);
  EXPECT_EQ(model.Position(), 0);
  EXPECT_EQ(log, "pos50 redraw change pos0 redraw change ");
}

TEST_F(TrackBarModelTest, EveryScrollNotificationNotifies) {
  model.Scrolled(7);
  model.Scrolled(7);
  EXPECT_EQ(model.Position(), 7);
  EXPECT_EQ(log, "redraw change redraw change ");
}

TEST_F(TrackBarModelTest, RangeSettersKeepMinNotAboveMax) {
  model.SetPosition(30);
  log.clear();
  model.SetMin(60);
  model.SetMax(-1);
  EXPECT_EQ(model.Min(), 0);
  EXPECT_EQ(model.Max(), 50);
  EXPECT_EQ(log, "");
  model.SetMax(20);
  EXPECT_EQ(model.Position(), 20);
  EXPECT_EQ(log, "range0..20 pos20 redraw change ");
  model.SetMin(20);
  EXPECT_EQ(model.Min(), 20);
  EXPECT_EQ(model.Position(), 20);
}

}  // namespace
}  // namespace kv
