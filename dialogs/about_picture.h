// The About window's picture (ProgramIcon): the emblem stretched to 65 x 65 at 96 DPI. At a larger
// display scale the picture is drawn from the emblem made for large sizes, shrunk to the scaled
// size (an area-weighted average), so it stays sharp instead of a small image blown up.
#pragma once

#include "dialogs/png_image.h"
#include "toolkit/dpi_scale.h"

namespace kv {

// The picture's size at 96 DPI.
inline constexpr int kAboutPictureSize = 65;

// The emblem the picture is drawn from at `scale`: the 48-pixel one while it would not grow
// beyond its designed size (96 DPI and less), else the 192-pixel one.
std::string_view AboutEmblemSource(DpiScale scale);
// The picture at `scale`, straight alpha; empty when the emblem cannot be decoded.
RgbaImage AboutPicture(DpiScale scale);

}  // namespace kv
