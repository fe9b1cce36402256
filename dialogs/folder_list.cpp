#include "dialogs/folder_list.h"

#include <algorithm>

namespace kv {
namespace {

bool IsSeparator(char c) {
  return c == '\\' || c == '/';
}

std::vector<std::string> Components(std::string_view path) {
  std::vector<std::string> parts;
  size_t pos = 0;
  while (pos < path.size()) {
    while (pos < path.size() && IsSeparator(path[pos]))
      ++pos;
    const size_t start = pos;
    while (pos < path.size() && !IsSeparator(path[pos]))
      ++pos;
    if (pos > start)
      parts.emplace_back(path.substr(start, pos - start));
  }
  return parts;
}

}  // namespace

FolderRows BuildFolderRows(std::string_view openFolder, const ListSubfolders& listSubfolders,
                           const SortsBefore& order) {
  const bool network =
      openFolder.size() >= 2 && IsSeparator(openFolder[0]) && IsSeparator(openFolder[1]);
  std::vector<std::string> parts = Components(openFolder);
  FolderRows result;
  if (parts.empty())
    return result;

  // The root row: "C:\" for a drive, "\\server\share\" for a network folder.
  std::string root;
  size_t consumed = 1;
  if (network && parts.size() >= 2) {
    root = "\\\\" + parts[0] + "\\" + parts[1] + "\\";
    consumed = 2;
  } else {
    root = parts[0] + "\\";
  }
  result.rows.push_back({root, root, 0, true});

  std::string path = root;
  for (size_t i = consumed; i < parts.size(); ++i) {
    if (path.back() != '\\')
      path += '\\';
    path += parts[i];
    result.rows.push_back({parts[i], path, static_cast<int>(result.rows.size()), true});
  }
  result.selected = result.rows.size() - 1;

  std::vector<std::string> children = listSubfolders(path);
  std::erase_if(children, [](const std::string& name) {
    return name.empty() || name == "." || name == "..";
  });
  std::stable_sort(children.begin(), children.end(), order);
  const int childLevel = static_cast<int>(result.rows.size());
  const std::string prefix = path.back() == '\\' ? path : path + '\\';
  for (std::string& name : children) {
    std::string childPath = prefix + name;
    result.rows.push_back({std::move(name), std::move(childPath), childLevel, false});
  }
  return result;
}

std::optional<char> DriveOfPath(std::string_view path) {
  if (path.size() < 2 || path[1] != ':')
    return std::nullopt;
  const char letter = path[0];
  if (letter >= 'a' && letter <= 'z')
    return static_cast<char>(letter - 'a' + 'A');
  if (letter >= 'A' && letter <= 'Z')
    return letter;
  return std::nullopt;
}

}  // namespace kv
