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

// [left, right) x [top, bottom) filled, its border pixels in the outline colour.
void OutlinedRect(Bitmap& image, Rect r, Color fill, Color outline) {
  FillRect(image, r, outline);
  FillRect(image, r.inflate(-1), fill);
}

// A filled disc of radius `radius` about the centre, its rim one pixel wide in the outline.
void OutlinedDisc(Bitmap& image, double cx, double cy, double radius, Color fill, Color outline) {
  for (int y = static_cast<int>(cy - radius); y <= static_cast<int>(cy + radius); ++y) {
    for (int x = static_cast<int>(cx - radius); x <= static_cast<int>(cx + radius); ++x) {
      const double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
      if (d <= radius - 1)
        SetPixelClipped(image, x, y, fill);
      else if (d <= radius)
        SetPixelClipped(image, x, y, outline);
    }
  }
}

}  // namespace

void PaintFolderGlyph(Bitmap& image, Point at, bool open) {
  OutlinedRect(image, Rect{1, 3, 7, 5}.offset(at.x, at.y), kFolderFill, kFolderOutline);
  OutlinedRect(image, Rect{1, 4, 16, 14}.offset(at.x, at.y), kFolderFill, kFolderOutline);
  if (!open)
    return;
  // The flap: from columns 4..16 at its top row to 1..13 at its bottom, leaning left.
  constexpr int kTop = 7;
  constexpr int kBottom = 13;
  for (int y = kTop; y <= kBottom; ++y) {
    const int shift = (y - kTop) / 2;
    const int left = 4 - shift;
    const int right = 16 - shift;
    const bool edgeRow = y == kTop || y == kBottom;
    for (int x = left; x <= right; ++x) {
      const bool edge = edgeRow || x == left || x == right;
      SetPixelClipped(image, at.x + x, at.y + y, edge ? kFolderOutline : kFolderFlap);
    }
  }
}

void PaintDriveGlyph(Bitmap& image, Point at, DriveKind kind) {
  if (kind == DriveKind::cdrom) {
    OutlinedDisc(image, at.x + 8.5, at.y + 8.5, 6.5, kDriveFill, kDriveOutline);
    OutlinedDisc(image, at.x + 8.5, at.y + 8.5, 1.5, kDriveOutline, kDriveOutline);
    return;
  }
  const Rect body = kind == DriveKind::removable ? Rect{3, 3, 14, 14} : Rect{1, 6, 16, 12};
  OutlinedRect(image, body.offset(at.x, at.y), kDriveFill, kDriveOutline);
  FillRect(image, Rect{12, 8, 14, 10}.offset(at.x, at.y), kDriveLight);
  if (kind == DriveKind::remote) {
    FillRect(image, Rect{8, 12, 9, 15}.offset(at.x, at.y), kDriveOutline);
    FillRect(image, Rect{3, 14, 14, 15}.offset(at.x, at.y), kDriveOutline);
  }
}

}  // namespace kv
