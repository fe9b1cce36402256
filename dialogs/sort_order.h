// Alphabetical order without regard to case, as the dialogs' sorted lists need it.
#pragma once

#include <functional>
#include <string_view>

namespace kv {

// Whether `a` sorts strictly before `b`. The Win32 layer supplies the platform's sorted-list-box
// order (CompareString with the user's locale, case ignored); the core's default stands in for
// it natively.
using SortsBefore = std::function<bool(std::string_view a, std::string_view b)>;

// UTF-8 texts compared character by character: blanks and punctuation first, then digits, then
// letters, Latin and Cyrillic capitals folded to small letters, "ё" right after "е". Texts equal
// but for case are equal here (neither sorts before the other).
bool SortsBeforeIgnoringCase(std::string_view a, std::string_view b);

}  // namespace kv
