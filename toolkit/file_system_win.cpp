#include "toolkit/file_system_win.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>

#include "toolkit/errors.h"
#include "toolkit/handles_win.h"
#include "toolkit/text_win.h"

namespace kv {
namespace {

// Scanners, indexers and backup tools hold a file for milliseconds; an open or a rename they
// refuse is tried again for about half a second. A file being deleted reports access denied
// (or a pending delete) until its last handle closes. `attempt` returns success and leaves the
// system's error behind, which stays the thread's last error when this gives up.
template <typename Attempt>
bool RetryWhileHeld(Attempt attempt) {
  for (DWORD wait = 1;; wait *= 2) {
    if (attempt())
      return true;
    const DWORD error = GetLastError();
    const bool transient = error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
                           error == ERROR_ACCESS_DENIED || error == ERROR_DELETE_PENDING;
    if (!transient || wait > 256)
      return false;
    Sleep(wait);
  }
}

HANDLE OpenHeldFile(const std::wstring& name, DWORD access, DWORD share, DWORD flags) {
  HANDLE opened = INVALID_HANDLE_VALUE;
  RetryWhileHeld([&] {
    opened = CreateFileW(name.c_str(), access, share, nullptr, OPEN_EXISTING, flags, nullptr);
    return opened != INVALID_HANDLE_VALUE;
  });
  return opened;
}

// Reads in pieces into a buffer that grows with what arrived, so a file that claims a size it
// does not hold (sparse, or shrinking) costs no more memory than its bytes; at most `maxBytes`.
std::optional<std::string> ReadAll(HANDLE file, size_t maxBytes) {
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file, &size))
    return std::nullopt;
  constexpr size_t kPiece = size_t{1} << 20;
  std::string bytes;
  bytes.reserve(std::min({static_cast<size_t>(size.QuadPart), maxBytes, kPiece}));
  while (bytes.size() < maxBytes) {
    const size_t done = bytes.size();
    const size_t chunk = std::min(maxBytes - done, kPiece);
    bytes.resize(done + chunk);
    DWORD read = 0;
    if (!ReadFile(file, bytes.data() + done, static_cast<DWORD>(chunk), &read, nullptr))
      return std::nullopt;
    bytes.resize(done + read);
    if (read == 0)
      break;
  }
  return bytes;
}

DWORD Attributes(const std::string& path) {
  return GetFileAttributesW(Widen(path).c_str());
}

}  // namespace

bool WindowsFileSystem::fileExists(const std::string& path) {
  const DWORD a = Attributes(path);
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool WindowsFileSystem::directoryExists(const std::string& path) {
  const DWORD a = Attributes(path);
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool WindowsFileSystem::createDirectories(const std::string& path) {
  // Without the shell's own function, whose library a waiting process should not carry: the
  // missing parents first, then the folder.
  if (directoryExists(path))
    return true;
  const size_t slash = path.find_last_of("\\/");
  if (slash != std::string::npos && slash > 0) {
    const std::string parent = path.substr(0, slash);
    // A drive ("C:") or a root ("\\") is never asked for.
    if (parent.back() != ':' && parent.find_first_not_of("\\/") != std::string::npos)
      createDirectories(parent);
  }
  return CreateDirectoryW(Widen(path).c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

std::string WindowsFileSystem::readFile(const std::string& path, size_t maxBytes) {
  KernelHandle file(OpenHeldFile(Widen(path), GENERIC_READ,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN));
  if (!file.Valid())
    throw FileError(CannotOpenFileMessage(path, SystemErrorText(GetLastError())));
  LARGE_INTEGER size{};
  if (GetFileSizeEx(file.Get(), &size) && static_cast<unsigned long long>(size.QuadPart) > maxBytes)
    throw FileTooLargeError(FileTooLargeMessage(path, maxBytes));
  // One byte past the bound tells a file that grew past it since its size was asked.
  std::optional<std::string> bytes = ReadAll(file.Get(), maxBytes + 1);
  if (!bytes)
    throw FileError(CannotOpenFileMessage(path, SystemErrorText(GetLastError())));
  if (bytes->size() > maxBytes)
    throw FileTooLargeError(FileTooLargeMessage(path, maxBytes));
  return std::move(*bytes);
}

std::optional<std::string> WindowsFileSystem::readFileForUpdate(const std::string& path,
                                                                size_t maxBytes) {
  // Windows refuses write access to a read-only file; Wine running as root grants it.
  const DWORD attributes = Attributes(path);
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
    return std::nullopt;
  KernelHandle file(OpenHeldFile(Widen(path), GENERIC_READ | GENERIC_WRITE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE, FILE_ATTRIBUTE_NORMAL));
  if (!file.Valid())
    return std::nullopt;
  // Opened but unreadable is an input/output error, not a file that cannot be opened: the file
  // must not be deleted for it.
  std::optional<std::string> bytes = ReadAll(file.Get(), maxBytes);
  if (!bytes)
    throw FileError(IoErrorMessage(static_cast<int>(GetLastError())));
  return bytes;
}

void WindowsFileSystem::writeNewFile(const std::string& path, std::string_view bytes,
                                     const std::string& reportedPath) {
  const std::wstring name = Widen(path);
  // A temporary file left by a crash and since made read-only must not block every later save.
  const DWORD attributes = GetFileAttributesW(name.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
    SetFileAttributesW(name.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
  KernelHandle file(CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  const auto fail = [&](DWORD error) {
    throw FileError(CannotCreateFileMessage(reportedPath, SystemErrorText(error)));
  };
  if (!file.Valid())
    fail(GetLastError());
  size_t done = 0;
  while (done < bytes.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 30));
    DWORD written = 0;
    if (!WriteFile(file.Get(), bytes.data() + done, chunk, &written, nullptr) || written == 0) {
      fail(GetLastError());
    }
    done += written;
  }
  // The data must be on disk before the rename makes it the file of record.
  if (!FlushFileBuffers(file.Get()))
    fail(GetLastError());
  if (!file.Close())
    fail(GetLastError());
}

void WindowsFileSystem::replaceFile(const std::string& source, const std::string& target) {
  // Windows refuses to replace a read-only file, Wine renames over it: refuse here as well, so a
  // file the user protected is never rewritten.
  const DWORD attributes = Attributes(target);
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
    throw FileError(CannotCreateFileMessage(target, SystemErrorText(ERROR_ACCESS_DENIED)));
  // A file open in another process cannot be renamed over, even when that process shares it
  // fully (such a reader is refused as access denied).
  const std::wstring from = Widen(source);
  const std::wstring to = Widen(target);
  if (!RetryWhileHeld([&] {
        return MoveFileExW(from.c_str(), to.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
      })) {
    throw FileError(CannotCreateFileMessage(target, SystemErrorText(GetLastError())));
  }
}

bool WindowsFileSystem::removeFile(const std::string& path) {
  return DeleteFileW(Widen(path).c_str()) != 0;
}

std::string ExecutableFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);
  }
  const size_t slash = path.find_last_of(L"\\/");
  return Narrow(slash == std::wstring::npos ? std::wstring() : path.substr(0, slash));
}

}  // namespace kv
