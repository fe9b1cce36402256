// The program's only way to the file system. Paths are UTF-8; the Win32 implementation uses the
// wide-character API so a folder name outside the ANSI code page still works.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kv {

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  virtual bool fileExists(const std::string& path) = 0;
  virtual bool directoryExists(const std::string& path) = 0;
  // Creates the folder and any missing parents; false when it could not.
  virtual bool createDirectories(const std::string& path) = 0;

  // The whole file. Throws FileError (cannotOpenFileMessage) when it cannot be opened or read,
  // and FileTooLargeError, before reading anything, when it holds more than `maxBytes`. Never
  // allocates much more than it has read, whatever size the file claims. A file another
  // program holds for a moment (a scanner, an indexer, a backup tool) is waited for briefly.
  virtual std::string readFile(const std::string& path, size_t maxBytes) = 0;
  // At most the first `maxBytes` of the file, opened for reading and writing; nullopt when it
  // cannot be opened that way (locked, read-only, no access). A held file is waited for
  // briefly first, as readFile does.
  virtual std::optional<std::string> readFileForUpdate(const std::string& path,
                                                       size_t maxBytes) = 0;

  // Creates or truncates `path` (the temporary file of a replacement: one left read-only by an
  // earlier crash is overwritten too), writes the bytes and flushes them to disk. Throws
  // FileError (cannotCreateFileMessage naming `reportedPath`) on any failure.
  virtual void writeNewFile(const std::string& path, std::string_view bytes,
                            const std::string& reportedPath) = 0;
  // Moves `source` over `target` in one step. Throws FileError (cannotCreateFileMessage naming
  // `target`) on failure; `target` is then untouched.
  virtual void replaceFile(const std::string& source, const std::string& target) = 0;
  // Deletes the file; false when it could not.
  virtual bool removeFile(const std::string& path) = 0;
};

// The largest history or command store the program reads: far above any real use (a million
// commands take about 20 MB), far below what would stall the bar or exhaust memory.
inline constexpr size_t kMaxLineListBytes = size_t{64} << 20;

// The temporary file written beside `path` before it replaces it.
std::string temporaryPathFor(const std::string& path);

// Rewrites `path` whole so that a crash or a failed write never leaves it truncated: the bytes go
// to a temporary file beside it, which then replaces it. On failure the temporary file is
// removed, `path` keeps its old content and the FileError names `path`. A folder deleted since
// start-up is created again first.
void writeFileAtomically(FileSystem& fs, const std::string& path, std::string_view bytes);

}  // namespace kv
