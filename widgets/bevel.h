// The soft bevel of the drawn controls: four shaded bands along the edges of the cached
// background, mitred at the corners.
#pragma once

#include "toolkit/bitmap.h"

namespace kv {

enum class BevelKind { cbNone, cbRaisedSoft, cbLoweredSoft, cbRaisedHard, cbLoweredHard };

// Shades the left, top, right and bottom bands (in that order) of the whole image with thickness
// `width`, for the soft kinds; the last column and row stay unshaded. The width shrinks to
// (size - 1) / 2 - 1 on an image too small for it, and nothing is drawn below 2. The other kinds
// draw nothing: no control of this program uses them.
void PaintSoftBevel(Bitmap& image, BevelKind kind, int width);

}  // namespace kv
