// The application object: the one message loop, the termination request and the default error
// box.
#pragma once

#include <windows.h>

#include <deque>
#include <exception>
#include <functional>
#include <string>

namespace kv {

class Form;

class Application {
 public:
  static Application& Instance();

  // Common controls, the title (the caption of the program's message boxes).
  void Initialize(const std::string& title);
  const std::string& Title() const { return title_; }

  // The main form is not shown when the loop starts when this is off.
  bool ShowMainForm = true;
  void SetMainForm(Form* form) { mainForm_ = form; }
  Form* MainForm() const { return mainForm_; }

  // Runs the message loop until the application is told to terminate.
  void Run();
  // The request takes effect when control is back in a message loop.
  void Terminate();
  bool Terminated() const { return terminated_; }

  // Runs every pending message, then returns.
  void ProcessMessages();
  // Runs one message, or one step of the idle work when none is waiting; else waits for one.
  void HandleMessage();
  // Work done a step at a time whenever no message is waiting, in the order given; `step`
  // returns whether more of its work remains.
  void WhenIdle(std::function<bool()> step) { idleWork_.push_back(std::move(step)); }

  // The default error box: the text with a full stop appended, the title, a stop icon, OK.
  void ShowException(const std::exception& e);

 private:
  bool ProcessMessage(MSG& msg);
  bool PreTranslate(MSG& msg);

  bool RunIdleStep();

  std::deque<std::function<bool()>> idleWork_;
  std::string title_;
  Form* mainForm_ = nullptr;
  bool terminated_ = false;
};

}  // namespace kv
