// Conversion between the program's UTF-8 text and the 8-bit ANSI code page its files keep.
#pragma once

#include <string>
#include <string_view>

namespace kv {

class AnsiCodec {
 public:
  virtual ~AnsiCodec() = default;
  virtual std::string toUtf8(std::string_view ansi) const = 0;
  // Characters the code page cannot hold become '?', as the system's own conversion does.
  virtual std::string fromUtf8(std::string_view utf8) const = 0;
};

// Windows-1251, the code page of the Russian interface. The executable uses the system's ANSI
// code page instead; this one serves the native build, where no system code page exists.
class Cp1251Codec final : public AnsiCodec {
 public:
  std::string toUtf8(std::string_view ansi) const override;
  std::string fromUtf8(std::string_view utf8) const override;
};

// Appends the UTF-8 form of a code point.
void appendUtf8(std::string& out, char32_t codePoint);
// Decodes the code point at `pos` and advances `pos`; malformed bytes give U+FFFD.
char32_t decodeUtf8(std::string_view text, size_t& pos);

}  // namespace kv
