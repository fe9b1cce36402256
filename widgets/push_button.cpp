#include "widgets/push_button.h"

#include "widgets/bevel.h"

namespace kv {

Rect PlacePushButtonCaption(Size button, Size text, bool pressed, DpiScale scale) {
  const int w = button.width;
  const int h = button.height;
  const Rect rect{(w - text.width) / 2 - scale(1), (h - text.height) / 2,
                  w - (w - text.width) / 2 + scale(2), h - (h - text.height) / 2};
  return pressed ? rect.offset(scale(1), scale(1)) : rect;
}

namespace {

// A dot of the focus mark: `size` pixels square, its top-left corner at x, y.
void FocusDot(Bitmap& face, int x, int y, int size, Color rgb) {
  FillRect(face, {x, y, x + size, y + size}, rgb);
}

}  // namespace

void DrawFocusMark(Bitmap& face, Rect captionRect, int focusMargin, DpiScale scale) {
  const Rect r = captionRect.inflate(scale(focusMargin));
  const int d = scale.Line();
  const int pitch = scale(3);
  // The right and bottom dots end on the right and bottom edge, as the 1-pixel ones lie on it.
  const int right = r.right - d + 1;
  const int bottom = r.bottom - d + 1;
  for (int i = 0; i <= r.width() / pitch; ++i) {
    const int x = r.left + pitch * i;
    FocusDot(face, x, r.top, d, clBlack);
    FocusDot(face, x, bottom, d, clBlack);
    FocusDot(face, x - d, r.top - d, d, clWhite);
    FocusDot(face, x - d, bottom - d, d, clWhite);
  }
  for (int j = 0; j <= r.height() / pitch; ++j) {
    const int y = r.top + pitch * j;
    FocusDot(face, r.left, y, d, clBlack);
    FocusDot(face, right, y, d, clBlack);
    FocusDot(face, r.left - d, y - d, d, clWhite);
    FocusDot(face, right - d, y - d, d, clWhite);
  }
}

void PaintPushButton(Bitmap& face, const PushButtonFace& state, const ControlStyle& style,
                     TextRenderer& text, const SystemColors& system, const Backdrop& backdrop) {
  const bool hot = state.Hot();
  const DpiScale& scale = state.scale;
  PaintBackground(face, style.Current(hot), system);

  if (state.pressed) {
    PaintSoftBevel(face, BevelKind::cbLoweredSoft, scale(style.hotBevelWidth / 4 + 1));
  } else {
    PaintSoftBevel(face, BevelKind::cbRaisedSoft,
                   scale(hot ? style.hotBevelWidth : style.bevelWidth));
  }

  const Size size{face.width(), face.height()};
  if (state.showCaption) {
    const Font font = scale(state.font);
    const Size extent =
        text.MeasureWrapped(state.caption, font, size.width - 2 * scale(state.margin));
    const Rect box = PlacePushButtonCaption(size, extent, state.pressed, scale);
    unsigned flags = kTextWordBreak | kTextExpandTabs;
    if (box.height() > text.Measure("T", font).height + scale(6))
      flags |= kTextCenter;
    text.Draw(face, state.caption, font, resolveColor(state.fontColor, system), box,
              {0, 0, size.width, size.height}, flags);
    if (state.focused && state.showFocus)
      DrawFocusMark(face, box, state.focusMargin, scale);
  }

  if (!state.enabled)
    BlendWithBackdrop(face, backdrop, 50, system);
}

}  // namespace kv
