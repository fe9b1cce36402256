#include "app/settings.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

class FixedColors : public SystemColors {
 public:
  Color rgbOf(int index) const override { return index == kColorBtnFace ? 0xF0F0F0 : 0x000080; }
};

TEST(SettingsRecord, RoundTripsEveryFieldAndTheFillerLittleEndian) {
  const std::string bytes(
      "\x14\x01\x02\x03"
      "\xFF\x00\x00\x00"
      "\x00\xFF\x00\x00"
      "\x0F\x00\x00\x80",
      16);
  const Settings s = DecodeSettingsRecord(bytes);
  EXPECT_EQ(s.Delay, 20);
  EXPECT_EQ(s.Filler, (std::array<std::uint8_t, 3>{1, 2, 3}));
  EXPECT_EQ(s.EdgeColor, 0x0000FF);
  EXPECT_EQ(s.MiddleColor, 0x00FF00);
  EXPECT_EQ(s.TextColor, systemColor(kColorBtnFace));
  EXPECT_LT(s.TextColor, 0);
  EXPECT_EQ(EncodeSettingsRecord(s), bytes);
}

TEST(SettingsRecord, OnlyTheFirstSixteenBytesCount) {
  std::string bytes(16, '\0');
  bytes[0] = 7;
  EXPECT_EQ(DecodeSettingsRecord(bytes + "tail").Delay, 7);
  EXPECT_EQ(EncodeSettingsRecord(DecodeSettingsRecord(bytes + "tail")).size(), 16u);
}

TEST(BuildGradientData, TheExampleColours) {
  EXPECT_EQ(BuildGradientData(0x0000FF, 0x00FF00, FixedColors()),
            "255;65280;22;0;0;65280;65280;54;0;0;65280;255;23;0;0;255;255;0;0;0");
}

TEST(BuildGradientData, DefaultsGiveThePanelsDesignedString) {
  const Settings d = DefaultSettings();
  EXPECT_EQ(BuildGradientData(d.EdgeColor, d.MiddleColor, FixedColors()),
            "16777215;12632256;22;0;0;12632256;12632256;54;0;0;12632256;16777215;23;0;0;16777215;"
            "16777215;0;0;0");
  EXPECT_EQ(d.Delay, 0);
  EXPECT_EQ(d.TextColor, 0);
}

TEST(BuildGradientData, SystemColoursAreWrittenAsTheirRgbValueOthersAsTheyAre) {
  EXPECT_EQ(BuildGradientData(systemColor(kColorBtnFace), 0x01000080, FixedColors()),
            "15790320;16777344;22;0;0;16777344;16777344;54;0;0;16777344;15790320;23;0;0;"
            "15790320;15790320;0;0;0");
}

}  // namespace
}  // namespace kv
