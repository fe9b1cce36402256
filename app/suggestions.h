// What the command field suggests while the user types: the names of the user's own commands and
// of the system shortcuts, and the entries of a typed folder. The platform's suggestion list
// keeps the ones that begin with the typed text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kv {

// The folder whose entries complete `typed`: the text up to and including its last backslash,
// when that is a local absolute path ("C:\", "C:\Windows\"); empty otherwise. Relative paths
// have no folder to list, and a network path is left alone: listing it could keep the field
// waiting on the network.
std::string SuggestionFolder(std::string_view typed);

// The user's command names in store order, then the shortcut names; each name once, none empty.
std::vector<std::string> NameSuggestions(const std::vector<std::string>& commandLines);

struct FolderEntry {
  std::string name;
  bool hidden = false;  // hidden or system, as the file browser keeps them out of view
};

// Longest list of a folder's entries offered at once: a folder of many thousands is not
// something to pick from a list, and listing it must not stall typing.
inline constexpr size_t kMaxFolderSuggestions = 4000;

// `folder` followed by each entry's name, without "." and ".." and without hidden entries, at
// most kMaxFolderSuggestions of them.
std::vector<std::string> FolderSuggestions(std::string_view folder,
                                           const std::vector<FolderEntry>& entries);

}  // namespace kv
