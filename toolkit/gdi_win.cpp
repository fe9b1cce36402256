#include "toolkit/gdi_win.h"

#include "toolkit/text_win.h"

namespace kv {

Color WindowsSystemColors::rgbOf(int index) const {
  const COLORREF c = GetSysColor(index);
  return static_cast<Color>(c & 0xFFFFFF);
}

const SystemColors& CurrentSystemColors() {
  static const WindowsSystemColors system;
  return system;
}

void FillSolidRect(HDC dc, const RECT& r, Color c) {
  const COLORREF old = SetBkColor(dc, ToColorRef(resolveColor(c, CurrentSystemColors())));
  ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
  SetBkColor(dc, old);
}

HFONT CreateUiFont(const Font& font) {
  LOGFONTW lf{};
  lf.lfHeight = -font.height;
  lf.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
  lf.lfCharSet = DEFAULT_CHARSET;
  // A fixed-pitch modern TrueType font is what a missing fixed-pitch face is replaced with.
  lf.lfOutPrecision = font.fixedPitch ? OUT_TT_PRECIS : OUT_DEFAULT_PRECIS;
  lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  lf.lfQuality = DEFAULT_QUALITY;
  lf.lfPitchAndFamily = font.fixedPitch ? FIXED_PITCH | FF_MODERN : DEFAULT_PITCH;
  const std::wstring name = Widen(font.face);
  wcsncpy(lf.lfFaceName, name.c_str(), LF_FACESIZE - 1);
  return CreateFontIndirectW(&lf);
}

void DibSection::Release() {
  selection_.reset();
  bitmap_.Reset();
  dc_.Reset();
  view_ = Bitmap();
}

void DibSection::Resize(int width, int height) {
  if (dc_ && width == view_.width() && height == view_.height())
    return;
  Release();
  if (width <= 0 || height <= 0)
    return;
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;  // top-down, like the core's Bitmap
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 24;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  ScopedGetDC screen(nullptr);
  bitmap_.Reset(CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap_.Valid())
    return;
  dc_.Reset(CreateCompatibleDC(screen));
  selection_.emplace(dc_, bitmap_);
  view_ = Bitmap(width, height, static_cast<std::uint8_t*>(bits));
}

void DibSection::BlitPart(HDC target, const RECT& part) const {
  if (!dc_)
    return;
  GdiFlush();
  BitBlt(target, part.left, part.top, part.right - part.left, part.bottom - part.top, dc_,
         part.left, part.top, SRCCOPY);
}

void DibSection::BlitTo(HDC target, int x, int y) const {
  if (!dc_)
    return;
  GdiFlush();
  BitBlt(target, x, y, view_.width(), view_.height(), dc_, 0, 0, SRCCOPY);
}

}  // namespace kv
