// The file system through the wide-character API.
#pragma once

#include "toolkit/file_system.h"

namespace kv {

class WindowsFileSystem final : public FileSystem {
 public:
  bool fileExists(const std::string& path) override;
  bool directoryExists(const std::string& path) override;
  bool createDirectories(const std::string& path) override;
  std::string readFile(const std::string& path, size_t maxBytes) override;
  std::optional<std::string> readFileForUpdate(const std::string& path, size_t maxBytes) override;
  void writeNewFile(const std::string& path, std::string_view bytes,
                    const std::string& reportedPath) override;
  void replaceFile(const std::string& source, const std::string& target) override;
  bool removeFile(const std::string& path) override;
};

// The folder of the running executable, without a trailing separator (UTF-8).
std::string ExecutableFolder();

}  // namespace kv
