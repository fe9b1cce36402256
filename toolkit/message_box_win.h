// The program's message boxes, all with UTF-8 texts.
#pragma once

#include <windows.h>

#include <string_view>

namespace kv {

// The window that should own a box shown now: the active window of this thread, if any.
HWND MessageBoxOwner();

int ShowMessageBox(HWND owner, std::string_view text, std::string_view caption, UINT flags);
// Text, one OK button, no icon, the application title.
void ShowPlainMessage(std::string_view text);
// Yes and No with the question icon and the application title; true for Yes.
bool AskYesNo(std::string_view question);
// The default error box: full stop appended, the application title, stop icon, one OK.
void ShowErrorBox(std::string_view message);

}  // namespace kv
