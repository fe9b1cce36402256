// TsPainting of the command field: its fill and border colours behind one indexed setter.
#pragma once

#include <functional>

#include "toolkit/color.h"

namespace kv {

class TsPainting {
 public:
  kv::Color ColorBorderTop() const { return colorBorderTop_; }
  kv::Color ColorBorderBottom() const { return colorBorderBottom_; }
  // The field's fill colour (system colours resolved when painting).
  kv::Color Color() const { return color_; }
  // Whether the fill colour still follows the parent's colour.
  bool ParentColor() const { return parentColor_; }
  void SetParentColor(bool parentColor) { parentColor_ = parentColor; }

  // Index 0: ColorBorderTop, 1: ColorBorderBottom, 2: nothing stored, 3: Color (and the colour
  // stops following the parent). Whatever the index, the field is then repainted; a failure of
  // that repaint is swallowed.
  void SetColor(int index, kv::Color color);

  std::function<void()> OnRepaint;

 private:
  kv::Color colorBorderTop_ = clBtnHighlight;
  kv::Color colorBorderBottom_ = clBtnShadow;
  kv::Color color_ = clWindow;
  bool parentColor_ = true;
};

}  // namespace kv
