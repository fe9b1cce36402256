#include "toolkit/errors.h"

namespace kv {

std::string CannotOpenFileMessage(std::string_view path, std::string_view reason) {
  return "Cannot open file \"" + std::string(path) + "\". " + std::string(reason);
}

std::string CannotCreateFileMessage(std::string_view path, std::string_view reason) {
  return "Cannot create file \"" + std::string(path) + "\". " + std::string(reason);
}

std::string FileTooLargeMessage(std::string_view path, size_t maxBytes) {
  return "Файл \"" + std::string(path) + "\" больше " + std::to_string(maxBytes >> 20) +
         " МБ: Karvoss не читает и не изменяет его";
}

std::string InvalidIntegerMessage(std::string_view word) {
  return "'" + std::string(word) + "' is not a valid integer value";
}

std::string IoErrorMessage(int code) {
  return "I/O error " + std::to_string(code);
}

std::string ErrorBoxText(std::string_view message) {
  std::string text(message);
  if (text.empty() || text.back() != '.')
    text += '.';
  return text;
}

}  // namespace kv
