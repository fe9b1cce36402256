// The user's command store, Data\command.cms: one command per line,
// name|path|parameters|working folder, no quoting and no escape.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/file_system.h"
#include "toolkit/text_codec.h"

namespace kv {

inline constexpr char kEntrySeparator = '|';
// A parameters or working-folder field of exactly this text is shown empty by the editor.
inline constexpr std::string_view kEmptyFieldMark = "`";

struct CommandEntry {
  std::string name;           // the word typed in the bar
  std::string path;           // what the shell opens
  std::string parameters;     // handed to the shell with the path
  std::string workingFolder;  // the started program's folder
};

// Cuts a stored line into its four fields. Separators are dropped; missing trailing fields come
// back empty; everything after the third separator runs together into the working folder
// ("a|b|c|d|e" gives the folder "de").
CommandEntry SplitEntryLine(std::string_view line, char separator);

struct SplitText {
  std::string head;
  std::string tail;
};

// Cuts `text` at its first separator only: the tail keeps every later separator; without a
// separator the tail is empty; a leading separator gives an empty head.
SplitText SplitOnce(std::string_view text, char separator);

// name|path|parameters|working folder, the fields exactly as given.
std::string ComposeEntryLine(const CommandEntry& entry);

// If the store file exists, replaces `lines` with its lines in file order and returns true; if
// it does not, leaves `lines` exactly as they were and returns false. Throws FileError ("Cannot
// open file ...") when the file exists but cannot be read; `lines` are then unchanged.
bool LoadCommandStore(FileSystem& fs, const AnsiCodec& codec, const std::string& path,
                      std::vector<std::string>& lines);

// Rewrites the store file with `lines` in list order, CR LF after each; no lines give a 0-byte
// file. Throws FileError ("Cannot create file ...") on failure; the old file is then untouched.
void SaveCommandStore(FileSystem& fs, const AnsiCodec& codec, const std::string& path,
                      const std::vector<std::string>& lines);

// The positions, in list order, of the stored lines that begin with `typed` (byte by byte, case
// and blanks significant). The whole line counts, so text running on past the name into the
// path still matches; text longer than a line never matches it. Empty text matches nothing:
// Enter on an empty field never reaches the dispatcher, and if it did, it must not start every
// stored command at once.
std::vector<size_t> MatchingUserCommands(const std::vector<std::string>& lines,
                                         std::string_view typed);

}  // namespace kv
