#include "toolkit/accessible.h"

namespace kv {

std::string NameFromCaption(std::string_view caption) {
  std::string name;
  name.reserve(caption.size());
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&') {
      // "&&" stands for the character itself; a single "&" only marks the next one.
      if (i + 1 < caption.size() && caption[i + 1] == '&')
        ++i;
      else
        continue;
    }
    name.push_back(caption[i]);
  }
  return name;
}

std::string DescribeColor(Color rgbColor) {
  return "красный " + std::to_string(redOf(rgbColor)) + ", зелёный " +
         std::to_string(greenOf(rgbColor)) + ", синий " + std::to_string(blueOf(rgbColor));
}

AccessibleChild ClassifyAccessibleChild(long childId, long windows, long parts) {
  using Kind = AccessibleChild::Kind;
  if (childId == 0)
    return {Kind::self, 0};
  if (childId > 0 && childId <= windows)
    return {Kind::window, static_cast<int>(childId)};
  if (childId > windows && childId <= windows + parts)
    return {Kind::part, static_cast<int>(childId - windows)};
  return {Kind::none, 0};
}

long PartChildId(int part, long windows) {
  return windows + part;
}

long NavigateAmongChildren(long start, AccessibleDirection direction, long count) {
  if (start == 0) {
    switch (direction) {
      case AccessibleDirection::firstChild:
        return count > 0 ? 1 : 0;
      case AccessibleDirection::lastChild:
        return count;
      default:
        return -1;
    }
  }
  if (start < 0 || start > count)
    return 0;
  switch (direction) {
    case AccessibleDirection::next:
    case AccessibleDirection::right:
    case AccessibleDirection::down:
      return start < count ? start + 1 : 0;
    case AccessibleDirection::previous:
    case AccessibleDirection::left:
    case AccessibleDirection::up:
      return start - 1;
    default:
      // A simple child has no children of its own.
      return 0;
  }
}

}  // namespace kv
