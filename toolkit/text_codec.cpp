#include "toolkit/text_codec.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

#include "toolkit/byte_scan.h"

namespace kv {
namespace {

using scan::kBlock;

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
    if (scan::BlockIsAscii(block)) {
      size += kBlock;
    } else if (table.twoBytesFromC0 && !scan::HasByteFrom80ToBf(block)) {
      size += kBlock + scan::CountHighBytes(block);
    } else {
      for (size_t k = 0; k < kBlock; ++k)
        size += table.forms[in[i + k]].size;
    }
  }
  // Most lines end in a short ASCII run (".exe", "|"): eight bytes at a time there too.
  if (i + 8 <= n && scan::word::BlockIsAscii(ansi.data() + i)) {
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
    const scan::Mask high = scan::HighMask(ansi.data() + i);
    std::memcpy(o, in + i, kBlock);
    if (high == 0) {
      o += kBlock;
      continue;
    }
    o += scan::FirstIndex(high);
    const size_t last = scan::LastIndex(high);
    for (size_t k = scan::FirstIndex(high); k <= last; ++k)
      put(in[i + k]);
    // The ASCII end: a whole block's copy where a block of input, and so of room, is left.
    const size_t rest = kBlock - 1 - last;
    if (i + last + 1 + kBlock <= n)
      std::memcpy(o, in + i + last + 1, kBlock);
    else
      std::memcpy(o, in + i + last + 1, rest);
    o += rest;
  }
  if (i + 8 + 3 <= n && scan::word::BlockIsAscii(ansi.data() + i)) {
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

}  // namespace kv
