#include "app/exit_request.h"

namespace kv {
namespace {

bool IsSpace(char c) {
  return c == ' ' || c == '\t';
}

char AsciiLower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size())
    return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i]))
      return false;
  }
  return true;
}

}  // namespace

bool IsExitRequest(std::string_view arguments) {
  while (!arguments.empty() && IsSpace(arguments.front()))
    arguments.remove_prefix(1);
  while (!arguments.empty() && IsSpace(arguments.back()))
    arguments.remove_suffix(1);
  if (arguments.size() >= 2 && arguments.front() == '"' && arguments.back() == '"')
    arguments = arguments.substr(1, arguments.size() - 2);
  return arguments.size() == 5 && (arguments[0] == '/' || arguments[0] == '-') &&
         EqualsIgnoringAsciiCase(arguments.substr(1), "exit");
}

bool IsKarvossImage(std::string_view imagePath) {
  const size_t separator = imagePath.find_last_of("\\/");
  const std::string_view name =
      separator == std::string_view::npos ? imagePath : imagePath.substr(separator + 1);
  return EqualsIgnoringAsciiCase(name, "karvoss.exe");
}

EndingStep NextEndingStep(int elapsedMs, bool anyRunning, bool terminated) {
  if (!anyRunning)
    return EndingStep::done;
  if (elapsedMs >= kEndDeadlineMs)
    return EndingStep::giveUp;
  if (elapsedMs >= kAskedEndMs && !terminated)
    return EndingStep::terminate;
  return EndingStep::wait;
}

}  // namespace kv
