#include "app/history.h"

#include <algorithm>

#include "toolkit/line_list.h"

namespace kv {

bool LoadHistory(FileSystem& fs, const AnsiCodec& codec, const std::string& path,
                 HistoryList& entries) {
  if (!fs.fileExists(path))
    return false;
  readLineList(fs, codec, path, entries);
  return true;
}

void PutOnTop(HistoryList& entries, std::string text) {
  // One stable compaction pass instead of an erase per duplicate keeps this linear on long
  // histories; `text` is a copy, so it may have come from `entries` itself.
  std::erase(entries, text);
  entries.insert(entries.begin(), std::move(text));
}

void AddToHistory(FileSystem& fs, const AnsiCodec& codec, const std::string& path,
                  HistoryList& entries, std::string text) {
  PutOnTop(entries, std::move(text));
  writeLineList(fs, codec, path, entries);
}

void ClearHistory(FileSystem& fs, const AnsiCodec& codec, const std::string& path,
                  HistoryList& entries) {
  entries.clear();
  writeLineList(fs, codec, path, entries);
}

}  // namespace kv
