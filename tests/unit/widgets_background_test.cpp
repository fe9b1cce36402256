#include "widgets/background.h"

#include <gtest/gtest.h>

#include <string>

#include "toolkit/errors.h"
#include "widgets/drawing.h"
#include "tests/support/widgets_fakes.h"

namespace kv {
namespace {

using test::FakeSystemColors;
using test::filled;
using test::grey;
using test::rowOf;

// Black over rows 0-2, white over rows 2-3 on a 4-row image.
constexpr char kBlackThenWhite[] = "0;0;50;0;0;16777215;16777215;0;0;0";

struct CountingBackground {
  CountingBackground() {
    settings.setOnChange([this] { ++changes; });
  }
  BackgroundSettings settings;
  int changes = 0;
};

TEST(TsBGGradient, SameTextTwiceReportsOneChange) {
  CountingBackground b;
  b.settings.gradient().setData(kBlackThenWhite);
  b.settings.gradient().setData(kBlackThenWhite);
  EXPECT_EQ(b.changes, 1);
  EXPECT_EQ(b.settings.gradient().segments().size(), 2u);
  b.settings.gradient().setData("");
  EXPECT_EQ(b.changes, 2);
  EXPECT_TRUE(b.settings.gradient().segments().empty());
}

TEST(TsBGGradient, TextIsCutTo255Characters) {
  CountingBackground b;
  std::string text;
  while (text.size() < 300)
    text += "1;2;3;0;0;";
  b.settings.gradient().setData(text);
  EXPECT_EQ(b.settings.gradient().data(), text.substr(0, 255));
  // 255 characters hold 25 whole groups and a cut 26th ("1;2;3;0;0" is 9 characters + ';').
  EXPECT_EQ(b.settings.gradient().segments().size(), 25u);
  // The same long text again equals what is stored.
  b.settings.gradient().setData(text);
  EXPECT_EQ(b.changes, 1);
}

TEST(TsBGGradient, BadTextIsStoredWithPartialSegmentsAndNoChange) {
  CountingBackground b;
  EXPECT_THROW(b.settings.gradient().setData("1;2;3;0;0;4;5;six;0;0"), ConvertError);
  EXPECT_EQ(b.settings.gradient().data(), "1;2;3;0;0;4;5;six;0;0");
  const std::vector<GradientSegment> expected{{1, 2, 3, 0, 0}, {}};
  EXPECT_EQ(b.settings.gradient().segments(), expected);
  EXPECT_EQ(b.changes, 0);
}

TEST(BackgroundPercent, DefaultsAndTheSumLimit) {
  CountingBackground b;
  EXPECT_EQ(b.settings.gradient().percent(), 70);
  EXPECT_EQ(b.settings.image().percent(), 0);

  b.settings.gradient().setPercent(70);  // unchanged
  EXPECT_EQ(b.changes, 0);

  b.settings.image().setPercent(30);
  EXPECT_EQ(b.settings.gradient().percent(), 70);
  b.settings.gradient().setPercent(100);
  EXPECT_EQ(b.settings.image().percent(), 0);

  b.settings.image().setPercent(60);
  EXPECT_EQ(b.settings.gradient().percent(), 40);
  EXPECT_EQ(b.changes, 3);

  b.settings.gradient().setPercent(150);
  EXPECT_EQ(b.settings.gradient().percent(), 100);
  EXPECT_EQ(b.settings.image().percent(), 0);
}

TEST(ControlStyle, HotSetDefaults) {
  ControlStyle style(kDialogColor);
  EXPECT_EQ(style.background().color(), kDialogColor);
  EXPECT_EQ(style.hotBackground().color(), rgb(143, 183, 207));
  EXPECT_EQ(style.hotBackground().gradient().percent(), 70);
  EXPECT_EQ(&style.current(true), &style.hotBackground());
  EXPECT_EQ(&style.current(false), &style.background());
}

TEST(PaintBackground, FullGradientShowsThePureGradient) {
  BackgroundSettings settings(rgb(100, 101, 3));
  settings.gradient().setData(kBlackThenWhite);
  settings.gradient().setPercent(100);
  Bitmap image(3, 4);
  PaintBackground(image, settings, FakeSystemColors());
  for (int y = 0; y < 4; ++y)
    EXPECT_EQ(rowOf(image, y), std::vector<Color>(3, grey(y < 2 ? 0 : 255))) << y;
}

TEST(PaintBackground, HalfGradientIsHalfwayToThePlainColour) {
  BackgroundSettings settings(rgb(100, 101, 3));
  settings.gradient().setData(kBlackThenWhite);
  settings.gradient().setPercent(50);
  Bitmap image(3, 4);
  PaintBackground(image, settings, FakeSystemColors());
  // 50 / 50.5 / 1.5 and 177.5 / 178 / 129, ties to even.
  for (int y = 0; y < 4; ++y)
    EXPECT_EQ(rowOf(image, y), std::vector<Color>(3, y < 2 ? rgb(50, 50, 2) : rgb(178, 178, 129)))
        << y;
}

TEST(PaintBackground, NoShareShowsThePlainSystemColour) {
  BackgroundSettings settings(clBtnFace);
  settings.gradient().setData(kBlackThenWhite);
  settings.gradient().setPercent(0);
  Bitmap image = filled(3, 4, 0x123456);
  PaintBackground(image, settings, FakeSystemColors());
  for (int y = 0; y < 4; ++y)
    EXPECT_EQ(rowOf(image, y), std::vector<Color>(3, FakeSystemColors::kBtnFace));
}

TEST(PaintBackground, EmptyGradientShowsThePlainColour) {
  BackgroundSettings settings(rgb(10, 20, 30));
  Bitmap image = filled(3, 2, 0x123456);
  PaintBackground(image, settings, FakeSystemColors());
  for (int y = 0; y < 2; ++y)
    EXPECT_EQ(rowOf(image, y), std::vector<Color>(3, rgb(10, 20, 30)));
}

TEST(SoftControlRegion, LeavesOutTheFourCorners) {
  EXPECT_EQ(softControlRegion({49, 25}), (std::vector<Rect>{{1, 0, 48, 25}, {0, 1, 49, 24}}));
  EXPECT_EQ(softControlRegion({2, 5}), (std::vector<Rect>{{0, 1, 2, 4}}));
  EXPECT_TRUE(softControlRegion({1, 1}).empty());
}

}  // namespace
}  // namespace kv
