// What lies behind a control: the part of its parent's painted image under it, or the parent's
// plain colour. Drawn controls that blend with their parent (a disabled button, a label) read
// it; panels, drag bars and forms give it.
#pragma once

#include "toolkit/bitmap.h"
#include "toolkit/color.h"
#include "toolkit/geometry.h"

namespace kv {

// The control's pixel x, y lies over the image's pixel origin.x + x, origin.y + y; where there
// is no image, or it does not reach, the colour.
struct Backdrop {
  const Bitmap* bitmap = nullptr;
  Point origin;
  Color color = clBtnFace;
};

// A window whose children may show what it painted.
class BackdropSource {
 public:
  virtual ~BackdropSource() = default;
  // The backdrop of a child whose top-left corner lies at `origin` in this window's client area.
  virtual Backdrop BackdropAt(Point origin) = 0;
};

}  // namespace kv
