// Windows-1251 for the native tests, benchmarks and fuzz targets, where no system code page
// exists: with its byte table, and without it (so a reader takes the way of code pages with
// characters of more than one byte).
#pragma once

#include <string>
#include <string_view>

#include "toolkit/text_codec.h"

namespace kv {

// Windows-1251, the code page of the Russian interface. The executable uses the system's ANSI
// code page instead.
class Cp1251Codec final : public AnsiCodec {
 public:
  std::string toUtf8(std::string_view ansi) const override;
  std::string fromUtf8(std::string_view utf8) const override;
  bool holds(char32_t codePoint) const override;
  const SingleByteTable* singleByteTable() const override;
};

// Windows-1251 without its byte table: a reader then converts the text in pieces, as it does
// for a code page with characters of more than one byte.
class PiecewiseCp1251 : public AnsiCodec {
 public:
  std::string toUtf8(std::string_view ansi) const override { return cp1251_.toUtf8(ansi); }
  std::string fromUtf8(std::string_view utf8) const override { return cp1251_.fromUtf8(utf8); }
  bool holds(char32_t c) const override { return cp1251_.holds(c); }

 private:
  Cp1251Codec cp1251_;
};

}  // namespace kv
