// The small pictures of the folder chooser's rows, painted into the core's bitmap: a folder
// (open when it lies on the open folder's path) and a drive of each kind.
#pragma once

#include "toolkit/bitmap.h"
#include "toolkit/dpi_scale.h"
#include "toolkit/geometry.h"

namespace kv {

// Every glyph fits in this box (at 96 DPI, scaled with the glyph); the list leaves the rest of
// its row for the text.
inline constexpr Size kGlyphSize{18, 16};

enum class DriveKind { fixed, removable, cdrom, remote };

// A folder 15 x 11 with its tab at `at`; an open folder shows its front flap tilted. The glyphs
// are drawn for the scale, not enlarged: every shape scaled, outlines a line wide.
void PaintFolderGlyph(Bitmap& image, Point at, bool open, DpiScale scale = {});
void PaintDriveGlyph(Bitmap& image, Point at, DriveKind kind, DpiScale scale = {});

}  // namespace kv
