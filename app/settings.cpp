#include "app/settings.h"

namespace kv {
namespace {

void PutInt32(std::string& out, std::int32_t value) {
  const auto u = static_cast<std::uint32_t>(value);
  for (int shift = 0; shift < 32; shift += 8)
    out += static_cast<char>((u >> shift) & 0xFF);
}

std::int32_t GetInt32(std::string_view bytes, size_t offset) {
  std::uint32_t u = 0;
  for (int i = 3; i >= 0; --i)
    u = (u << 8) | static_cast<std::uint8_t>(bytes[offset + i]);
  return static_cast<std::int32_t>(u);
}

}  // namespace

Settings DefaultSettings() {
  Settings s;
  s.Delay = 0;
  s.EdgeColor = clWhite;
  s.MiddleColor = clSilver;
  s.TextColor = clBlack;
  return s;
}

Settings DecodeSettingsRecord(std::string_view bytes) {
  Settings s;
  s.Delay = static_cast<std::uint8_t>(bytes[0]);
  for (int i = 0; i < 3; ++i)
    s.Filler[i] = static_cast<std::uint8_t>(bytes[1 + i]);
  s.EdgeColor = GetInt32(bytes, 4);
  s.MiddleColor = GetInt32(bytes, 8);
  s.TextColor = GetInt32(bytes, 12);
  return s;
}

std::string EncodeSettingsRecord(const Settings& s) {
  std::string out;
  out.reserve(kSettingsRecordSize);
  out += static_cast<char>(s.Delay);
  for (std::uint8_t b : s.Filler)
    out += static_cast<char>(b);
  PutInt32(out, s.EdgeColor);
  PutInt32(out, s.MiddleColor);
  PutInt32(out, s.TextColor);
  return out;
}

std::string BuildGradientData(Color edge, Color middle, const SystemColors& system) {
  // Only a system colour is translated; any other value is written as it is.
  const auto text = [&](Color c) {
    return std::to_string(isSystemColor(c) ? system.rgbOf(systemColorIndex(c)) : c);
  };
  const std::string e = text(edge);
  const std::string m = text(middle);
  return e + ";" + m + ";22;0;0;" + m + ";" + m + ";54;0;0;" + m + ";" + e + ";23;0;0;" + e + ";" +
         e + ";0;0;0";
}

}  // namespace kv
