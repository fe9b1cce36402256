#include "widgets/push_button.h"

#include "widgets/bevel.h"

namespace kv {

Rect PlacePushButtonCaption(Size button, Size text, bool pressed) {
  const int w = button.width;
  const int h = button.height;
  const Rect rect{(w - text.width) / 2 - 1, (h - text.height) / 2, w - (w - text.width) / 2 + 2,
                  h - (h - text.height) / 2};
  return pressed ? rect.offset(1, 1) : rect;
}

void DrawFocusMark(Bitmap& face, Rect captionRect, int focusMargin) {
  const Rect r = captionRect.inflate(focusMargin);
  for (int i = 0; i <= r.width() / 3; ++i) {
    const int x = r.left + 3 * i;
    SetPixelClipped(face, x, r.top, clBlack);
    SetPixelClipped(face, x, r.bottom, clBlack);
    SetPixelClipped(face, x - 1, r.top - 1, clWhite);
    SetPixelClipped(face, x - 1, r.bottom - 1, clWhite);
  }
  for (int j = 0; j <= r.height() / 3; ++j) {
    const int y = r.top + 3 * j;
    SetPixelClipped(face, r.left, y, clBlack);
    SetPixelClipped(face, r.right, y, clBlack);
    SetPixelClipped(face, r.left - 1, y - 1, clWhite);
    SetPixelClipped(face, r.right - 1, y - 1, clWhite);
  }
}

void PaintPushButton(Bitmap& face, const PushButtonFace& state, const ControlStyle& style,
                     TextRenderer& text, const SystemColors& system, const Backdrop& backdrop) {
  const bool hot = state.Hot();
  PaintBackground(face, style.Current(hot), system);

  if (state.pressed)
    PaintSoftBevel(face, BevelKind::cbLoweredSoft, style.hotBevelWidth / 4 + 1);
  else
    PaintSoftBevel(face, BevelKind::cbRaisedSoft, hot ? style.hotBevelWidth : style.bevelWidth);

  const Size size{face.width(), face.height()};
  if (state.showCaption) {
    const Size extent =
        text.MeasureWrapped(state.caption, state.font, size.width - 2 * state.margin);
    const Rect box = PlacePushButtonCaption(size, extent, state.pressed);
    unsigned flags = kTextWordBreak | kTextExpandTabs;
    if (box.height() > text.Measure("T", state.font).height + 6)
      flags |= kTextCenter;
    text.Draw(face, state.caption, state.font, resolveColor(state.fontColor, system), box,
              {0, 0, size.width, size.height}, flags);
    if (state.focused && state.showFocus)
      DrawFocusMark(face, box, state.focusMargin);
  }

  if (!state.enabled)
    BlendWithBackdrop(face, backdrop, 50, system);
}

}  // namespace kv
