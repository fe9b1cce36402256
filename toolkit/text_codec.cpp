#include "toolkit/text_codec.h"

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

constexpr char32_t cp1251ToUnicode(unsigned char byte) {
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
    const char32_t cp = cp1251ToUnicode(static_cast<unsigned char>(b));
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

char unicodeToCp1251(char32_t cp) {
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

size_t utf8Size(const SingleByteTable& table, std::string_view ansi) {
  const auto* const in = reinterpret_cast<const unsigned char*>(ansi.data());
  const size_t n = ansi.size();
  // History and command files are mostly ASCII: an ASCII block counts as it is, and so, with
  // two bytes for each letter, does a block of ASCII and letters.
  size_t size = 0;
  size_t i = 0;
  for (; i + kBlock <= n; i += kBlock) {
    const char* const block = ansi.data() + i;
    if (scan::blockIsAscii(block)) {
      size += kBlock;
    } else if (table.twoBytesFromC0 && !scan::hasByteFrom80ToBF(block)) {
      size += kBlock + scan::countHighBytes(block);
    } else {
      for (size_t k = 0; k < kBlock; ++k)
        size += table.forms[in[i + k]].size;
    }
  }
  // Most lines end in a short ASCII run (".exe", "|"): eight bytes at a time there too.
  if (i + 8 <= n && scan::word::blockIsAscii(ansi.data() + i)) {
    size += 8;
    i += 8;
  }
  for (; i < n; ++i)
    size += table.forms[in[i]].size;
  return size;
}

void writeUtf8(const SingleByteTable& table, std::string_view ansi, char* o) {
  const auto* const in = reinterpret_cast<const unsigned char*>(ansi.data());
  const size_t n = ansi.size();
  // A byte is stored as its four-byte form and the next one overwrites the surplus. No byte
  // takes less room in UTF-8 than in the code page, so while at least four bytes of input are
  // left, at least four bytes of room are too.
  const auto put = [&o, &table](unsigned char byte) {
    const Utf8Form& form = table.forms[byte];
    std::memcpy(o, &form, 4);
    o += form.size;
  };
  size_t i = 0;
  for (; i + kBlock + 3 <= n; i += kBlock) {
    // The block's ASCII start goes with one copy of the whole block, and so does its ASCII end
    // (a path goes on after a Russian folder name): only the bytes between go one by one.
    const scan::Mask high = scan::highMask(ansi.data() + i);
    std::memcpy(o, in + i, kBlock);
    if (high == 0) {
      o += kBlock;
      continue;
    }
    o += scan::firstIndex(high);
    const size_t last = scan::lastIndex(high);
    for (size_t k = scan::firstIndex(high); k <= last; ++k)
      put(in[i + k]);
    // The ASCII end: a whole block's copy where a block of input, and so of room, is left.
    const size_t rest = kBlock - 1 - last;
    if (i + last + 1 + kBlock <= n)
      std::memcpy(o, in + i + last + 1, kBlock);
    else
      std::memcpy(o, in + i + last + 1, rest);
    o += rest;
  }
  if (i + 8 + 3 <= n && scan::word::blockIsAscii(ansi.data() + i)) {
    std::memcpy(o, in + i, 8);
    o += 8;
    i += 8;
  }
  for (; i + 3 < n; ++i)
    put(in[i]);
  for (; i < n; ++i) {
    const Utf8Form& form = table.forms[in[i]];
    std::memcpy(o, form.bytes, form.size);
    o += form.size;
  }
}

std::string Cp1251Codec::toUtf8(std::string_view ansi) const {
  // The exact size first, so the text is written once, straight into its place.
  std::string out(utf8Size(kUtf8Of, ansi), '\0');
  writeUtf8(kUtf8Of, ansi, out.data());
  return out;
}

bool Cp1251Codec::holds(char32_t codePoint) const {
  return codePoint == '?' || unicodeToCp1251(codePoint) != '?';
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
      const size_t ascii = scan::asciiPrefixLength(utf8.data() + pos);
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
        *o++ = unicodeToCp1251(static_cast<char32_t>(((lead & 0x1F) << 6) | (in[pos + 1] & 0x3F)));
        pos += 2;
      } else {
        *o++ = unicodeToCp1251(decodeUtf8(utf8, pos));
      }
    }
  }
  out.resize(static_cast<size_t>(o - out.data()));
  return out;
}

}  // namespace kv
