// The words the dispatcher takes before the shortcut table, the built-in and the session words,
// as one table in the order they are tested. A new word is a row and its action; the reserved
// names and the fuzz oracle read the table.
#pragma once

#include <span>
#include <string_view>

#include "interpreter/dispatch.h"

namespace kv {

// Whether the command editor refuses the word as the name of a new user command.
enum class Reserved : bool { no, yes };

struct BuiltInWord {
  std::string_view name;  // compared with the whole typed text, with case
  void (*action)(CommandState& state, DispatchHost& host);
  Reserved reserved;
};

// Every row, in the order the dispatcher tests them.
std::span<const BuiltInWord> BuiltInWords();

// The first row whose name equals `typed` exactly, or nullptr.
const BuiltInWord* FindBuiltInWord(std::string_view typed);

}  // namespace kv
