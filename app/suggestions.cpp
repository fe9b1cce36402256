#include "app/suggestions.h"

#include <unordered_set>

#include "interpreter/command_store.h"
#include "interpreter/dispatch.h"
#include "interpreter/shortcuts.h"
#include "toolkit/text_codec.h"

namespace kv {

namespace {

// Characters no file name holds; "*" and "?" would make the listing's pattern match more.
constexpr std::string_view kNotInNames = "*?\"<>|/:";

char32_t FoldCase(char32_t c) {
  if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7) || (c >= 0x410 && c <= 0x42F))
    return c + 0x20;
  if (c >= 0x400 && c <= 0x40F)  // Ѐ to Џ, Ё among them
    return c + 0x50;
  if (c == 0x490)  // Ґ
    return 0x491;
  return c;
}

bool IsDriveLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// %NAME% replaced by its value where it is set; anything else stays as written, as the shell
// leaves it.
std::string ExpandEnvironment(std::string_view text, const EnvironmentLookup& environment) {
  std::string out;
  size_t pos = 0;
  while (pos < text.size()) {
    const size_t open = text.find('%', pos);
    const size_t close = open == std::string_view::npos ? open : text.find('%', open + 1);
    if (close == std::string_view::npos) {
      out.append(text.substr(pos));
      break;
    }
    out.append(text.substr(pos, open - pos));
    const std::optional<std::string> value =
        close > open + 1 ? environment(text.substr(open + 1, close - open - 1)) : std::nullopt;
    if (value) {
      out += *value;
      pos = close + 1;
    } else {
      // The closing sign may open the next name.
      out.append(text.substr(open, close - open));
      pos = close;
    }
  }
  return out;
}

}  // namespace

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
  size_t t = 0;
  size_t p = 0;
  while (p < prefix.size()) {
    if (t >= text.size())
      return false;
    // Most texts differ at the first byte: the history may hold a million lines.
    if (static_cast<unsigned char>(text[t]) < 0x80 &&
        static_cast<unsigned char>(prefix[p]) < 0x80) {
      if (FoldCase(static_cast<unsigned char>(text[t++])) !=
          FoldCase(static_cast<unsigned char>(prefix[p++]))) {
        return false;
      }
    } else if (FoldCase(decodeUtf8(text, t)) != FoldCase(decodeUtf8(prefix, p))) {
      return false;
    }
  }
  return true;
}

std::optional<PathQuery> ParsePathQuery(std::string_view typed,
                                        const EnvironmentLookup& environment) {
  size_t start = 0;
  if (const size_t bar = typed.find('|'); bar != std::string_view::npos)
    start = bar + 1;
  if (start < typed.size() && typed[start] == '"')
    ++start;
  const size_t last = typed.rfind('\\');
  if (last == std::string_view::npos || last < start)
    return std::nullopt;
  PathQuery query;
  query.typedFolder = std::string(typed.substr(0, last + 1));
  query.namePrefix = std::string(typed.substr(last + 1));
  query.folder = ExpandEnvironment(typed.substr(start, last + 1 - start), environment);
  const std::string& f = query.folder;
  if (f.size() < 3 || !IsDriveLetter(f[0]) || f[1] != ':' || f[2] != '\\' ||
      f.find_first_of(kNotInNames, 2) != std::string::npos ||
      query.namePrefix.find_first_of(kNotInNames) != std::string::npos) {
    return std::nullopt;
  }
  return query;
}

std::vector<std::string> NameSuggestions(const std::vector<std::string>& commandLines) {
  std::vector<std::string> names;
  std::unordered_set<std::string> seen;
  const auto add = [&](std::string name) {
    if (!name.empty() && seen.insert(name).second)
      names.push_back(std::move(name));
  };
  for (const std::string& line : commandLines)
    add(SplitEntryLine(line, kEntrySeparator).name);
  for (std::string_view word : DispatchWords())
    add(std::string(word));
  for (const ShortcutRow& row : SystemShortcuts())
    add(std::string(row.name));
  return names;
}

bool IsOfferedEntry(std::string_view name, bool hiddenOrSystem) {
  return !hiddenOrSystem && !name.empty() && name != "." && name != "..";
}

SuggestionList MakeSuggestions(std::string_view typed, const std::vector<std::string>& history,
                               const std::vector<std::string>& names, const PathQuery* path,
                               const std::vector<std::string>& entries, bool entriesComplete) {
  SuggestionList list;
  if (typed.empty())
    return list;
  std::unordered_set<std::string> seen;
  // False once the list is full and something more was to come.
  const auto offer = [&](std::string text) {
    if (seen.count(text))
      return true;
    if (list.items.size() == kMaxSuggestions) {
      list.complete = false;
      return false;
    }
    seen.insert(text);
    list.items.push_back(std::move(text));
    return true;
  };
  for (const std::vector<std::string>* source : {&history, &names}) {
    for (const std::string& text : *source) {
      if (StartsWithIgnoringCase(text, typed) && !offer(text))
        return list;
    }
  }
  if (!path)
    return list;
  for (const std::string& name : entries) {
    if (StartsWithIgnoringCase(name, path->namePrefix) && !offer(path->typedFolder + name))
      return list;
  }
  list.complete = list.complete && entriesComplete;
  return list;
}

bool SuggestionsCover(std::string_view before, std::string_view after) {
  return !before.empty() && after.substr(0, before.size()) == before &&
         after.find_first_of("\\|", before.size()) == std::string_view::npos;
}

}  // namespace kv
