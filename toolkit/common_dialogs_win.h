// The common dialogs, loaded on first use: comdlg32 drags the printing libraries in with it
// (about 5 MB and a noticeable part of the start-up), and most sessions never open a dialog.
#pragma once

#include <windows.h>
#include <commdlg.h>

namespace kv {

// GetOpenFileNameW; false when cancelled or when the library is missing.
bool ShowOpenFileDialog(OPENFILENAMEW& ofn);
// ChooseColorW; false when cancelled or when the library is missing.
bool ShowColorDialog(CHOOSECOLORW& cc);

}  // namespace kv
