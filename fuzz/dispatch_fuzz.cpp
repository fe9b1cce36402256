// ExecuteCommand with a typed text and a command store from the input, over a host that only
// records what it is asked to do. The record must be the one the order of tests prescribes; a
// word of the built-in table must do what its row's action does alone.
// Input: a flags byte (bit 0: the command editor closes with OK; bit 1: clearing the history
// fails), the typed text up to the first LF, then the store's lines.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "interpreter/built_in_words.h"
#include "interpreter/command_store.h"
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
  std::string command;  // CurrentCommand afterwards
  bool throws = false;
};

// The host the dispatch runs against, as the input sets it up.
void SetUpHost(test::RecordingHost& host, const std::vector<std::string>& commands, bool editorOk,
               bool failClear) {
  host.commands = commands;
  host.editorResult = editorOk ? kModalResultOk : kModalResultCancel;
  host.failClearHistory = failClear;
  host.shellResult = ShellResult;
}

// A word of the built-in table does what its row's action does alone, on a host set up alike.
Outcome WordOutcome(const BuiltInWord& word, const std::string& typed,
                    const std::vector<std::string>& commands, bool editorOk, bool failClear) {
  test::RecordingHost host;
  SetUpHost(host, commands, editorOk, failClear);
  CommandState state{typed, true};
  Outcome o;
  try {
    word.action(state, host);
  } catch (const FileError&) {
    o.throws = true;
  }
  o.log = host.log;
  o.keep = state.KeepInHistory;
  o.command = state.CurrentCommand;
  return o;
}

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
  for (const BuiltInWord& word : BuiltInWords()) {
    if (typed == word.name)
      return WordOutcome(word, typed, commands, editorOk, failClear);
  }
  Outcome o;
  o.command = typed;
  const std::string notFound = "field " + LaunchFailureText(2) + " (selected)";
  if (const ShortcutRow* row = FindShortcut(typed)) {
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
  SetUpHost(host, commands, editorOk, failClear);
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
  FUZZ_CHECK(state.CurrentCommand == expected.command);
  return 0;
}
