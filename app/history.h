// The bar's command history, newest first, each text once; kept in Data\history.cmh.
// The bar owns the list (its HistoryList) and copies it into the field's drop-down list after a
// call returns normally; when a call throws, the drop-down list is left as it was.
#pragma once

#include <string>
#include <vector>

#include "toolkit/file_system.h"
#include "toolkit/text_codec.h"

namespace kv {

using HistoryList = std::vector<std::string>;

// If the history file exists, replaces `entries` with its lines (file order, duplicates kept)
// and returns true; otherwise leaves them alone and returns false. Throws FileError ("Cannot
// open file ...") when the file exists but cannot be read; `entries` are then unchanged.
bool LoadHistory(FileSystem& fs, const AnsiCodec& codec, const std::string& path,
                 HistoryList& entries);

// Removes every entry equal to `text` (exact bytes) and puts `text` at the top.
void PutOnTop(HistoryList& entries, std::string text);

// PutOnTop, then rewrites the file. Throws FileError ("Cannot create file ...") when the file
// cannot be written; the in-memory change is kept all the same.
void AddToHistory(FileSystem& fs, const AnsiCodec& codec, const std::string& path,
                  HistoryList& entries, std::string text);

// Empties `entries` and rewrites the file as 0 bytes. Throws FileError as AddToHistory does;
// `entries` are empty all the same.
void ClearHistory(FileSystem& fs, const AnsiCodec& codec, const std::string& path,
                  HistoryList& entries);

}  // namespace kv
