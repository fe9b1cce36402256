#include "widgets/background.h"

#include <gtest/gtest.h>

#include <string>

#include "toolkit/errors.h"
#include "widgets/drawing.h"
#include "tests/support/widgets_fakes.h"

namespace kv {
namespace {

using test::FakeSystemColors;
using test::Filled;
using test::Grey;
using test::RowOf;

// Black over rows 0-2, white over rows 2-3 on a 4-row image.
constexpr char kBlackThenWhite[] = "0;0;50;0;0;16777215;16777215;0;0;0";

struct CountingBackground {
  CountingBackground() {
    settings.SetOnChange([this] { ++changes; });
  }
  BackgroundSettings settings;
  int changes = 0;
};

TEST(TsBGGradient, SameTextTwiceReportsOneChange) {
  CountingBackground b;
  b.settings.Gradient().SetData(kBlackThenWhite);
  b.settings.Gradient().SetData(kBlackThenWhite);
  EXPECT_EQ(b.changes, 1);
  EXPECT_EQ(b.settings.Gradient().Segments().size(), 2u);
  b.settings.Gradient().SetData("");
  EXPECT_EQ(b.changes, 2);
  EXPECT_TRUE(b.settings.Gradient().Segments().empty());
}

TEST(TsBGGradient, TextIsCutTo255Characters) {
  CountingBackground b;
  std::string text;
  while (text.size() < 300)
    text += "1;2;3;0;0;";
  b.settings.Gradient().SetData(text);
  EXPECT_EQ(b.settings.Gradient().Data(), text.substr(0, 255));
  // 255 characters hold 25 whole groups and a cut 26th ("1;2;3;0;0" is 9 characters + ';').
  EXPECT_EQ(b.settings.Gradient().Segments().size(), 25u);
  // The same long text again equals what is stored.
  b.settings.Gradient().SetData(text);
  EXPECT_EQ(b.changes, 1);
}

TEST(TsBGGradient, BadTextIsStoredWithPartialSegmentsAndNoChange) {
  CountingBackground b;
  EXPECT_THROW(b.settings.Gradient().SetData("1;2;3;0;0;4;5;six;0;0"), ConvertError);
  EXPECT_EQ(b.settings.Gradient().Data(), "1;2;3;0;0;4;5;six;0;0");
  const std::vector<GradientSegment> expected{{1, 2, 3, 0, 0}, {}};
  EXPECT_EQ(b.settings.Gradient().Segments(), expected);
  EXPECT_EQ(b.changes, 0);
}

TEST(BackgroundPercent, DefaultsAndTheSumLimit) {
  CountingBackground b;
  EXPECT_EQ(b.settings.Gradient().Percent(), 70);
  EXPECT_EQ(b.settings.Image().Percent(), 0);

  b.settings.Gradient().SetPercent(70);  // unchanged
  EXPECT_EQ(b.changes, 0);

  b.settings.Image().SetPercent(30);
  EXPECT_EQ(b.settings.Gradient().Percent(), 70);
  b.settings.Gradient().SetPercent(100);
  EXPECT_EQ(b.settings.Image().Percent(), 0);

  b.settings.Image().SetPercent(60);
  EXPECT_EQ(b.settings.Gradient().Percent(), 40);
  EXPECT_EQ(b.changes, 3);

  b.settings.Gradient().SetPercent(150);
  EXPECT_EQ(b.settings.Gradient().Percent(), 100);
  EXPECT_EQ(b.settings.Image().Percent(), 0);
}

TEST(ControlStyle, HotSetDefaults) {
  ControlStyle style(kDialogColor);
  EXPECT_EQ(style.Background().Color(), kDialogColor);
  EXPECT_EQ(style.HotBackground().Color(), rgb(143, 183, 207));
  EXPECT_EQ(style.HotBackground().Gradient().Percent(), 70);
  EXPECT_EQ(&style.Current(true), &style.HotBackground());
  EXPECT_EQ(&style.Current(false), &style.Background());
}

TEST(PaintBackground, FullGradientShowsThePureGradient) {
  BackgroundSettings settings(rgb(100, 101, 3));
  settings.Gradient().SetData(kBlackThenWhite);
  settings.Gradient().SetPercent(100);
  Bitmap image(3, 4);
  PaintBackground(image, settings, FakeSystemColors());
  for (int y = 0; y < 4; ++y)
    EXPECT_EQ(RowOf(image, y), std::vector<Color>(3, Grey(y < 2 ? 0 : 255))) << y;
}

TEST(PaintBackground, HalfGradientIsHalfwayToThePlainColour) {
  BackgroundSettings settings(rgb(100, 101, 3));
  settings.Gradient().SetData(kBlackThenWhite);
  settings.Gradient().SetPercent(50);
  Bitmap image(3, 4);
  PaintBackground(image, settings, FakeSystemColors());
  // 50 / 50.5 / 1.5 and 177.5 / 178 / 129, ties to even.
  for (int y = 0; y < 4; ++y)
    EXPECT_EQ(RowOf(image, y), std::vector<Color>(3, y < 2 ? rgb(50, 50, 2) : rgb(178, 178, 129)))
        << y;
}

TEST(PaintBackground, NoShareShowsThePlainSystemColour) {
  BackgroundSettings settings(clBtnFace);
  settings.Gradient().SetData(kBlackThenWhite);
  settings.Gradient().SetPercent(0);
  Bitmap image = Filled(3, 4, 0x123456);
  PaintBackground(image, settings, FakeSystemColors());
  for (int y = 0; y < 4; ++y)
    EXPECT_EQ(RowOf(image, y), std::vector<Color>(3, FakeSystemColors::kBtnFace));
}

TEST(PaintBackground, EmptyGradientShowsThePlainColour) {
  BackgroundSettings settings(rgb(10, 20, 30));
  Bitmap image = Filled(3, 2, 0x123456);
  PaintBackground(image, settings, FakeSystemColors());
  for (int y = 0; y < 2; ++y)
    EXPECT_EQ(RowOf(image, y), std::vector<Color>(3, rgb(10, 20, 30)));
}

TEST(SoftControlRegion, LeavesOutTheFourCorners) {
  EXPECT_EQ(SoftControlRegion({49, 25}), (std::vector<Rect>{{1, 0, 48, 25}, {0, 1, 49, 24}}));
  EXPECT_EQ(SoftControlRegion({2, 5}), (std::vector<Rect>{{0, 1, 2, 4}}));
  EXPECT_TRUE(SoftControlRegion({1, 1}).empty());
}

}  // namespace
}  // namespace kv
