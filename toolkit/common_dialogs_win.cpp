#include "toolkit/common_dialogs_win.h"

namespace kv {
namespace {

template <typename Function>
Function Entry(const char* name) {
  static HMODULE library = LoadLibraryW(L"comdlg32.dll");
  return library ? reinterpret_cast<Function>(GetProcAddress(library, name)) : nullptr;
}

}  // namespace

bool ShowOpenFileDialog(OPENFILENAMEW& ofn) {
  using Function = BOOL(WINAPI*)(OPENFILENAMEW*);
  static const auto function = Entry<Function>("GetOpenFileNameW");
  return function && function(&ofn);
}

bool ShowColorDialog(CHOOSECOLORW& cc) {
  using Function = BOOL(WINAPI*)(CHOOSECOLORW*);
  static const auto function = Entry<Function>("ChooseColorW");
  return function && function(&cc);
}

}  // namespace kv
