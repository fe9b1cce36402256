#include "toolkit/gdi_text_win.h"

#include "toolkit/text_win.h"

namespace kv {
namespace {

UINT DrawTextFlags(unsigned flags) {
  UINT f = DT_NOPREFIX;
  if (flags & kTextCenter)
    f |= DT_CENTER;
  if (flags & kTextRight)
    f |= DT_RIGHT;
  if (flags & kTextVCenter)
    f |= DT_VCENTER;
  if (flags & kTextSingleLine)
    f |= DT_SINGLELINE;
  if (flags & kTextWordBreak)
    f |= DT_WORDBREAK;
  if (flags & kTextExpandTabs)
    f |= DT_EXPANDTABS;
  return f;
}

}  // namespace

GdiTextRenderer::GdiTextRenderer(DibSection* target)
    : target_(target), measureDc_(CreateCompatibleDC(nullptr)) {}

HFONT GdiTextRenderer::FontHandle(const Font& font) const {
  const auto key = std::make_tuple(font.face, font.height, font.bold, font.fixedPitch);
  auto it = fonts_.find(key);
  if (it == fonts_.end())
    it = fonts_.emplace(key, GdiObject<HFONT>(CreateUiFont(font))).first;
  return it->second;
}

Size GdiTextRenderer::Measure(std::string_view utf8, const Font& font) const {
  if (utf8.empty())
    return {0, 0};
  ScopedSelect select(measureDc_, FontHandle(font));
  const std::wstring text = Widen(utf8);
  SIZE s{};
  GetTextExtentPoint32W(measureDc_, text.c_str(), static_cast<int>(text.size()), &s);
  return {s.cx, s.cy};
}

Size GdiTextRenderer::MeasureWrapped(std::string_view utf8, const Font& font, int maxWidth) const {
  ScopedSelect select(measureDc_, FontHandle(font));
  const std::wstring text = Widen(utf8);
  RECT r{0, 0, maxWidth, 0};
  DrawTextW(measureDc_, text.c_str(), static_cast<int>(text.size()), &r,
            DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
  return {r.right - r.left, r.bottom - r.top};
}

void GdiTextRenderer::Draw(Bitmap& target, std::string_view utf8, const Font& font, Color rgb,
                           Rect box, Rect clip, unsigned flags) {
  if (!target_ || target.bits() != target_->Pixels().bits())
    return;
  HDC dc = target_->Dc();
  ScopedSelect select(dc, FontHandle(font));
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, clip.left, clip.top, clip.right, clip.bottom);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ToColorRef(rgb));
  const std::wstring text = Widen(utf8);
  RECT r{box.left, box.top, box.right, box.bottom};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DrawTextFlags(flags));
  RestoreDC(dc, saved);
  GdiFlush();
}

}  // namespace kv
