#include "widgets/drag_bar.h"

namespace kv {

Rect DragBarCaptionBox(Size client, const DragBarFace& face, int textHeight) {
  const DpiScale& scale = face.scale;
  int border = scale(face.borderWidth);
  if (face.bevelOuter != BevelKind::cbNone)
    border += scale(face.bevelWidth);
  if (face.bevelInner != BevelKind::cbNone)
    border += scale(face.bevelWidth);
  const int top = (0 + client.height - textHeight) / 2;
  return {border, top, client.width - border, top + textHeight};
}

void PaintDragBar(Bitmap& image, const DragBarFace& face, const BackgroundSettings& background,
                  TextRenderer& text, const SystemColors& system) {
  const DpiScale& scale = face.scale;
  PaintBackground(image, background, system);
  PaintSoftBevel(image, face.bevelOuter, scale(face.bevelWidth));
  PaintSoftBevel(image, face.bevelInner, scale(face.bevelWidth));

  const Font font = scale(face.font);
  const Rect box =
      DragBarCaptionBox({image.width(), image.height()}, face, text.Measure("W", font).height);
  unsigned flags = kTextSingleLine;
  if (face.alignment == Alignment::taCenter)
    flags |= kTextCenter;
  else if (face.alignment == Alignment::taRightJustify)
    flags |= kTextRight;
  if (face.enabled) {
    text.Draw(image, face.caption, font, resolveColor(face.fontColor, system), box, box, flags);
    return;
  }
  const Rect raised = box.offset(scale(1), scale(1));
  text.Draw(image, face.caption, font, resolveColor(clBtnHighlight, system), raised, raised, flags);
  text.Draw(image, face.caption, font, resolveColor(clBtnShadow, system), box, box, flags);
}

}  // namespace kv
