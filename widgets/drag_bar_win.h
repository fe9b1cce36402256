// TsDragBar on Windows: the 20-pixel caption strip along a dialog's top edge. A left press hands
// the dialog the system's interactive move.
#pragma once

#include <windows.h>

#include <string>

#include "toolkit/gdi_text_win.h"
#include "toolkit/gdi_win.h"
#include "toolkit/window_win.h"
#include "widgets/background.h"
#include "widgets/drag_bar.h"

namespace kv {

class TsDragBar final : public Window {
 public:
  TsDragBar();

  // Creates the bar across the top of `dragged` (its client width, 20 high) with the dialogs'
  // settings: MS Sans Serif 11 px bold white caption, colour 8421440, the navy-blue gradient at
  // its default 70 percent, the hand pointer. `dragged` is DraggedControl.
  void Create(HWND dragged, const std::string& caption);

  void SetCaption(const std::string& caption);
  void SetEnabled(bool enabled);
  BackgroundSettings& Background() { return background_; }
  // The cached background as last painted (for pixel checks and tests).
  const Bitmap& CachedBackground() { return cache_.bitmap(); }

 protected:
  LRESULT Handle(UINT msg, WPARAM wparam, LPARAM lparam) override;

 private:
  void MarkStale();

  HWND dragged_ = nullptr;
  DragBarFace face_;
  BackgroundSettings background_;
  WindowsSystemColors systemColors_;
  DibSection cache_;
  GdiTextRenderer text_{&cache_};
  bool stale_ = true;
};

}  // namespace kv
