// What assistive technology is told about the program's drawn controls, worked out without the
// platform: names from captions, a colour read out in words, and the numbering of a control's
// children (its child windows first, then the parts it draws itself without a window).
#pragma once

#include <string>
#include <string_view>

#include "toolkit/color.h"

namespace kv {

// A caption as it is read out: the accelerator marks left out ("&Ok" is "Ok", "&&" one "&").
std::string NameFromCaption(std::string_view caption);

// An RGB colour in words: "красный 255, зелёный 128, синий 0".
std::string DescribeColor(Color rgbColor);

// A child id as a screen reader gives it: 0 the control itself, 1..windows its child windows (in
// the system's order), then its windowless parts.
struct AccessibleChild {
  enum class Kind { self, window, part, none };
  Kind kind = Kind::none;
  int index = 0;  // the window's id (1-based) or the part's number (1-based)
  friend bool operator==(const AccessibleChild&, const AccessibleChild&) = default;
};

AccessibleChild ClassifyAccessibleChild(long childId, long windows, long parts);
long PartChildId(int part, long windows);

// The directions of the accessibility interface's navigation (its NAVDIR_* values).
enum class AccessibleDirection {
  up = 1,
  down = 2,
  left = 3,
  right = 4,
  next = 5,
  previous = 6,
  firstChild = 7,
  lastChild = 8
};

// Where navigation from `start` among `count` children leads: a child id, 0 for nowhere, or -1
// when the step leaves the control (to its siblings), which only the system knows.
long NavigateAmongChildren(long start, AccessibleDirection direction, long count);

}  // namespace kv
