#include "toolkit/file_system.h"

#include <iterator>

#include "toolkit/errors.h"

namespace kv {

std::string temporaryPathFor(const std::string& path) {
  return path + ".new";
}

void writeFileAtomically(FileSystem& fs, const std::string& path, std::string_view bytes) {
  const size_t slash = path.find_last_of("\\/");
  if (slash != std::string::npos && slash > 0) {
    const std::string folder = path.substr(0, slash);
    if (!fs.directoryExists(folder))
      fs.createDirectories(folder);  // a failure shows as the write's own error below
  }
  // A temporary file that an earlier crash left and that cannot be overwritten (a folder of
  // that name, a file held open by another program) must not block every save: a second name
  // is tried before the save is reported as failed.
  const std::string first = temporaryPathFor(path);
  const std::string names[] = {first, first + "2"};
  for (const std::string& temporary : names) {
    try {
      fs.writeNewFile(temporary, bytes, path);
    } catch (const FileError&) {
      fs.removeFile(temporary);  // a part written; a stale file that stays is left to the next
      if (&temporary != &names[std::size(names) - 1])
        continue;
      throw;
    }
    try {
      fs.replaceFile(temporary, path);
      return;
    } catch (const FileError&) {
      fs.removeFile(temporary);
      throw;
    }
  }
}

}  // namespace kv
