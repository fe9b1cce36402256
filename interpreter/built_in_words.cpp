#include "interpreter/built_in_words.h"

#include <algorithm>
#include <string>

#include "interpreter/texts.h"

namespace kv {
namespace {

void ShowHelp(CommandState&, DispatchHost& host) {
  host.ShowHelp();
}

void EditSettings(CommandState&, DispatchHost& host) {
  host.EditSettings();
}

void ShowAbout(CommandState&, DispatchHost& host) {
  host.ShowAbout();
}

void HidePanel(CommandState&, DispatchHost& host) {
  host.HidePanel();
}

// The application ends once control is back in its loop, so the command is still recorded.
void Quit(CommandState&, DispatchHost& host) {
  host.HidePanel();
  host.Terminate();
}

// A missing command.cms leaves the loaded lines as they are.
void EditCommands(CommandState&, DispatchHost& host) {
  if (host.ShowCommandEditor() == kModalResultOk)
    host.ReloadCommands();
}

// An error writing the history stops here: the field, the command and KeepInHistory stay.
void ClearHistory(CommandState& state, DispatchHost& host) {
  host.ClearHistory();
  host.SetFieldText(std::string(texts::kPrompt), false);
  state.CurrentCommand.clear();
  state.KeepInHistory = false;
}

template <TRestartWindows kType>
void EndSession(CommandState&, DispatchHost& host) {
  host.RestartWindows(kType);
}

using enum TRestartWindows;

// Two names for one action are two rows, the first tested first. "about", "hide" and
// "clearhistory" were never refused as user names, although the dispatcher never reaches such a
// user command.
constexpr BuiltInWord kWords[] = {
    {"help", ShowHelp, Reserved::yes},
    {"options", EditSettings, Reserved::yes},
    {"about", ShowAbout, Reserved::no},
    {"hide", HidePanel, Reserved::no},
    {"quit", Quit, Reserved::yes},
    {"exit", Quit, Reserved::yes},
    {"commed", EditCommands, Reserved::yes},
    {"clearhistory", ClearHistory, Reserved::no},
    {"shutdown", EndSession<rwShutdown>, Reserved::yes},
    {"poweroff", EndSession<rwPowerOff>, Reserved::yes},
    {"reboot", EndSession<rwReboot>, Reserved::yes},
    {"restart", EndSession<rwReboot>, Reserved::yes},
    {"forced", EndSession<rwForced>, Reserved::yes},
    {"logoff", EndSession<rwLogOff>, Reserved::yes},
};

}  // namespace

std::span<const BuiltInWord> BuiltInWords() {
  return kWords;
}

const BuiltInWord* FindBuiltInWord(std::string_view typed) {
  const auto* word = std::ranges::find(kWords, typed, &BuiltInWord::name);
  return word == std::end(kWords) ? nullptr : word;
}

}  // namespace kv
