// The common frame of the program's dialogs: a borderless form in colour 8421440 with a drag bar
// along its top, MS Sans Serif 8 pt, owned by the bar (so no taskbar button), centred at its first
// opening and reopening where it was left.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "toolkit/controls_win.h"
#include "toolkit/form_win.h"
#include "toolkit/gdi_win.h"
#include "widgets/drag_bar_win.h"

namespace kv {

// A label of a dialog: its text at `at` in the dialog's font, `color` on the dialog's background,
// or transparent over whatever the form paints beneath it. A width or height of 0 sizes the
// label to its text.
struct LabelArgs {
  Point at;
  std::string text;
  Color color = clWhite;
  bool transparent = false;
  Size size;
};

class DialogForm : public Form {
 public:
  // Creates the hidden dialog window described by `args` (its class, its own invisible caption,
  // its client size and its owner), and its drag bar sDragBar1 with `dragCaption`.
  void CreateDialogForm(WindowArgs args, const std::string& dragCaption);

  // A label the dialog keeps (the layouts do not name them), placed again at every change of
  // the display scale.
  Label& AddLabel(const LabelArgs& args);
  // Creates `edit` as a one-line edit at `bounds`, white with black text, in the dialog's font.
  void CreateEdit(Edit& edit, Rect bounds);

  TsDragBar sDragBar1;

 protected:
  LRESULT Handle(UINT msg, WPARAM wparam, LPARAM lparam) override;
  void DpiChanged() override;

 private:
  struct DialogLabel {
    Label label;
    LabelArgs args;
  };
  // Its place and size at the form's scale: a label sized to its text is measured in the font
  // it shows.
  void PlaceLabel(DialogLabel& entry);

  std::vector<std::unique_ptr<DialogLabel>> labels_;
};

}  // namespace kv
