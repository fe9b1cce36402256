// RAII for GDI objects and device contexts, fonts, and the DIB section that backs a core Bitmap.
#pragma once

#include <windows.h>

#include <optional>

#include "toolkit/bitmap.h"
#include "toolkit/color.h"
#include "toolkit/handles_win.h"
#include "toolkit/text_renderer.h"

namespace kv {

inline COLORREF ToColorRef(Color rgbColor) {
  return static_cast<COLORREF>(rgbColor & 0xFFFFFF);
}

class WindowsSystemColors final : public SystemColors {
 public:
  Color rgbOf(int index) const override;
};

// The system's colours now, for resolveColor (toolkit/color.h).
const SystemColors& CurrentSystemColors();

void FillSolidRect(HDC dc, const RECT& r, Color c);

// The one place fonts are made: by face name and character height in pixels on the screen (the
// height of a negative LOGFONT height). A designed font is scaled first (DpiScale): forms make
// theirs at their scale (Form::FontFor), painters hand their renderer scaled ones.
HFONT CreateUiFont(const Font& font);

class ScopedSelect {
 public:
  ScopedSelect(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  ~ScopedSelect() { SelectObject(dc_, old_); }
  ScopedSelect(const ScopedSelect&) = delete;
  ScopedSelect& operator=(const ScopedSelect&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

class ScopedGetDC {
 public:
  explicit ScopedGetDC(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
  ~ScopedGetDC() { ReleaseDC(hwnd_, dc_); }
  ScopedGetDC(const ScopedGetDC&) = delete;
  ScopedGetDC& operator=(const ScopedGetDC&) = delete;
  operator HDC() const { return dc_; }

 private:
  HWND hwnd_;
  HDC dc_;
};

class ScopedPaint {
 public:
  explicit ScopedPaint(HWND hwnd) : hwnd_(hwnd) { dc_ = BeginPaint(hwnd, &ps_); }
  ~ScopedPaint() { EndPaint(hwnd_, &ps_); }
  ScopedPaint(const ScopedPaint&) = delete;
  ScopedPaint& operator=(const ScopedPaint&) = delete;
  operator HDC() const { return dc_; }
  const RECT& PaintRect() const { return ps_.rcPaint; }

 private:
  HWND hwnd_;
  PAINTSTRUCT ps_{};
  HDC dc_;
};

// A top-down 24-bit DIB section selected into its own memory DC; `Pixels()` views them, so
// the core paints into it and GDI draws text on the same memory.
class DibSection {
 public:
  DibSection() = default;
  DibSection(const DibSection&) = delete;
  DibSection& operator=(const DibSection&) = delete;

  // Resizes when the size differs; the content is then undefined.
  void Resize(int width, int height);
  kv::Bitmap& Pixels() { return view_; }
  HDC Dc() const { return dc_; }
  int Width() const { return view_.width(); }
  int Height() const { return view_.height(); }
  void BlitTo(HDC target, int x, int y) const;
  // Copies only `part` (the same rectangle in both, as for a window's paint rectangle).
  void BlitPart(HDC target, const RECT& part) const;

 private:
  void Release();

  // Released in the reverse order: the bitmap is taken out of the DC before either goes.
  MemoryDc dc_;
  GdiObject<HBITMAP> bitmap_;
  std::optional<ScopedSelect> selection_;
  Bitmap view_;
};

}  // namespace kv
