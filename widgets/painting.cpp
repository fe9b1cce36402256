#include "widgets/painting.h"

namespace kv {

void TsPainting::SetColor(int index, kv::Color color) {
  switch (index) {
    case 0:
      colorBorderTop_ = color;
      break;
    case 1:
      colorBorderBottom_ = color;
      break;
    case 3:
      color_ = color;
      parentColor_ = false;
      break;
    default:
      break;
  }
  try {
    if (OnRepaint)
      OnRepaint();
  } catch (...) {
    // A field that cannot repaint yet (no window) keeps the new colour for its next paint.
  }
}

}  // namespace kv
