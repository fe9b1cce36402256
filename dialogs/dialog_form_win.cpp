#include "dialogs/dialog_form_win.h"

#include "toolkit/text_win.h"

namespace kv {

void DialogForm::CreateDialogForm(WindowArgs args, const std::string& dragCaption) {
  // An owned popup gets no taskbar button; the drag bar stands in for the missing title bar.
  args.style = WS_POPUP;
  CreateForm(std::move(args), kDialogColor);
  sDragBar1.Create(*this, dragCaption);
}

Label& DialogForm::AddLabel(const LabelArgs& args) {
  // An auto-sized label stays on one line, as it was measured; a label given a box breaks its
  // lines at words within it.
  const DWORD wrap = args.size.width <= 0 ? SS_LEFTNOWORDWRAP : SS_LEFT;
  auto& entry = *labels_.emplace_back(std::make_unique<DialogLabel>());
  entry.args = args;
  entry.label.Create({.text = args.text,
                      .style = WS_CHILD | WS_VISIBLE | wrap | SS_NOPREFIX,
                      .parent = Hwnd(),
                      .font = FormFont()});
  PlaceLabel(entry);
  if (args.transparent)
    entry.label.Colors().SetTransparent(args.color);
  else
    entry.label.Colors().Set(args.color, FormColor());
  return entry.label;
}

void DialogForm::PlaceLabel(DialogLabel& entry) {
  const LabelArgs& args = entry.args;
  Size size = Scale()(args.size);
  if (args.size.width <= 0 || args.size.height <= 0) {
    // Sized to its text, like an auto-sized label.
    const std::wstring wide = Widen(args.text);
    ScopedGetDC dc(Hwnd());
    ScopedSelect font(dc, FormFont());
    RECT r{0, 0, 0, 0};
    DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &r,
              DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS);
    // Glyphs may run a pixel or two past the measured extent (Wine's substitutes for MS Sans
    // Serif do); the spare room is the label's own background, so it costs nothing to see.
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    if (args.size.width <= 0)
      size.width = r.right + metrics.tmAveCharWidth;
    if (args.size.height <= 0)
      size.height = r.bottom;
  }
  const Point at = Scale()(args.at);
  entry.label.SetBounds(at.x, at.y, size.width, size.height);
}

void DialogForm::CreateEdit(Edit& edit, Rect bounds) {
  edit.Create({.style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL,
               .exStyle = WS_EX_CLIENTEDGE,
               .bounds = bounds,
               .parent = Hwnd(),
               .font = FormFont()});
  edit.Colors().Set(clBlack, clWhite);
}

void DialogForm::DpiChanged() {
  for (auto& entry : labels_)
    PlaceLabel(*entry);
}

LRESULT DialogForm::Handle(UINT msg, WPARAM wparam, LPARAM lparam) {
  // The bar is aligned to the top: it keeps the full client width.
  if (msg == WM_SIZE && sDragBar1.Hwnd())
    sDragBar1.SetBounds(0, 0, LOWORD(lparam), Scale()(kDragBarHeight));
  return Form::Handle(msg, wparam, lparam);
}

}  // namespace kv
