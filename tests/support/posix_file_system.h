// The file system of the native build, for tests and benchmarks.
#pragma once

#include "toolkit/file_system.h"

namespace kv::test {

class PosixFileSystem : public FileSystem {
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

// A fresh empty folder under the system's temporary folder, removed with the object.
class TemporaryFolder {
 public:
  TemporaryFolder();
  ~TemporaryFolder();
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;
  const std::string& Path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// Plain helpers for arranging and checking files in tests.
void WriteBytes(const std::string& path, std::string_view bytes);
std::string ReadBytes(const std::string& path);

}  // namespace kv::test
