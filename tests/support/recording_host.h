// A dispatch host that records every call as one line, so a test or a fuzz target reads the
// whole conversation in order: "help", "open [file] [parameters] [folder]", "field text".
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "interpreter/dispatch.h"
#include "toolkit/errors.h"

namespace kv::test {

inline std::string OpenLine(const std::string& file, const std::string& parameters,
                            const std::string& directory) {
  return "open [" + file + "] [" + parameters + "] [" + directory + "]";
}

class RecordingHost : public DispatchHost {
 public:
  std::vector<std::string> log;
  std::vector<std::string> commands;
  int editorResult = kModalResultCancel;
  bool failClearHistory = false;
  // The shell's answer to a request (above 32: started).
  std::function<int(const std::string& file, const std::string& parameters)> shellResult =
      [](const std::string&, const std::string&) { return 42; };

  void ShowHelp() override { log.push_back("help"); }
  void EditSettings() override { log.push_back("options"); }
  void ShowAbout() override { log.push_back("about"); }
  void HidePanel() override { log.push_back("hide"); }
  void Terminate() override { log.push_back("terminate"); }
  int ShowCommandEditor() override {
    log.push_back("commed");
    return editorResult;
  }
  void ReloadCommands() override { log.push_back("reload"); }
  void ClearHistory() override {
    if (failClearHistory)
      throw FileError("Cannot create file \"history.cmh\". Access denied");
    log.push_back("clear");
  }
  void SetFieldText(const std::string& text, bool selectAll) override {
    log.push_back("field " + text + (selectAll ? " (selected)" : ""));
  }
  void RepaintBar() override { log.push_back("repaint"); }
  const std::vector<std::string>& Commands() override { return commands; }
  void RestartWindows(TRestartWindows type) override {
    log.push_back("session " + std::to_string(static_cast<int>(type)));
  }
  int ShellOpen(const std::string& file, const std::string& parameters,
                const std::string& directory) override {
    log.push_back(OpenLine(file, parameters, directory));
    return shellResult(file, parameters);
  }
  void ShowMessage(const std::string& text) override { log.push_back("message " + text); }
};

}  // namespace kv::test
