#include "widgets/painting.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace kv {
namespace {

struct IndexCase {
  int index;
  Color top, bottom, color;
  bool parentColor;
};

class TsPaintingSetter : public testing::TestWithParam<IndexCase> {};

TEST_P(TsPaintingSetter, StoresByIndexAndAlwaysRepaints) {
  const IndexCase& c = GetParam();
  TsPainting painting;
  int repaints = 0;
  painting.OnRepaint = [&] { ++repaints; };
  painting.SetColor(c.index, 0x00FF00);
  EXPECT_EQ(painting.ColorBorderTop(), c.top);
  EXPECT_EQ(painting.ColorBorderBottom(), c.bottom);
  EXPECT_EQ(painting.Color(), c.color);
  EXPECT_EQ(painting.ParentColor(), c.parentColor);
  EXPECT_EQ(repaints, 1);
}

INSTANTIATE_TEST_SUITE_P(Indices, TsPaintingSetter,
                         testing::Values(IndexCase{0, 0x00FF00, clBtnShadow, clWindow, true},
                                         IndexCase{1, clBtnHighlight, 0x00FF00, clWindow, true},
                                         IndexCase{2, clBtnHighlight, clBtnShadow, clWindow, true},
                                         IndexCase{3, clBtnHighlight, clBtnShadow, 0x00FF00, false},
                                         IndexCase{4, clBtnHighlight, clBtnShadow, clWindow,
                                                   true}));

TEST(TsPainting, FailingRepaintIsSwallowed) {
  TsPainting painting;
  painting.OnRepaint = [] { throw std::runtime_error("no window yet"); };
  EXPECT_NO_THROW(painting.SetColor(3, clSilver));
  EXPECT_EQ(painting.Color(), clSilver);
}

}  // namespace
}  // namespace kv
