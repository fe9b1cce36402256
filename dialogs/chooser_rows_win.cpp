#include "dialogs/chooser_rows_win.h"

#include "dialogs/folder_glyphs.h"

namespace kv {

void ChooserRowPainter::Draw(const DRAWITEMSTRUCT& item, int glyphLeft, DpiScale scale,
                             const std::function<void(Bitmap& glyph)>& paintGlyph,
                             const std::wstring& text) {
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  const Color background =
      selected ? resolveColor(systemColor(COLOR_HIGHLIGHT), CurrentSystemColors()) : clWhite;
  const Color textColor =
      selected ? resolveColor(systemColor(COLOR_HIGHLIGHTTEXT), CurrentSystemColors()) : clBlack;
  FillSolidRect(item.hDC, item.rcItem, background);
  if (item.itemID == static_cast<UINT>(-1))
    return;
  const Size glyph = scale(kGlyphSize);
  glyph_.Resize(glyph.width, glyph.height);
  glyph_.Pixels().fill(background);
  paintGlyph(glyph_.Pixels());
  const int top = item.rcItem.top + (item.rcItem.bottom - item.rcItem.top - glyph.height) / 2;
  glyph_.BlitTo(item.hDC, glyphLeft, top);
  SetBkMode(item.hDC, TRANSPARENT);
  SetTextColor(item.hDC, ToColorRef(textColor));
  RECT r = item.rcItem;
  r.left = glyphLeft + glyph.width + scale(2);
  DrawTextW(item.hDC, text.c_str(), static_cast<int>(text.size()), &r,
            DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  if (item.itemState & ODS_FOCUS)
    DrawFocusRect(item.hDC, &item.rcItem);
}

LRESULT ChooserRowPainter::WhiteBackground(WPARAM dc) {
  if (!white_)
    white_.Reset(CreateSolidBrush(ToColorRef(clWhite)));
  SetBkColor(reinterpret_cast<HDC>(dc), ToColorRef(clWhite));
  return reinterpret_cast<LRESULT>(white_.Get());
}

}  // namespace kv
