#include "dialogs/dialog_form_win.h"

#include "toolkit/text_win.h"

namespace kv {

void DialogForm::CreateDialogForm(const wchar_t* className, const std::string& caption,
                                  const std::string& dragCaption, int clientWidth, int clientHeight,
                                  HWND owner) {
  // An owned popup gets no taskbar button; the drag bar stands in for the missing title bar.
  CreateForm(className, caption, clientWidth, clientHeight, kDialogColor, owner, WS_POPUP);
  background_.reset(CreateSolidBrush(ToColorRef(resolveColor(FormColor(), systemColors()))));
  sDragBar1.Create(hwnd(), dragCaption);
}

HWND DialogForm::AddLabel(int x, int y, const std::string& text, Color color, bool transparent,
                          int width, int height) {
  const std::wstring wide = Widen(text);
  // An auto-sized label stays on one line, as it was measured; a label given a box breaks its
  // lines at words within it.
  const DWORD wrap = width <= 0 ? SS_LEFTNOWORDWRAP : SS_LEFT;
  if (width <= 0 || height <= 0) {
    // Sized to its text, like an auto-sized label.
    ScopedGetDC dc(hwnd());
    ScopedSelect font(dc, FormFont());
    RECT r{0, 0, 0, 0};
    DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &r,
              DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS);
    // Glyphs may run a pixel or two past the measured extent (Wine's substitutes for MS Sans
    // Serif do); the spare room is the label's own background, so it costs nothing to see.
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    if (width <= 0)
      width = r.right + metrics.tmAveCharWidth;
    if (height <= 0)
      height = r.bottom;
  }
  HWND label = CreateChildControl(0, L"STATIC", wide, WS_CHILD | WS_VISIBLE | wrap | SS_NOPREFIX,
                                  {x, y, x + width, y + height}, hwnd(), FormFont());
  labels_[label] = {color, transparent};
  return label;
}

HWND DialogForm::AddEdit(Rect bounds, int id) {
  HWND edit = CreateChildControl(
      WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL,
      {bounds.left, bounds.top, bounds.right, bounds.bottom}, hwnd(), FormFont(), id);
  edits_.insert(edit);
  return edit;
}

LRESULT DialogForm::Handle(UINT msg, WPARAM wparam, LPARAM lparam) {
  switch (msg) {
    case WM_CTLCOLORSTATIC: {
      const auto it = labels_.find(reinterpret_cast<HWND>(lparam));
      if (it == labels_.end())
        break;
      HDC dc = reinterpret_cast<HDC>(wparam);
      SetTextColor(dc, ToColorRef(resolveColor(it->second.color, systemColors())));
      if (it->second.transparent) {
        SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
      }
      SetBkColor(dc, ToColorRef(resolveColor(FormColor(), systemColors())));
      return reinterpret_cast<LRESULT>(background_.get());
    }
    case WM_CTLCOLOREDIT: {
      if (!edits_.count(reinterpret_cast<HWND>(lparam)))
        break;
      HDC dc = reinterpret_cast<HDC>(wparam);
      SetTextColor(dc, ToColorRef(clBlack));
      SetBkColor(dc, ToColorRef(clWhite));
      return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
    }
    case WM_SIZE:
      // The bar is aligned to the top: it keeps the full client width.
      if (sDragBar1.hwnd())
        sDragBar1.SetBounds(0, 0, LOWORD(lparam), kDragBarHeight);
      break;
    case WM_DESTROY:
      labels_.clear();
      edits_.clear();
      break;
  }
  return Form::Handle(msg, wparam, lparam);
}

}  // namespace kv
