// Small raster helpers shared by the painters: clipped fills, one-pixel frames, lines with the
// platform's end-point convention, blending with a parent's background, and the window region of
// a control with its corners left out.
#pragma once

#include <span>
#include <vector>

#include "toolkit/backdrop.h"
#include "toolkit/bitmap.h"
#include "toolkit/color.h"
#include "toolkit/geometry.h"

namespace kv {

// Colours here are plain RGB; callers resolve system colours first.
void SetPixelClipped(Bitmap& image, int x, int y, Color rgb);
// Fills [left, right) x [top, bottom), clipped to the image.
void FillRect(Bitmap& image, Rect rect, Color rgb);

// A one-pixel frame just inside `rect`: the left column and top row (less their last pixel) in
// `topLeft`, the right column and bottom row in `bottomRight` (the platform's Frame3D order).
// A wider frame is that many such frames, each inside the one before.
void DrawFrame(Bitmap& image, Rect rect, Color topLeft, Color bottomRight, int width = 1);

// A one-pixel line from `from` to `to`, the end point excluded (the platform's LineTo). Steps
// along the major axis; the minor coordinate is the nearest one, ties moving towards `to`.
void DrawLine(Bitmap& image, Point from, Point to, Color rgb);
// Consecutive lines through the points; only the very last point is left out.
void DrawPolyline(Bitmap& image, std::span<const Point> points, Color rgb);

// face := face * percent/100 + backdrop * (1 - percent/100) per channel, rounded half to even.
void BlendWithBackdrop(Bitmap& face, const Backdrop& backdrop, int percent,
                       const SystemColors& system);

// Window region of a control with SoftControl on: the union of its rectangle shrunk by one pixel
// (`corner` pixels) at the left and right and shrunk by as much at the top and bottom, so the
// four corner pixels (squares) show the parent. Empty rectangles are left out.
std::vector<Rect> SoftControlRegion(Size size, int corner = 1);

}  // namespace kv
