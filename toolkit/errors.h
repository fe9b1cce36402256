// Errors raised by file operations and conversions. Event handlers let them escape; the toolkit
// shows them in the default error box at the window-procedure boundary.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace kv {

// A file could not be opened, created, read or written. what() is the complete message text
// (UTF-8), without the full stop that the error box appends.
class FileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A file larger than any the program writes: refused before a byte of it is read, so that a
// damaged or foreign file can neither exhaust memory nor be rewritten from a part of it.
class FileTooLargeError : public FileError {
 public:
  using FileError::FileError;
};

// A word of a number list is not a valid integer.
class ConvertError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

inline constexpr std::string_view kReadBeyondEndOfFile = "Read beyond end of file";

// "Cannot open file "%s". %s" with the path and the system's reason.
std::string CannotOpenFileMessage(std::string_view path, std::string_view reason);
// "Cannot create file "%s". %s" with the path and the system's reason.
std::string CannotCreateFileMessage(std::string_view path, std::string_view reason);
// The refusal of a file above `maxBytes`, in the program's Russian.
std::string FileTooLargeMessage(std::string_view path, size_t maxBytes);
// "'%s' is not a valid integer value" with the offending word.
std::string InvalidIntegerMessage(std::string_view word);
// "I/O error %d" with the system error number.
std::string IoErrorMessage(int code);

// The text the default error box shows: the message with a full stop appended when it does not
// already end in one.
std::string ErrorBoxText(std::string_view message);

}  // namespace kv
