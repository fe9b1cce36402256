// A label without a window background of its own: it shows what its parent painted beneath it
// (ParentBackdropOf) and its text on top. Its window text is the caption, so it can be read back.
#pragma once

#include <windows.h>

#include <string>

#include "toolkit/accessible_win.h"
#include "toolkit/text_renderer.h"
#include "widgets/drawn_control_win.h"

namespace kv {

// Read out as static text.
class SkinnedLabel final : public DrawnControl, public AccessibleSource {
 public:
  // `font` at 96 DPI, drawn at the label's scale.
  void Create(HWND parent, Rect bounds, const std::string& text, const Font& font, Color color);
  void SetText(const std::string& text);
  std::string Text() const;
  AccessiblePart DescribeAccessible(int part) override;

 protected:
  LRESULT Handle(UINT msg, WPARAM wparam, LPARAM lparam) override;

 private:
  void PaintFace(Bitmap& face) override;
  // What lies behind it may change (the form paints its surface when first shown).
  bool FaceFollowsBackdrop() const override { return true; }
  bool SoftCorners() const override { return false; }

  Font font_;
  Color color_ = clBlack;
};

}  // namespace kv
