#include "interpreter/dispatch.h"

#include <string_view>

#include "interpreter/built_in_words.h"
#include "interpreter/command_store.h"
#include "interpreter/shortcuts.h"
#include "interpreter/texts.h"
#include "toolkit/text_codec.h"

namespace kv {
namespace {

// The platform's path limit (MAX_PATH) less the terminating NUL, in UTF-16 code units.
constexpr size_t kMaxShellFileLength = 259;
// The shell's result for a file it cannot find.
constexpr int kFileNotFound = 2;

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && text.substr(0, prefix.size()) == prefix;
}

void ReportLaunchFailure(int result, CommandState& state, DispatchHost& host) {
  host.SetFieldText(LaunchFailureText(result), true);
  state.KeepInHistory = false;
}

// "ping" and "telnet": the blank is the only separator; the user sees what will run first.
void RunNetworkCommand(CommandState& state, const std::string& command, DispatchHost& host) {
  const auto [program, parameters] = SplitOnce(command, ' ');
  if (!ShellCanTake(program)) {
    ReportLaunchFailure(kFileNotFound, state, host);
    return;
  }
  host.ShowMessage(program + "/" + parameters);
  host.ShellOpen(program, parameters, "");
}

// Every stored line that begins with the typed text is started, in store order.
bool RunUserCommands(CommandState& state, const std::string& command, DispatchHost& host) {
  host.RepaintBar();
  const std::vector<std::string>& lines = host.Commands();
  const std::vector<size_t> matches = MatchingUserCommands(lines, command);
  bool refused = false;
  for (size_t index : matches) {
    const CommandEntry entry = SplitEntryLine(lines[index], kEntrySeparator);
    if (!ShellCanTake(entry.path)) {
      refused = true;
      continue;
    }
    host.ShellOpen(entry.path, entry.parameters, entry.workingFolder);
  }
  if (refused)
    ReportLaunchFailure(kFileNotFound, state, host);
  return !matches.empty();
}

void RunPlainLaunch(CommandState& state, DispatchHost& host) {
  const auto [program, parameters] = SplitOnce(state.CurrentCommand, kEntrySeparator);
  const int result =
      ShellCanTake(program) ? host.ShellOpen(program, parameters, "") : kFileNotFound;
  if (result <= 32)
    ReportLaunchFailure(result, state, host);
}

}  // namespace

std::span<const std::string_view> DispatchWords() {
  static const std::vector<std::string_view> names = [] {
    std::vector<std::string_view> words;
    for (const BuiltInWord& word : BuiltInWords())
      words.push_back(word.name);
    return words;
  }();
  return names;
}

bool ShellCanTake(std::string_view file) {
  if (StartsWith(file, "\\\\?\\"))
    return true;
  size_t units = 0;
  for (size_t pos = 0; pos < file.size() && units <= kMaxShellFileLength;)
    units += decodeUtf8(file, pos) > 0xFFFF ? 2 : 1;
  return units <= kMaxShellFileLength;
}

std::string LaunchFailureText(int result) {
  if (result == 2)
    return std::string(texts::kCommandNotFound);
  return std::string(texts::kUnknownErrorStart) + std::to_string(result) + ")";
}

void ExecuteCommand(CommandState& state, DispatchHost& host) {
  state.KeepInHistory = true;
  // A copy: the actions below may change CurrentCommand ("clearhistory" empties it).
  const std::string command = state.CurrentCommand;

  if (const BuiltInWord* word = FindBuiltInWord(command)) {
    word->action(state, host);
  } else if (const ShortcutRow* row = FindShortcut(command)) {
    host.ShellOpen(std::string(row->file), std::string(row->parameters), "");
    if (row->hidesBar)
      host.HidePanel();
  } else if (StartsWith(command, "ping") || StartsWith(command, "telnet")) {
    RunNetworkCommand(state, command, host);
  } else if (!RunUserCommands(state, command, host)) {
    RunPlainLaunch(state, host);
  }
}

}  // namespace kv
