// ExecuteCommand with a typed text and a command store from the input, over a host that only
// records what it is asked to do. The record must be the one the order of tests prescribes.
// Input: a flags byte (bit 0: the command editor closes with OK; bit 1: clearing the history
// fails), the typed text up to the first LF, then the store's lines.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "interpreter/texts.h"
#include "interpreter/command_store.h"
#include "fuzz/fuzz_check.h"
#include "interpreter/dispatch.h"
#include "interpreter/shortcuts.h"
#include "tests/support/recording_host.h"
#include "toolkit/errors.h"
#include "toolkit/line_list.h"
#include "toolkit/text_codec.h"

namespace kv {
namespace {

// The shell's answer depends on the request only, so a run is repeatable; about half the
// answers are failures (32 or less).
int ShellResult(const std::string& file, const std::string& parameters) {
  std::uint32_t hash = 2166136261u;
  for (const std::string* text : {&file, &parameters}) {
    for (unsigned char c : *text)
      hash = (hash ^ c) * 16777619u;
    hash = (hash ^ 0xFF) * 16777619u;
  }
  return static_cast<int>(hash % 65);
}

struct Outcome {
  std::vector<std::string> log;
  bool keep = true;
  bool cleared = false;  // CurrentCommand emptied
  bool throws = false;
};

// A file name the shell can take: at most 259 UTF-16 units, or a "\\?\" path.
bool FitsAPath(const std::string& file) {
  if (file.starts_with("\\\\?\\"))
    return true;
  size_t units = 0;
  for (size_t pos = 0; pos < file.size();)
    units += decodeUtf8(file, pos) >= 0x10000 ? 2 : 1;
  return units <= 259;
}

// The order of tests, written out once more from the rules: the first name that matches wins.
Outcome Expected(const std::string& typed, const std::vector<std::string>& commands, bool editorOk,
                 bool failClear) {
  Outcome o;
  const std::string notFound = "field " + LaunchFailureText(2) + " (selected)";
  const auto session = [&](TRestartWindows type) {
    o.log.push_back("session " + std::to_string(static_cast<int>(type)));
  };
  if (typed == "help") {
    o.log = {"help"};
  } else if (typed == "options") {
    o.log = {"options"};
  } else if (typed == "about") {
    o.log = {"about"};
  } else if (typed == "hide") {
    o.log = {"hide"};
  } else if (typed == "quit" || typed == "exit") {
    o.log = {"hide", "terminate"};
  } else if (typed == "commed") {
    o.log = {"commed"};
    if (editorOk)
      o.log.push_back("reload");
  } else if (typed == "clearhistory") {
    if (failClear) {
      o.throws = true;
    } else {
      o.log = {"clear", "field " + std::string(texts::kPrompt)};
      o.keep = false;
      o.cleared = true;
    }
  } else if (typed == "shutdown") {
    session(TRestartWindows::rwShutdown);
  } else if (typed == "poweroff") {
    session(TRestartWindows::rwPowerOff);
  } else if (typed == "reboot" || typed == "restart") {
    session(TRestartWindows::rwReboot);
  } else if (typed == "forced") {
    session(TRestartWindows::rwForced);
  } else if (typed == "logoff") {
    session(TRestartWindows::rwLogOff);
  } else if (const ShortcutRow* row = FindShortcut(typed)) {
    o.log.push_back(test::OpenLine(std::string(row->file), std::string(row->parameters), ""));
    if (row->hidesBar)
      o.log.push_back("hide");
  } else if (typed.starts_with("ping") || typed.starts_with("telnet")) {
    const SplitText split = SplitOnce(typed, ' ');
    if (FitsAPath(split.head)) {
      o.log.push_back("message " + split.head + "/" + split.tail);
      o.log.push_back(test::OpenLine(split.head, split.tail, ""));
    } else {
      o.log.push_back(notFound);
      o.keep = false;
    }
  } else {
    o.log.push_back("repaint");
    bool matched = false;
    bool refused = false;
    for (const std::string& line : commands) {
      if (typed.empty() || !line.starts_with(typed))
        continue;
      const CommandEntry entry = SplitEntryLine(line, kEntrySeparator);
      if (FitsAPath(entry.path))
        o.log.push_back(test::OpenLine(entry.path, entry.parameters, entry.workingFolder));
      else
        refused = true;
      matched = true;
    }
    if (refused) {
      o.log.push_back(notFound);
      o.keep = false;
    }
    if (!matched) {
      const SplitText split = SplitOnce(typed, kEntrySeparator);
      int result = 2;
      if (FitsAPath(split.head)) {
        o.log.push_back(test::OpenLine(split.head, split.tail, ""));
        result = ShellResult(split.head, split.tail);
      }
      if (result <= 32) {
        o.log.push_back("field " + LaunchFailureText(result) + " (selected)");
        o.keep = false;
      }
    }
  }
  return o;
}

}  // namespace
}  // namespace kv

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  using namespace kv;
  if (size == 0)
    return 0;
  const bool editorOk = (data[0] & 1) != 0;
  const bool failClear = (data[0] & 2) != 0;
  const std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
  const size_t lineEnd = rest.find('\n');
  const std::string typed(rest.substr(0, lineEnd));
  const std::vector<std::string> commands = lineEnd == std::string_view::npos
                                                ? std::vector<std::string>{}
                                                : parseLineList(rest.substr(lineEnd + 1));

  test::RecordingHost host;
  host.commands = commands;
  host.editorResult = editorOk ? kModalResultOk : kModalResultCancel;
  host.failClearHistory = failClear;
  host.shellResult = ShellResult;
  CommandState state;
  state.CurrentCommand = typed;
  state.KeepInHistory = false;
  bool threw = false;
  try {
    ExecuteCommand(state, host);
  } catch (const FileError&) {
    threw = true;
  }

  const Outcome expected = Expected(typed, commands, editorOk, failClear);
  FUZZ_CHECK(threw == expected.throws);
  FUZZ_CHECK(host.log == expected.log);
  // KeepInHistory is switched on first; an error leaves it on and the command untouched.
  FUZZ_CHECK(state.KeepInHistory == expected.keep);
  FUZZ_CHECK(state.CurrentCommand == (expected.cleared ? std::string() : typed));
  return 0;
}
