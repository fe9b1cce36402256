#include "dialogs/editor_model.h"

#include <algorithm>

#include "dialogs/reserved_names.h"
#include "toolkit/line_list.h"
#include "toolkit/text_codec.h"

namespace kv {

CommandEditorModel::CommandEditorModel(SortsBefore order) : order_(std::move(order)) {}

void CommandEditorModel::LoadLines(std::vector<std::string> lines) {
  // Inserting one line after another at the sorted place, after its equals, is a stable sort.
  std::stable_sort(lines.begin(), lines.end(),
                   [this](const std::string& a, const std::string& b) { return order_(a, b); });
  std::vector<std::string> names;
  names.reserve(lines.size());
  for (const std::string& line : lines)
    names.push_back(SplitEntryLine(line, kEntrySeparator).name);
  comms_ = std::move(lines);
  commsNames_ = std::move(names);
}

namespace {

std::optional<size_t> DigestOfFile(FileSystem& fs, const std::string& path) {
  if (!fs.fileExists(path))
    return std::nullopt;
  return std::hash<std::string>{}(fs.readFile(path, kMaxLineListBytes));
}

}  // namespace

bool CommandEditorModel::LoadStore(FileSystem& fs, const AnsiCodec& codec,
                                   const std::string& path) {
  baseline_.reset();
  if (!fs.fileExists(path)) {
    baseline_ = Baseline{};
    return false;
  }
  const std::string bytes = fs.readFile(path, kMaxLineListBytes);
  std::vector<std::string> lines;
  detail::parseAnsiLineList(bytes, codec, detail::kPieceSize, lines);
  LoadLines(std::move(lines));
  baseline_ = Baseline{std::hash<std::string>{}(bytes)};
  return true;
}

bool CommandEditorModel::StoreChangedOnDisk(FileSystem& fs, const std::string& path) const {
  if (!baseline_)
    return true;
  const std::optional<size_t> now = DigestOfFile(fs, path);
  return now && now != baseline_->digest;
}

void CommandEditorModel::SaveStore(FileSystem& fs, const AnsiCodec& codec,
                                   const std::string& path) {
  const std::string bytes = formatAnsiLineList(codec, comms_);
  writeFileAtomically(fs, path, bytes);
  baseline_ = Baseline{std::hash<std::string>{}(bytes)};
}

size_t CommandEditorModel::InsertLine(std::string line) {
  const auto place =
      std::upper_bound(comms_.begin(), comms_.end(), line,
                       [this](const std::string& a, const std::string& b) { return order_(a, b); });
  const auto row = static_cast<size_t>(place - comms_.begin());
  std::string name = SplitEntryLine(line, kEntrySeparator).name;
  comms_.insert(place, std::move(line));
  commsNames_.insert(commsNames_.begin() + static_cast<std::ptrdiff_t>(row), std::move(name));
  return row;
}

AddEditOutcome CommandEditorModel::bAddEditClick(const CommandEntry& edits) {
  const CommandEntry entry{StripUnstorableChars(edits.name), StripUnstorableChars(edits.path),
                           StripUnstorableChars(edits.parameters),
                           StripUnstorableChars(edits.workingFolder)};
  AddEditOutcome outcome;
  const std::string line = ComposeEntryLine(entry);
  for (size_t row = 0; row < commsNames_.size(); ++row) {
    if (commsNames_[row] == entry.name) {
      comms_[row] = line;
      outcome.replacedRows.push_back(row);
    }
  }
  if (!outcome.replacedRows.empty())
    return outcome;
  if (IsReservedName(entry.name)) {
    outcome.action = AddEditOutcome::Action::showReservedMessage;
    return outcome;
  }
  outcome.addedRow = InsertLine(line);
  return outcome;
}

bool CommandEditorModel::DelButtonClick(std::optional<size_t> selectedRow) {
  if (!selectedRow || *selectedRow >= comms_.size())
    return false;
  const auto offset = static_cast<std::ptrdiff_t>(*selectedRow);
  comms_.erase(comms_.begin() + offset);
  commsNames_.erase(commsNames_.begin() + offset);
  return true;
}

CommandEntry CommandEditorModel::EditValuesForRow(size_t row) const {
  if (row >= comms_.size())
    return {};
  CommandEntry entry = SplitEntryLine(comms_[row], kEntrySeparator);
  if (entry.parameters == kEmptyFieldMark)
    entry.parameters.clear();
  if (entry.workingFolder == kEmptyFieldMark)
    entry.workingFolder.clear();
  return entry;
}

bool AddButtonEnabled(std::string_view name, std::string_view path) {
  return !name.empty() && !path.empty();
}

std::string StripUnstorableChars(std::string_view text) {
  std::string kept;
  kept.reserve(text.size());
  for (char c : text) {
    if (c != kEntrySeparator && c != '\r' && c != '\n' && c != '\0')
      kept += c;
  }
  return kept;
}

CodePageSplit SplitByCodePage(std::string_view text, const AnsiCodec& codec) {
  CodePageSplit split;
  split.kept.reserve(text.size());
  for (size_t pos = 0; pos < text.size();) {
    const size_t start = pos;
    const char32_t c = decodeUtf8(text, pos);
    const std::string_view character = text.substr(start, pos - start);
    if (codec.holds(c)) {
      split.kept += character;
    } else if (split.refused.find(character) == std::string::npos) {
      split.refused += character;
    }
  }
  return split;
}

std::string CodePageRefusalMessage(std::string_view refused) {
  size_t count = 0;
  for (size_t pos = 0; pos < refused.size(); ++count)
    decodeUtf8(refused, pos);
  return std::string(count == 1 ? "Символ «" : "Символы «") + std::string(refused) +
         "» нельзя сохранить в файле команд.";
}

std::string FolderOfFileName(std::string_view fileName) {
  // "\" and ":" are ASCII and never part of a multi-byte UTF-8 character.
  const size_t last = fileName.find_last_of("\\:");
  if (last == std::string_view::npos)
    return {};
  size_t length = last + 1;
  if (fileName[last] == '\\' && last > 0 && fileName[last - 1] != ':' &&
      fileName[last - 1] != '\\') {
    length = last;
  }
  return std::string(fileName.substr(0, length));
}

std::optional<std::string> ExtractDirFromPath(std::string_view path) {
  if (path.empty())
    return std::nullopt;
  size_t second = 0;
  decodeUtf8(path, second);  // skips the first character, however many bytes it takes
  if (second >= path.size() || path[second] != ':')
    return std::nullopt;
  return FolderOfFileName(path);
}

}  // namespace kv
