// What the command field suggests while the user types, as the Run box does: the commands run
// before, the names the bar knows, and the entries of a typed folder. The platform's list shows
// them and narrows them as the user types on; these rules decide what it is given.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

// Whether `text` begins with `prefix`, letters compared without case (ASCII, Latin-1 and
// Cyrillic), as the platform's list compares them.
bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix);

// A typed path whose folder's entries complete it.
struct PathQuery {
  // The typed text up to and including the folder's last backslash, kept as typed: what every
  // entry offered begins with ("notepad|%windir%\").
  std::string typedFolder;
  // The folder to list: local and absolute, environment names expanded ("C:\Windows\").
  std::string folder;
  // The typed start of the entry's name ("sy").
  std::string namePrefix;
};

// The value of an environment variable, by name without the percent signs; nullopt when unset.
using EnvironmentLookup = std::function<std::optional<std::string>(std::string_view name)>;

// The path `typed` asks to complete: the whole text, or the parameters after its first "|"; a
// leading quote is allowed, and %NAME% is expanded for the lookup only. Nothing for a relative
// or network folder (a slow network must never keep the field waiting), nor for a name start
// holding a wildcard or a character no name can hold.
std::optional<PathQuery> ParsePathQuery(std::string_view typed,
                                        const EnvironmentLookup& environment);

// The user's command names in store order, then the dispatcher's own words, then the shortcut
// names; each name once, none empty.
std::vector<std::string> NameSuggestions(const std::vector<std::string>& commandLines);

// Whether a folder's entry is offered: not "." or "..", not hidden or system (the file browser
// keeps those out of view too).
bool IsOfferedEntry(std::string_view name, bool hiddenOrSystem);

// Longest list given to the platform: it shows a few rows anyway, and a list of thousands would
// cost every key its sorting.
inline constexpr size_t kMaxSuggestions = 500;

struct SuggestionList {
  std::vector<std::string> items;
  bool complete = true;  // nothing that matched was left out
};

// What is offered for `typed`, in this order and each text once: the history entries (newest
// first) that begin with it, the names that do, then, for a path, the folder's entries that
// begin with its name start (`entries` as listed, `entriesComplete` when the listing left none
// out). At most kMaxSuggestions; nothing for an empty text.
SuggestionList MakeSuggestions(std::string_view typed, const std::vector<std::string>& history,
                               const std::vector<std::string>& names, const PathQuery* path,
                               const std::vector<std::string>& entries, bool entriesComplete);

// Whether a complete list made for `before` holds every offer for `after`, so the platform's
// list, narrowing it itself, needs no new one: `after` goes on from `before` without entering
// another folder or the parameters.
bool SuggestionsCover(std::string_view before, std::string_view after);

}  // namespace kv
