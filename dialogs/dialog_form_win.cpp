#include "dialogs/dialog_form_win.h"

#include "toolkit/text_win.h"

namespace kv {

void DialogForm::CreateDialogForm(WindowArgs args, const std::string& dragCaption) {
  // An owned popup gets no taskbar button; the drag bar stands in for the missing title bar.
  args.style = WS_POPUP;
  CreateForm(std::move(args), kDialogColor);
  sDragBar1.Create(Hwnd(), dragCaption);
}

Label& DialogForm::AddLabel(const LabelArgs& args) {
  const std::wstring wide = Widen(args.text);
  // An auto-sized label stays on one line, as it was measured; a label given a box breaks its
  // lines at words within it.
  const DWORD wrap = args.size.width <= 0 ? SS_LEFTNOWORDWRAP : SS_LEFT;
  Size size = args.size;
  if (size.width <= 0 || size.height <= 0) {
    // Sized to its text, like an auto-sized label.
    ScopedGetDC dc(Hwnd());
    ScopedSelect font(dc, FormFont());
    RECT r{0, 0, 0, 0};
    DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &r,
              DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS);
    // Glyphs may run a pixel or two past the measured extent (Wine's substitutes for MS Sans
    // Serif do); the spare room is the label's own background, so it costs nothing to see.
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    if (size.width <= 0)
      size.width = r.right + metrics.tmAveCharWidth;
    if (size.height <= 0)
      size.height = r.bottom;
  }
  auto& label = *labels_.emplace_back(std::make_unique<Label>());
  label.Create({.text = args.text,
                .style = WS_CHILD | WS_VISIBLE | wrap | SS_NOPREFIX,
                .bounds = {args.at.x, args.at.y, args.at.x + size.width, args.at.y + size.height},
                .parent = Hwnd(),
                .font = FormFont()});
  if (args.transparent)
    label.Colors().SetTransparent(args.color);
  else
    label.Colors().Set(args.color, FormColor());
  return label;
}

void DialogForm::CreateEdit(Edit& edit, Rect bounds) {
  edit.Create({.style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL,
               .exStyle = WS_EX_CLIENTEDGE,
               .bounds = bounds,
               .parent = Hwnd(),
               .font = FormFont()});
  edit.Colors().Set(clBlack, clWhite);
}

LRESULT DialogForm::Handle(UINT msg, WPARAM wparam, LPARAM lparam) {
  // The bar is aligned to the top: it keeps the full client width.
  if (msg == WM_SIZE && sDragBar1.Hwnd())
    sDragBar1.SetBounds(0, 0, LOWORD(lparam), kDragBarHeight);
  return Form::Handle(msg, wparam, lparam);
}

}  // namespace kv
