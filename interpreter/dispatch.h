// ExecuteCommand: turns the one typed line into an action, testing the names in a fixed order.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "interpreter/session.h"
#include "toolkit/modal_result.h"

namespace kv {

// The two program-wide values that carry one command from the field to the history.
struct CommandState {
  std::string CurrentCommand;
  bool KeepInHistory = false;
};

// What the dispatcher reaches of the bar and the system.
class DispatchHost {
 public:
  virtual ~DispatchHost() = default;

  // Built-in commands.
  virtual void ShowHelp() = 0;          // the help window, modally; the result is ignored
  virtual void EditSettings() = 0;      // the options window and what follows it
  virtual void ShowAbout() = 0;         // the About window, modally; the result is ignored
  virtual void HidePanel() = 0;         // slide the bar out and hide it
  virtual void Terminate() = 0;         // ask the application to end at the next loop turn
  virtual int ShowCommandEditor() = 0;  // the command editor, modally; its modal result
  virtual void ReloadCommands() = 0;    // command.cms into Commands, when the file exists
  virtual void ClearHistory() = 0;      // history list, file and drop-down emptied
  virtual void SetFieldText(const std::string& text, bool selectAll) = 0;
  virtual void RepaintBar() = 0;
  virtual const std::vector<std::string>& Commands() = 0;  // the command store's lines

  // The system.
  virtual void RestartWindows(TRestartWindows type) = 0;
  // ShellExecute with the verb "open", no owner and SW_SHOW; the shell's result code.
  virtual int ShellOpen(const std::string& file, const std::string& parameters,
                        const std::string& directory) = 0;
  // The plain message window (text, one OK, no icon, the application title), modal.
  virtual void ShowMessage(const std::string& text) = 0;
};

// The first test that matches CurrentCommand runs its action and ends the dispatch: the built-in
// and session words (BuiltInWords), the shortcut table, "ping" and "telnet", every stored user
// command that begins with the text, and last the plain launch.
void ExecuteCommand(CommandState& state, DispatchHost& host);

// The words ExecuteCommand takes itself, before the shortcut table: the names of BuiltInWords,
// the built-in commands, then the session commands, in the order it tests them.
std::span<const std::string_view> DispatchWords();

// The field's text after a failed plain launch with the shell's result code (0 to 32).
std::string LaunchFailureText(int result);

// Whether the shell can take `file` (UTF-8) as the file to open: no longer than the platform's
// path limit, unless it is a "\\?\" path. A longer name is never handed over (the shell's path
// search overruns its stack on one).
bool ShellCanTake(std::string_view file);

}  // namespace kv
