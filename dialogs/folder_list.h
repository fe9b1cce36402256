// The folder chooser's folder list (Tf_Dir's DirectoryListBox1): the rows shown for its one
// state value, the open folder.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dialogs/sort_order.h"

namespace kv {

// The names of the subfolders of a full path (no "." or ".."); the Win32 layer lists the file
// system, tests inject a fixed tree.
using ListSubfolders = std::function<std::vector<std::string>(const std::string& folder)>;

struct FolderRow {
  std::string text;         // what the row shows: the root ("C:\") or the folder's own name
  std::string path;         // the full path the row opens ("C:\", "C:\Windows")
  int level = 0;            // indentation step: 0 for the root
  bool onOpenPath = false;  // the root, the open folder or a level between (open-folder icon)
};

struct FolderRows {
  std::vector<FolderRow> rows;
  size_t selected = 0;  // the open folder's own row
};

// The rows for `openFolder`, a full Windows path ("C:\", "C:\Windows\System32", a network
// folder "\\server\share\dir"): one row per level from the root down to the open folder, then
// the open folder's subfolders in `order` (case ignored by default). Repeated and trailing
// separators are ignored; "/" counts as a separator, as it does for Windows.
FolderRows BuildFolderRows(std::string_view openFolder, const ListSubfolders& listSubfolders,
                           const SortsBefore& order = SortsBeforeIgnoringCase);

// The drive letter of a path that starts with one ("C:\x", "d:"), as a capital; nullopt for a
// network or relative path.
std::optional<char> DriveOfPath(std::string_view path);

}  // namespace kv
