#include "widgets/drag_bar_win.h"

#include <windowsx.h>

#include "toolkit/accessible.h"
#include "toolkit/text_win.h"
#include "widgets/drawing.h"

namespace kv {
namespace {

constexpr wchar_t kClassName[] = L"TsDragBar";

// The layouts' settings of every dialog's bar.
constexpr char kDialogBarGradient[] =
    "8388608;16711680;49;0;0;16711680;8388608;50;0;0;8388608;8388608;0;0;0";

}  // namespace

TsDragBar::TsDragBar() : background_(kDialogColor) {
  face_.font = Font{"MS Sans Serif", 11, true};
  face_.fontColor = clWhite;
  background_.Gradient().SetData(kDialogBarGradient);
  background_.SetOnChange([this] { MarkStale(); });
}

void TsDragBar::Create(Form& dragged, const std::string& caption) {
  // No CS_DBLCLKS: a quick second press must start a second move, not arrive as a double click.
  RegisterWindowClass(kClassName, 0, LoadCursorW(nullptr, IDC_HAND));
  dragged_ = dragged.Hwnd();
  face_.caption = caption;
  CreateOwnWindow({.className = kClassName,
                   .text = caption,
                   .style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS,
                   .bounds = {0, 0, dragged.DesignedClientSize().width, kDragBarHeight},
                   .parent = dragged_});
}

void TsDragBar::SetCaption(const std::string& caption) {
  if (Hwnd())
    SetWindowTextUtf8(Hwnd(), caption);  // WM_SETTEXT takes the text and marks the cache
  else
    face_.caption = caption;
}

AccessiblePart TsDragBar::DescribeAccessible(int) {
  return {.role = ROLE_SYSTEM_TITLEBAR, .name = NameFromCaption(face_.caption)};
}

void TsDragBar::SetEnabled(bool enabled) {
  if (Hwnd())
    EnableWindow(Hwnd(), enabled);  // WM_ENABLE marks the cache
  else
    face_.enabled = enabled;
}

void TsDragBar::SetAlignment(Alignment alignment) {
  if (face_.alignment == alignment)
    return;
  face_.alignment = alignment;
  MarkStale();
}

void TsDragBar::PaintFace(Bitmap& face) {
  face_.scale = Scale();
  PaintDragBar(face, face_, background_, Text(), Colors());
}

void TsDragBar::Press(MouseButton button, LPARAM lparam) {
  if (OnMouseDown)
    OnMouseDown(button, {GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)});
  if (button != MouseButton::left || !dragged_ || !IsWindow(dragged_))
    return;
  // The press gave this bar the capture; the system's move loop needs the mouse to itself. The
  // title-bar form of SC_MOVE moves at once with the pointer, as a grabbed caption does.
  ReleaseCapture();
  SendMessageW(dragged_, WM_SYSCOMMAND, kDragMoveCommand, 0);
}

LRESULT TsDragBar::Handle(UINT msg, WPARAM wparam, LPARAM lparam) {
  switch (msg) {
    case WM_MOVE:
      MarkStale();
      break;
    case WM_SETTEXT: {
      const LRESULT result = DefaultHandle(msg, wparam, lparam);
      const auto* text = reinterpret_cast<const wchar_t*>(lparam);
      face_.caption = text ? Narrow(text) : std::string();
      MarkStale();
      return result;
    }
    case WM_ENABLE:
      face_.enabled = wparam != 0;
      MarkStale();
      return 0;
    case WM_LBUTTONDOWN:
      Press(MouseButton::left, lparam);
      return 0;
    case WM_RBUTTONDOWN:
      Press(MouseButton::right, lparam);
      return 0;
    case WM_MBUTTONDOWN:
      Press(MouseButton::middle, lparam);
      return 0;
  }
  return DrawnControl::Handle(msg, wparam, lparam);
}

}  // namespace kv
