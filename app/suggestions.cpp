#include "app/suggestions.h"

#include <unordered_set>

#include "interpreter/command_store.h"
#include "interpreter/shortcuts.h"

namespace kv {

namespace {

bool IsDriveLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

}  // namespace

std::string SuggestionFolder(std::string_view typed) {
  if (typed.size() < 3 || !IsDriveLetter(typed[0]) || typed[1] != ':' || typed[2] != '\\')
    return {};
  return std::string(typed.substr(0, typed.rfind('\\') + 1));
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
  for (const ShortcutRow& row : SystemShortcuts())
    add(std::string(row.name));
  return names;
}

std::vector<std::string> FolderSuggestions(std::string_view folder,
                                           const std::vector<FolderEntry>& entries) {
  std::vector<std::string> paths;
  for (const FolderEntry& entry : entries) {
    if (paths.size() == kMaxFolderSuggestions)
      break;
    if (entry.hidden || entry.name.empty() || entry.name == "." || entry.name == "..")
      continue;
    paths.push_back(std::string(folder) + entry.name);
  }
  return paths;
}

}  // namespace kv
