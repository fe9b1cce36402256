#include "toolkit/accessible.h"

#include <gtest/gtest.h>

#include <string>

namespace kv {
namespace {

TEST(AccessibleName, CaptionWithoutItsAcceleratorMarks) {
  EXPECT_EQ(NameFromCaption("&Ok"), "Ok");
  EXPECT_EQ(NameFromCaption("О &программе"), "О программе");
  EXPECT_EQ(NameFromCaption("Tom && Jerry"), "Tom & Jerry");
  EXPECT_EQ(NameFromCaption("&&&X"), "&X");
  EXPECT_EQ(NameFromCaption("..."), "...");
  EXPECT_EQ(NameFromCaption("end&"), "end");
}

TEST(AccessibleValue, ColourInWords) {
  EXPECT_EQ(DescribeColor(rgb(255, 128, 0)), "красный 255, зелёный 128, синий 0");
  EXPECT_EQ(DescribeColor(clBlack), "красный 0, зелёный 0, синий 0");
}

// A panel with one child window (the field) and two windowless buttons.
TEST(AccessibleChildren, WindowsFirstThenPartsAndBack) {
  using Kind = AccessibleChild::Kind;
  EXPECT_EQ(ClassifyAccessibleChild(0, 1, 2), (AccessibleChild{Kind::self, 0}));
  EXPECT_EQ(ClassifyAccessibleChild(1, 1, 2), (AccessibleChild{Kind::window, 1}));
  EXPECT_EQ(ClassifyAccessibleChild(2, 1, 2), (AccessibleChild{Kind::part, 1}));
  EXPECT_EQ(ClassifyAccessibleChild(3, 1, 2), (AccessibleChild{Kind::part, 2}));
  EXPECT_EQ(ClassifyAccessibleChild(4, 1, 2).kind, Kind::none);
  EXPECT_EQ(ClassifyAccessibleChild(-1, 1, 2).kind, Kind::none);
  for (int part = 1; part <= 2; ++part)
    EXPECT_EQ(ClassifyAccessibleChild(PartChildId(part, 1), 1, 2),
              (AccessibleChild{Kind::part, part}));
  EXPECT_EQ(ClassifyAccessibleChild(1, 0, 2), (AccessibleChild{Kind::part, 1}));
}

TEST(AccessibleNavigation, AmongChildrenAndOutOfTheControl) {
  using D = AccessibleDirection;
  EXPECT_EQ(NavigateAmongChildren(0, D::firstChild, 3), 1);
  EXPECT_EQ(NavigateAmongChildren(0, D::lastChild, 3), 3);
  EXPECT_EQ(NavigateAmongChildren(0, D::firstChild, 0), 0);
  EXPECT_EQ(NavigateAmongChildren(0, D::next, 3), -1);  // the control's siblings
  EXPECT_EQ(NavigateAmongChildren(1, D::next, 3), 2);
  EXPECT_EQ(NavigateAmongChildren(2, D::previous, 3), 1);
  EXPECT_EQ(NavigateAmongChildren(3, D::next, 3), 0);
  EXPECT_EQ(NavigateAmongChildren(1, D::previous, 3), 0);
  EXPECT_EQ(NavigateAmongChildren(2, D::firstChild, 3), 0);
  EXPECT_EQ(NavigateAmongChildren(4, D::next, 3), 0);
}

}  // namespace
}  // namespace kv
