#include "tests/support/cp1251_codec.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

#include "toolkit/byte_scan.h"

namespace kv {
namespace {

using scan::kBlock;

// Bytes 0x80..0xBF of Windows-1251 (0xC0..0xFF are U+0410..U+044F). 0x98 is unassigned and maps
// to U+0098, as MultiByteToWideChar does.
constexpr std::array<char16_t, 64> kCp1251High = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409,
    0x2039, 0x040A, 0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0,
    0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB,
    0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6,
    0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457};

constexpr char32_t Cp1251ToUnicode(unsigned char byte) {
  if (byte < 0x80)
    return byte;
  if (byte >= 0xC0)
    return 0x0410 + (byte - 0xC0);
  return kCp1251High[byte - 0x80];
}

// The UTF-8 form of every byte, so that converting a byte is one four-byte copy whatever it is:
// mixed Cyrillic and Latin text then converts without a branch per byte.
static_assert(sizeof(Utf8Form) == 4);

constexpr SingleByteTable kUtf8Of = [] {
  SingleByteTable table{};
  table.twoBytesFromC0 = true;
  for (int b = 0; b <= 0xFF; ++b) {
    const char32_t cp = Cp1251ToUnicode(static_cast<unsigned char>(b));
    Utf8Form& form = table.forms[b];
    if (cp < 0x80) {
      form = {{static_cast<char>(cp), 0, 0}, 1};
    } else if (cp < 0x800) {
      form = {{static_cast<char>(0xC0 | (cp >> 6)), static_cast<char>(0x80 | (cp & 0x3F)), 0}, 2};
    } else {
      form = {{static_cast<char>(0xE0 | (cp >> 12)), static_cast<char>(0x80 | ((cp >> 6) & 0x3F)),
               static_cast<char>(0x80 | (cp & 0x3F))},
              3};
    }
    if (b >= 0xC0 && form.size != 2)
      table.twoBytesFromC0 = false;
  }
  return table;
}();

// The code point of every byte from 0x80 to 0xBF with that byte, sorted for a binary search.
struct HighByte {
  char16_t codePoint;
  unsigned char byte;
};

constexpr std::array<HighByte, 64> kHighByCodePoint = [] {
  std::array<HighByte, 64> table{};
  for (int i = 0; i < 64; ++i)
    table[i] = {kCp1251High[i], static_cast<unsigned char>(0x80 + i)};
  std::sort(table.begin(), table.end(),
            [](HighByte a, HighByte b) { return a.codePoint < b.codePoint; });
  return table;
}();

char UnicodeToCp1251(char32_t cp) {
  if (cp < 0x80)
    return static_cast<char>(cp);
  if (cp >= 0x0410 && cp <= 0x044F)
    return static_cast<char>(0xC0 + (cp - 0x0410));
  if (cp > 0xFFFF)
    return '?';
  const auto* it =
      std::lower_bound(kHighByCodePoint.begin(), kHighByCodePoint.end(), cp,
                       [](HighByte entry, char32_t value) { return entry.codePoint < value; });
  if (it != kHighByCodePoint.end() && it->codePoint == cp)
    return static_cast<char>(it->byte);
  return '?';
}

}  // namespace

std::string Cp1251Codec::toUtf8(std::string_view ansi) const {
  // The exact size first, so the text is written once, straight into its place.
  std::string out(utf8Size(kUtf8Of, ansi), '\0');
  writeUtf8(kUtf8Of, ansi, out.data());
  return out;
}

bool Cp1251Codec::holds(char32_t codePoint) const {
  return codePoint == '?' || UnicodeToCp1251(codePoint) != '?';
}

const SingleByteTable* Cp1251Codec::singleByteTable() const {
  return &kUtf8Of;
}

std::string Cp1251Codec::fromUtf8(std::string_view utf8) const {
  const auto* const in = reinterpret_cast<const unsigned char*>(utf8.data());
  const size_t n = utf8.size();
  // Every character takes one byte in the code page and at least one in UTF-8, so the text is
  // written straight into a string of the input's size, which is cut to length at the end.
  std::string out(n, '\0');
  char* o = out.data();
  for (size_t pos = 0; pos < n;) {
    if (pos + kBlock <= n) {
      // ASCII goes a block at a time; the copy of a whole block stays within the string since
      // the output never runs ahead of the input.
      const size_t ascii = scan::AsciiPrefixLength(utf8.data() + pos);
      std::memcpy(o, in + pos, kBlock);
      o += ascii;
      pos += ascii;
      if (ascii == kBlock)
        continue;
    } else if (in[pos] < 0x80) {
      *o++ = static_cast<char>(in[pos++]);
      continue;
    }
    // A run of non-ASCII characters, most often a Russian word.
    while (pos < n && in[pos] >= 0x80) {
      const unsigned char lead = in[pos];
      if ((lead == 0xD0 || lead == 0xD1) && pos + 1 < n && (in[pos + 1] & 0xC0) == 0x80) {
        *o++ = UnicodeToCp1251(static_cast<char32_t>(((lead & 0x1F) << 6) | (in[pos + 1] & 0x3F)));
        pos += 2;
      } else {
        *o++ = UnicodeToCp1251(decodeUtf8(utf8, pos));
      }
    }
  }
  out.resize(static_cast<size_t>(o - out.data()));
  return out;
}

}  // namespace kv
