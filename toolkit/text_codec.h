// Conversion between the program's UTF-8 text and the 8-bit ANSI code page its files keep.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace kv {

// The UTF-8 form of one byte of a code page with one byte per character: up to three bytes and
// their count, kept together so that a byte converts with one four-byte copy.
struct Utf8Form {
  char bytes[3];
  std::uint8_t size;
};
struct SingleByteTable {
  std::array<Utf8Form, 256> forms;
  // Every byte from 0xC0 up takes two bytes (true of the Cyrillic, Latin and Greek code pages),
  // so a text with no byte from 0x80 to 0xBF is measured without looking at the forms.
  bool twoBytesFromC0 = false;
};

class AnsiCodec {
 public:
  virtual ~AnsiCodec() = default;
  virtual std::string toUtf8(std::string_view ansi) const = 0;
  // Characters the code page cannot hold become '?', never a look-alike ("é" is not "e"), so
  // a stored name that lost a character fails visibly instead of naming something else.
  virtual std::string fromUtf8(std::string_view utf8) const = 0;
  // Whether the code page holds the character, so that it survives the way to a file and back.
  virtual bool holds(char32_t codePoint) const = 0;
  // The UTF-8 form of every byte when each character of the code page is one byte, so that a
  // caller can convert many short texts (the lines of a file) straight into place; null when a
  // character may take more than one byte.
  virtual const SingleByteTable* singleByteTable() const { return nullptr; }
};

// The size of the UTF-8 form of `ansi` under `table`.
size_t utf8Size(const SingleByteTable& table, std::string_view ansi);
// Writes the UTF-8 form of `ansi` to `out`, which has room for exactly utf8Size(table, ansi)
// bytes.
void writeUtf8(const SingleByteTable& table, std::string_view ansi, char* out);

// Appends the UTF-8 form of a code point.
void appendUtf8(std::string& out, char32_t codePoint);
// Decodes the code point at `pos` and advances `pos`; malformed bytes give U+FFFD.
char32_t decodeUtf8(std::string_view text, size_t& pos);

}  // namespace kv
