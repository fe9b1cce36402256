#include "toolkit/application_win.h"

#include <commctrl.h>

#include "toolkit/form_win.h"
#include "toolkit/message_box_win.h"

namespace kv {

Application& Application::Instance() {
  static Application app;
  return app;
}

void Application::Initialize(const std::string& title) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);
  title_ = title;
}

void Application::Run() {
  if (mainForm_ && ShowMainForm)
    ShowWindow(mainForm_->Hwnd(), SW_SHOW);
  while (!terminated_)
    HandleMessage();
}

void Application::Terminate() {
  PostQuitMessage(0);
}

bool Application::PreTranslate(MSG& msg) {
  // Forms only take part in keyboard handling (Tab, Enter, Esc, accelerators).
  if (msg.hwnd == nullptr ||
      (msg.message != WM_KEYDOWN && msg.message != WM_CHAR && msg.message != WM_SYSCHAR)) {
    return false;
  }
  Form* form = Form::FormOf(msg.hwnd);
  return form && form->PreTranslate(msg);
}

bool Application::ProcessMessage(MSG& msg) {
  if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
    return false;
  if (msg.message == WM_QUIT) {
    terminated_ = true;
    return true;
  }
  // A key a form takes (Enter or Space on a drawn button) runs its handler here, outside any
  // window procedure: its error is shown the same way, and the program goes on.
  bool taken = false;
  try {
    taken = PreTranslate(msg);
  } catch (const std::exception& e) {
    ShowException(e);
    taken = true;
  }
  if (!taken) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return true;
}

void Application::ProcessMessages() {
  MSG msg;
  while (ProcessMessage(msg)) {
  }
}

void Application::HandleMessage() {
  MSG msg;
  if (!ProcessMessage(msg) && !RunIdleStep())
    WaitMessage();
}

bool Application::RunIdleStep() {
  if (idleWork_.empty() || terminated_)
    return false;
  // Taken out while it runs: the step may itself queue more work.
  std::function<bool()> step = std::move(idleWork_.front());
  idleWork_.pop_front();
  bool more = false;
  try {
    more = step();
  } catch (const std::exception& e) {
    ShowException(e);
  }
  if (more)
    idleWork_.push_front(std::move(step));
  return true;
}

void Application::ShowException(const std::exception& e) {
  ShowErrorBox(e.what());
}

}  // namespace kv
