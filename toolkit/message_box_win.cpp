#include "toolkit/message_box_win.h"

#include "toolkit/application_win.h"
#include "toolkit/errors.h"
#include "toolkit/text_win.h"

namespace kv {

HWND MessageBoxOwner() {
  HWND active = GetActiveWindow();
  return active && IsWindowVisible(active) ? active : nullptr;
}

int ShowMessageBox(HWND owner, std::string_view text, std::string_view caption, UINT flags) {
  return MessageBoxW(owner, Widen(text).c_str(), Widen(caption).c_str(), flags);
}

void ShowPlainMessage(std::string_view text) {
  ShowMessageBox(MessageBoxOwner(), text, Application::Instance().Title(), MB_OK);
}

bool AskYesNo(std::string_view question) {
  return ShowMessageBox(MessageBoxOwner(), question, Application::Instance().Title(),
                        MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void ShowErrorBox(std::string_view message) {
  ShowMessageBox(MessageBoxOwner(), ErrorBoxText(message), Application::Instance().Title(),
                 MB_OK | MB_ICONSTOP);
}

}  // namespace kv
