// The owner-drawn rows the folder chooser's drive list and folder list share: the background
// (the selection's colours when selected), a glyph the core paints, and the text after it.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "toolkit/dpi_scale.h"
#include "toolkit/gdi_win.h"

namespace kv {

// Owner-drawn controls need an id: WM_DRAWITEM with a zero id is a menu's.
inline constexpr int kDriveComboId = 1;
inline constexpr int kFolderListId = 2;
// Rows 16 pixels high (at 96 DPI), as the chooser's layout gives.
inline constexpr int kChooserRowHeight = 16;

class ChooserRowPainter {
 public:
  // `paintGlyph` paints into a glyph-sized image (at `scale`) already filled with the row's
  // background.
  void Draw(const DRAWITEMSTRUCT& item, int glyphLeft, DpiScale scale,
            const std::function<void(Bitmap& glyph)>& paintGlyph, const std::wstring& text);
  // The answer to the list's WM_CTLCOLOR* message: white behind the rows.
  LRESULT WhiteBackground(WPARAM dc);

 private:
  DibSection glyph_;
  GdiObject<HBRUSH> white_;
};

}  // namespace kv
