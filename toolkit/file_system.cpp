#include "toolkit/file_system.h"

#include "toolkit/errors.h"

namespace kv {

std::string temporaryPathFor(const std::string& path) {
  return path + ".new";
}

void writeFileAtomically(FileSystem& fs, const std::string& path, std::string_view bytes) {
  const std::string temporary = temporaryPathFor(path);
  try {
    fs.writeNewFile(temporary, bytes, path);
    fs.replaceFile(temporary, path);
  } catch (const FileError&) {
    fs.removeFile(temporary);
    throw;
  }
}

}  // namespace kv
