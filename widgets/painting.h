// TsPainting of the command field: its fill and border colours behind one indexed setter.
#pragma once

#include <functional>

#include "toolkit/color.h"

namespace kv {

class TsPainting {
 public:
  Color colorBorderTop() const { return colorBorderTop_; }
  Color colorBorderBottom() const { return colorBorderBottom_; }
  // The field's fill colour (system colours resolved when painting).
  Color color() const { return color_; }
  // Whether the fill colour still follows the parent's colour.
  bool parentColor() const { return parentColor_; }
  void setParentColor(bool parentColor) { parentColor_ = parentColor; }

  // Index 0: ColorBorderTop, 1: ColorBorderBottom, 2: nothing stored, 3: Color (and the colour
  // stops following the parent). Whatever the index, the field is then repainted; a failure of
  // that repaint is swallowed.
  void setColor(int index, Color color);

  std::function<void()> onRepaint;

 private:
  Color colorBorderTop_ = clBtnHighlight;
  Color colorBorderBottom_ = clBtnShadow;
  Color color_ = clWindow;
  bool parentColor_ = true;
};

}  // namespace kv
