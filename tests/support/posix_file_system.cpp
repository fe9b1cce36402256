#include "tests/support/posix_file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <utility>

#include "toolkit/errors.h"

namespace kv::test {

bool PosixFileSystem::fileExists(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(path, ec);
}

bool PosixFileSystem::directoryExists(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_directory(path, ec);
}

bool PosixFileSystem::createDirectories(const std::string& path) {
  std::error_code ec;
  std::filesystem::create_directories(path, ec);
  return !ec;
}

static std::optional<std::string> ReadWithFlags(const std::string& path, int flags) {
  const int fd = ::open(path.c_str(), flags);
  if (fd < 0)
    return std::nullopt;
  // One read into a buffer one byte larger than the file, so that the read of 0 bytes that
  // confirms the end needs no regrowth; the loop only serves a file that grows meanwhile.
  struct stat info {};
  const size_t expected =
      ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) ? static_cast<size_t>(info.st_size) : 0;
  std::string bytes(std::max<size_t>(expected + 1, 4096), '\0');
  size_t size = 0;
  for (;;) {
    if (size == bytes.size())
      bytes.resize(bytes.size() * 2);
    const ssize_t n = ::read(fd, bytes.data() + size, bytes.size() - size);
    if (n < 0) {
      const int error = errno;
      ::close(fd);
      errno = error;
      return std::nullopt;
    }
    if (n == 0)
      break;
    size += static_cast<size_t>(n);
  }
  ::close(fd);
  bytes.resize(size);
  return bytes;
}

std::string PosixFileSystem::readFile(const std::string& path, size_t maxBytes) {
  std::error_code ec;
  const auto size = std::filesystem::file_size(path, ec);
  if (!ec && size > maxBytes)
    throw FileTooLargeError(FileTooLargeMessage(path, maxBytes));
  auto bytes = ReadWithFlags(path, O_RDONLY);
  if (!bytes)
    throw FileError(CannotOpenFileMessage(path, std::strerror(errno)));
  return std::move(*bytes);
}

std::optional<std::string> PosixFileSystem::readFileForUpdate(const std::string& path,
                                                              size_t maxBytes) {
  std::optional<std::string> bytes = ReadWithFlags(path, O_RDWR);
  if (bytes && bytes->size() > maxBytes)
    bytes->resize(maxBytes);
  return bytes;
}

void PosixFileSystem::writeNewFile(const std::string& path, std::string_view bytes,
                                   const std::string& reportedPath) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0)
    throw FileError(CannotCreateFileMessage(reportedPath, std::strerror(errno)));
  size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
    if (n <= 0) {
      const int error = errno;
      ::close(fd);
      throw FileError(CannotCreateFileMessage(reportedPath, std::strerror(error)));
    }
    written += static_cast<size_t>(n);
  }
  if (::close(fd) != 0)
    throw FileError(CannotCreateFileMessage(reportedPath, std::strerror(errno)));
}

void PosixFileSystem::replaceFile(const std::string& source, const std::string& target) {
  if (::rename(source.c_str(), target.c_str()) != 0) {
    throw FileError(CannotCreateFileMessage(target, std::strerror(errno)));
  }
}

bool PosixFileSystem::removeFile(const std::string& path) {
  return ::unlink(path.c_str()) == 0;
}

TemporaryFolder::TemporaryFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "karvoss-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr)
    throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TemporaryFolder::~TemporaryFolder() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

void WriteBytes(const std::string& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace kv::test
