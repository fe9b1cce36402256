#include "dialogs/folder_glyphs.h"

#include <cmath>

#include "widgets/drawing.h"

namespace kv {
namespace {

constexpr Color kFolderFill = rgb(255, 214, 92);
constexpr Color kFolderFlap = rgb(255, 236, 160);
constexpr Color kFolderOutline = rgb(128, 96, 0);
constexpr Color kDriveFill = rgb(192, 192, 192);
constexpr Color kDriveOutline = rgb(64, 64, 64);
constexpr Color kDriveLight = rgb(0, 192, 0);

// The designed rectangle [left, right) x [top, bottom) at the scale, placed at `at`.
Rect Place(Rect designed, Point at, DpiScale scale) {
  return scale(designed).offset(at.x, at.y);
}

// [left, right) x [top, bottom) filled, its border (a line wide) in the outline colour.
void OutlinedRect(Bitmap& image, Rect r, Color fill, Color outline, int line) {
  FillRect(image, r, outline);
  FillRect(image, r.inflate(-line), fill);
}

// A filled disc of radius `radius` about the centre, its rim `line` pixels wide in the outline.
void OutlinedDisc(Bitmap& image, double cx, double cy, double radius, int line, Color fill,
                  Color outline) {
  for (int y = static_cast<int>(cy - radius); y <= static_cast<int>(cy + radius); ++y) {
    for (int x = static_cast<int>(cx - radius); x <= static_cast<int>(cx + radius); ++x) {
      const double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
      if (d <= radius - line)
        SetPixelClipped(image, x, y, fill);
      else if (d <= radius)
        SetPixelClipped(image, x, y, outline);
    }
  }
}

}  // namespace

void PaintFolderGlyph(Bitmap& image, Point at, bool open, DpiScale scale) {
  const int line = scale.Line();
  OutlinedRect(image, Place({1, 3, 7, 5}, at, scale), kFolderFill, kFolderOutline, line);
  OutlinedRect(image, Place({1, 4, 16, 14}, at, scale), kFolderFill, kFolderOutline, line);
  if (!open)
    return;
  // The flap: from columns 4..16 at its top row to 1..13 at its bottom, leaning left one column
  // every two rows; each designed row covers its scaled rows.
  constexpr int kTop = 7;
  constexpr int kBottom = 13;
  const int top = scale(kTop);
  const int bottom = scale(kBottom + 1);
  for (int row = kTop; row <= kBottom; ++row) {
    const int shift = (row - kTop) / 2;
    const int left = scale(4 - shift);
    const int right = scale(17 - shift);
    for (int y = scale(row); y < scale(row + 1); ++y) {
      const bool edgeRow = y < top + line || y >= bottom - line;
      for (int x = left; x < right; ++x) {
        const bool edge = edgeRow || x < left + line || x >= right - line;
        SetPixelClipped(image, at.x + x, at.y + y, edge ? kFolderOutline : kFolderFlap);
      }
    }
  }
}

void PaintDriveGlyph(Bitmap& image, Point at, DriveKind kind, DpiScale scale) {
  const int line = scale.Line();
  if (kind == DriveKind::cdrom) {
    const double factor = static_cast<double>(scale.Dpi()) / kDesignDpi;
    const double cx = at.x + 8.5 * factor;
    const double cy = at.y + 8.5 * factor;
    OutlinedDisc(image, cx, cy, 6.5 * factor, line, kDriveFill, kDriveOutline);
    OutlinedDisc(image, cx, cy, 1.5 * factor, line, kDriveOutline, kDriveOutline);
    return;
  }
  const Rect body = kind == DriveKind::removable ? Rect{3, 3, 14, 14} : Rect{1, 6, 16, 12};
  OutlinedRect(image, Place(body, at, scale), kDriveFill, kDriveOutline, line);
  FillRect(image, Place({12, 8, 14, 10}, at, scale), kDriveLight);
  if (kind == DriveKind::remote) {
    FillRect(image, Place({8, 12, 9, 15}, at, scale), kDriveOutline);
    FillRect(image, Place({3, 14, 14, 15}, at, scale), kDriveOutline);
  }
}

}  // namespace kv
