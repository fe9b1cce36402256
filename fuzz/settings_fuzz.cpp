// The settings record: decoded and encoded again it gives back its bytes, and the gradient data
// string built from its colours parses into the panel's four bands and paints the designed
// layout. Input: a config.cfg of 16 bytes or more, then bytes that set the system colours.
#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "app/settings.h"
#include "fuzz/fuzz_check.h"
#include "widgets/gradient.h"

namespace kv {
namespace {

// Deterministic system colours taken from the input: plain RGB values, as the system gives.
class InputColors : public SystemColors {
 public:
  InputColors(const std::uint8_t* data, size_t size) {
    for (size_t i = 0; i < table_.size(); ++i) {
      std::uint32_t value = 0x00C8D0D4 + static_cast<std::uint32_t>(i);
      if (size >= 3 * (i + 1))
        value = data[3 * i] | (data[3 * i + 1] << 8) | (data[3 * i + 2] << 16);
      table_[i] = static_cast<Color>(value);
    }
  }
  Color rgbOf(int index) const override { return table_[static_cast<size_t>(index) % 256]; }

 private:
  std::array<Color, 256> table_{};
};

}  // namespace
}  // namespace kv

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  using namespace kv;
  if (size < kSettingsRecordSize)
    return 0;
  const std::string_view file(reinterpret_cast<const char*>(data), size);
  const std::string_view record = file.substr(0, kSettingsRecordSize);

  // Only the first record counts, and it round-trips byte for byte, filler included.
  const Settings settings = DecodeSettingsRecord(file);
  FUZZ_CHECK(EncodeSettingsRecord(settings) == record);
  FUZZ_CHECK(EncodeSettingsRecord(DecodeSettingsRecord(record)) == record);
  FUZZ_CHECK(settings.Delay == data[0]);

  const InputColors colors(data + kSettingsRecordSize, size - kSettingsRecordSize);
  const std::string gradient = BuildGradientData(settings.EdgeColor, settings.MiddleColor, colors);
  FUZZ_CHECK(gradient.size() <= 255);  // the panel keeps at most 255 characters
  const auto resolved = [&](Color c) {
    return isSystemColor(c) ? colors.rgbOf(systemColorIndex(c)) : c;
  };
  const Color e = resolved(settings.EdgeColor);
  const Color m = resolved(settings.MiddleColor);
  const std::vector<GradientSegment> expected = {
      {e, m, 22, 0, 0}, {m, m, 54, 0, 0}, {m, e, 23, 0, 0}, {e, e, 0, 0, 0}};
  FUZZ_CHECK(ParseGradientData(gradient) == expected);

  // The bar's 61 rows: each band's first row shows its start colour (the rows 0, 13, 45 and 59
  // of the designed layout) and the last row the edge colour.
  Bitmap image(4, 61);
  PaintGradient(image, {0, 0, 4, 61}, expected);
  const Color edge = e & 0xFFFFFF;
  const Color middle = m & 0xFFFFFF;
  FUZZ_CHECK(image.pixel(3, 0) == edge);
  FUZZ_CHECK(image.pixel(3, 13) == middle);
  FUZZ_CHECK(image.pixel(3, 45) == middle);
  FUZZ_CHECK(image.pixel(3, 59) == edge);
  FUZZ_CHECK(image.pixel(3, 60) == edge);
  return 0;
}
