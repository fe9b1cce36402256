#include "interpreter/command_store.h"

#include "toolkit/line_list.h"

namespace kv {

CommandEntry SplitEntryLine(std::string_view line, char separator) {
  CommandEntry entry;
  std::string* const fields[] = {&entry.name, &entry.path, &entry.parameters, &entry.workingFolder};
  size_t field = 0;
  for (char c : line) {
    if (c == separator) {
      if (field < 3)
        ++field;
    } else {
      *fields[field] += c;
    }
  }
  return entry;
}

SplitText SplitOnce(std::string_view text, char separator) {
  const size_t cut = text.find(separator);
  if (cut == std::string_view::npos)
    return {std::string(text), {}};
  return {std::string(text.substr(0, cut)), std::string(text.substr(cut + 1))};
}

std::string ComposeEntryLine(const CommandEntry& entry) {
  std::string line;
  line.reserve(entry.name.size() + entry.path.size() + entry.parameters.size() +
               entry.workingFolder.size() + 3);
  line += entry.name;
  line += kEntrySeparator;
  line += entry.path;
  line += kEntrySeparator;
  line += entry.parameters;
  line += kEntrySeparator;
  line += entry.workingFolder;
  return line;
}

bool LoadCommandStore(FileSystem& fs, const AnsiCodec& codec, const std::string& path,
                      std::vector<std::string>& lines) {
  if (!fs.fileExists(path))
    return false;
  readLineList(fs, codec, path, lines);
  return true;
}

void SaveCommandStore(FileSystem& fs, const AnsiCodec& codec, const std::string& path,
                      const std::vector<std::string>& lines) {
  writeLineList(fs, codec, path, lines);
}

std::vector<size_t> MatchingUserCommands(const std::vector<std::string>& lines,
                                         std::string_view typed) {
  std::vector<size_t> matches;
  if (typed.empty())
    return matches;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (std::string_view(lines[i]).starts_with(typed))
      matches.push_back(i);
  }
  return matches;
}

}  // namespace kv
