#include "dialogs/sort_order.h"

#include <cctype>

#include "toolkit/text_codec.h"

namespace kv {
namespace {

// A key per code point. Blanks and punctuation come before digits and digits before letters,
// as in the platform's order, so "note|..." sorts before "notepad|...". Keys are doubled so
// that "ё" can sit between "е" and "ж".
char32_t SortKey(char32_t cp) {
  if (cp < 0x80 && !std::isalnum(static_cast<int>(cp)))
    return cp * 2;
  if (cp >= U'0' && cp <= U'9')
    return (0x100 + cp) * 2;
  if (cp >= U'A' && cp <= U'Z')
    cp += U'a' - U'A';
  else if (cp >= 0x0410 && cp <= 0x042F)  // А..Я
    cp += 0x20;
  else if (cp >= 0x0400 && cp <= 0x040F)  // Ѐ..Џ, Ё among them
    cp += 0x50;
  else if (cp == 0x0490)  // Ґ
    cp = 0x0491;
  if (cp == 0x0451)  // ё
    return (0x200 + 0x0435) * 2 + 1;
  return (0x200 + cp) * 2;
}

}  // namespace

bool SortsBeforeIgnoringCase(std::string_view a, std::string_view b) {
  size_t i = 0;
  size_t j = 0;
  while (i < a.size() && j < b.size()) {
    const char32_t ka = SortKey(decodeUtf8(a, i));
    const char32_t kb = SortKey(decodeUtf8(b, j));
    if (ka != kb)
      return ka < kb;
  }
  return i == a.size() && j < b.size();
}

}  // namespace kv
