#include "toolkit/text_codec.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace kv {
namespace {

// Bytes 0x80..0xBF of Windows-1251 (0xC0..0xFF are U+0410..U+044F). 0x98 is unassigned and maps
// to U+0098, as MultiByteToWideChar does.
constexpr std::array<char16_t, 64> kCp1251High = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409,
    0x2039, 0x040A, 0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0,
    0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB,
    0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6,
    0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457};

char32_t cp1251ToUnicode(unsigned char byte) {
  if (byte < 0x80)
    return byte;
  if (byte >= 0xC0)
    return 0x0410 + (byte - 0xC0);
  return kCp1251High[byte - 0x80];
}

char unicodeToCp1251(char32_t cp) {
  if (cp < 0x80)
    return static_cast<char>(cp);
  if (cp >= 0x0410 && cp <= 0x044F)
    return static_cast<char>(0xC0 + (cp - 0x0410));
  const auto* it = std::find(kCp1251High.begin(), kCp1251High.end(), static_cast<char16_t>(cp));
  if (cp <= 0xFFFF && it != kCp1251High.end()) {
    return static_cast<char>(0x80 + (it - kCp1251High.begin()));
  }
  return '?';
}

// The number of bytes below 0x80 from `pos` on, eight at a time where it can.
size_t asciiRunLength(std::string_view text, size_t pos) {
  const size_t start = pos;
  while (pos + 8 <= text.size()) {
    std::uint64_t word;
    std::memcpy(&word, text.data() + pos, 8);
    if ((word & 0x8080808080808080ull) != 0)
      break;
    pos += 8;
  }
  while (pos < text.size() && static_cast<unsigned char>(text[pos]) < 0x80)
    ++pos;
  return pos - start;
}

}  // namespace

void appendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

char32_t decodeUtf8(std::string_view text, size_t& pos) {
  const auto lead = static_cast<unsigned char>(text[pos++]);
  if (lead < 0x80)
    return lead;
  int extra = 0;
  char32_t cp = 0;
  if ((lead & 0xE0) == 0xC0) {
    extra = 1;
    cp = lead & 0x1F;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2;
    cp = lead & 0x0F;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3;
    cp = lead & 0x07;
  } else {
    return 0xFFFD;
  }
  for (int i = 0; i < extra; ++i) {
    if (pos >= text.size() || (static_cast<unsigned char>(text[pos]) & 0xC0) != 0x80) {
      return 0xFFFD;
    }
    cp = (cp << 6) | (static_cast<unsigned char>(text[pos++]) & 0x3F);
  }
  return cp;
}

std::string Cp1251Codec::toUtf8(std::string_view ansi) const {
  // History and command files are mostly ASCII: whole ASCII runs are copied in one piece.
  std::string out;
  out.reserve(ansi.size() + ansi.size() / 2);
  for (size_t pos = 0; pos < ansi.size();) {
    const size_t run = asciiRunLength(ansi, pos);
    out.append(ansi, pos, run);
    pos += run;
    if (pos < ansi.size())
      appendUtf8(out, cp1251ToUnicode(static_cast<unsigned char>(ansi[pos++])));
  }
  return out;
}

std::string Cp1251Codec::fromUtf8(std::string_view utf8) const {
  std::string out;
  out.reserve(utf8.size());
  for (size_t pos = 0; pos < utf8.size();) {
    const size_t run = asciiRunLength(utf8, pos);
    out.append(utf8, pos, run);
    pos += run;
    if (pos < utf8.size())
      out += unicodeToCp1251(decodeUtf8(utf8, pos));
  }
  return out;
}

}  // namespace kv
