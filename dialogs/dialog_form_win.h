// The common frame of the program's dialogs: a borderless form in colour 8421440 with a drag bar
// along its top, MS Sans Serif 8 pt, owned by the bar (so no taskbar button), centred at its first
// opening and reopening where it was left.
#pragma once

#include <windows.h>

#include <map>
#include <set>
#include <string>

#include "toolkit/form_win.h"
#include "toolkit/gdi_win.h"
#include "widgets/drag_bar_win.h"

namespace kv {

class DialogForm : public Form {
 public:
  // Creates the hidden dialog window of class `className` with the given client size, and its
  // drag bar sDragBar1 with `dragCaption`. `caption` is the window's own (invisible) caption.
  void CreateDialogForm(const wchar_t* className, const std::string& caption,
                        const std::string& dragCaption, int clientWidth, int clientHeight,
                        HWND owner);

  // A label: a static text in the dialog's font, `color` on the dialog's background, or
  // transparent over whatever the form paints beneath it. A width or height of 0 sizes the label
  // to its text.
  HWND AddLabel(int x, int y, const std::string& text, Color color = clWhite,
                bool transparent = false, int width = 0, int height = 0);
  // A one-line edit, white with black text, in the dialog's font.
  HWND AddEdit(Rect bounds, int id = 0);

  TsDragBar sDragBar1;

 protected:
  LRESULT Handle(UINT msg, WPARAM wparam, LPARAM lparam) override;

 private:
  struct LabelLook {
    Color color;
    bool transparent;
  };
  std::map<HWND, LabelLook> labels_;
  std::set<HWND> edits_;
  GdiObject<HBRUSH> background_;
};

}  // namespace kv
