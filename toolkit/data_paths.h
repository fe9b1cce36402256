// The files the program keeps, in the Data folder beside the executable.
#pragma once

#include <string>

namespace kv {

// Data\ paths beside the executable, formed anew each time.
struct DataPaths {
  std::string executableFolder;  // no trailing separator
  char separator = '\\';

  std::string DataFolder() const { return executableFolder + separator + "Data"; }
  std::string File(const std::string& name) const { return DataFolder() + separator + name; }
};

}  // namespace kv
