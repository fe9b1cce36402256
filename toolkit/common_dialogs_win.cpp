#include "toolkit/common_dialogs_win.h"

#include "toolkit/system_library_win.h"

namespace kv {

bool ShowOpenFileDialog(OPENFILENAMEW& ofn) {
  using Function = BOOL(WINAPI*)(OPENFILENAMEW*);
  static const auto function = SystemEntry<Function>(L"comdlg32.dll", "GetOpenFileNameW");
  return function && function(&ofn);
}

bool ShowColorDialog(CHOOSECOLORW& cc) {
  using Function = BOOL(WINAPI*)(CHOOSECOLORW*);
  static const auto function = SystemEntry<Function>(L"comdlg32.dll", "ChooseColorW");
  return function && function(&cc);
}

}  // namespace kv
