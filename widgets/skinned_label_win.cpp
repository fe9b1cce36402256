#include "widgets/skinned_label_win.h"

#include "toolkit/text_win.h"
#include "widgets/drawing.h"

namespace kv {
namespace {

constexpr wchar_t kClassName[] = L"TsLabel";

}  // namespace

void SkinnedLabel::Create(HWND parent, Rect bounds, const std::string& text, const Font& font,
                          Color color) {
  font_ = font;
  color_ = color;
  RegisterWindowClass(kClassName, CS_DBLCLKS);
  CreateOwnWindow({.className = kClassName, .text = text, .bounds = bounds, .parent = parent});
}

void SkinnedLabel::SetText(const std::string& text) {
  SetWindowTextUtf8(Hwnd(), text);
  MarkStale(true);
  NotifyAccessible(Hwnd(), EVENT_OBJECT_NAMECHANGE);
}

AccessiblePart SkinnedLabel::DescribeAccessible(int) {
  return {.role = ROLE_SYSTEM_STATICTEXT, .name = Text(), .state = STATE_SYSTEM_READONLY};
}

std::string SkinnedLabel::Text() const {
  return WindowText(Hwnd());
}

void SkinnedLabel::PaintFace(Bitmap& face) {
  // No share of the face: the label's pixels are exactly what lies behind it.
  BlendWithBackdrop(face, ParentBackdrop(), 0, Colors());
  const Rect all{0, 0, face.width(), face.height()};
  DrawnControl::Text().Draw(face, Text(), Scale()(font_), resolveColor(color_, Colors()), all, all,
                            kTextLeft | kTextSingleLine);
}

LRESULT SkinnedLabel::Handle(UINT msg, WPARAM wparam, LPARAM lparam) {
  // Clicks go through to the window, as on a label without a window of its own.
  if (msg == WM_NCHITTEST)
    return HTTRANSPARENT;
  return DrawnControl::Handle(msg, wparam, lparam);
}

}  // namespace kv
