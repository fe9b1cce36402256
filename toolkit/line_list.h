// The line lists kept in history.cmh and command.cms: read whole, written whole.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "toolkit/file_system.h"
#include "toolkit/text_codec.h"

namespace kv {

// Cuts `bytes` into lines. A line ends at CR, LF or CR LF; the text ends at the first NUL byte;
// a last line without a line end still counts, a final line end adds no empty entry, and an
// empty line in the middle is an empty entry. Lines of any length are kept whole.
std::vector<std::string> parseLineList(std::string_view bytes);

// Every line followed by CR LF; an empty list is the empty string.
std::string formatLineList(const std::vector<std::string>& lines);

// The file's lines converted to UTF-8. Throws FileError when the file cannot be opened or read,
// FileTooLargeError when it holds more than kMaxLineListBytes.
std::vector<std::string> readLineList(FileSystem& fs, const AnsiCodec& codec,
                                      const std::string& path);
// The same into `lines`, whose content the file's lines replace; the strings `lines` already
// holds are reused, so reloading a long list that has not changed allocates nothing. Throws
// FileError, with `lines` untouched, when the file cannot be opened or read.
void readLineList(FileSystem& fs, const AnsiCodec& codec, const std::string& path,
                  std::vector<std::string>& lines);

// formatLineList in the ANSI code page: the bytes writeLineList puts in the file.
std::string formatAnsiLineList(const AnsiCodec& codec, const std::vector<std::string>& lines);

// Rewrites the file whole (atomically) with the lines in the ANSI code page. Throws FileError
// ("Cannot create file ...") when it cannot be written; the old file is then untouched.
void writeLineList(FileSystem& fs, const AnsiCodec& codec, const std::string& path,
                   const std::vector<std::string>& lines);

namespace detail {

// Converting and cutting a large file in pieces of about this size keeps the converted text in
// the cache instead of building a second copy of the whole file.
inline constexpr size_t kPieceSize = 64 * 1024;

// The work of readLineList on the bytes of the file, with pieces of about `pieceSize` bytes
// (any size gives the same lines; tests use small ones).
void parseAnsiLineList(std::string_view ansi, const AnsiCodec& codec, size_t pieceSize,
                       std::vector<std::string>& lines);
// formatAnsiLineList converting pieces of about `pieceSize` bytes.
std::string formatAnsiLineList(const AnsiCodec& codec, const std::vector<std::string>& lines,
                               size_t pieceSize);

}  // namespace detail

}  // namespace kv
