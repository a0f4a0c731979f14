// The table window's places at the scales a player meets: every card inside
// its panel (the table window's own test finds every control inside the
// window and none over another, at the same sizes).
#include "client/model/table_layout.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace quarn::client::testing {
namespace {

namespace places = table_places;

TEST(TableLayout, AtEveryScaleTheCardsStayInsideTheirPanels) {
  struct Window {
    int width, height;
    double scale;
  };
  for (const Window window : {Window{632, 453, 1.0}, Window{948, 680, 1.5}, Window{1264, 906, 2.0},
                              Window{1280, 800, 800 / 453.0}}) {
    SCOPED_TRACE(::testing::Message() << window.width << "x" << window.height);
    TableLayout layout;
    layout.Fit(window.width, window.height);
    EXPECT_DOUBLE_EQ(layout.Scale(), window.scale);
    // Cards lie inside their panels, a raised own card too.
    const LayoutRect hand =
        layout.InPanel({0, 0, places::kHandPanel.width, places::kHandPanel.height});
    const LayoutRect table =
        layout.InPanel({0, 0, places::kTablePanel.width, places::kTablePanel.height});
    for (int slot = 0; slot < 33; ++slot) {
      const LayoutPoint own = places::HandCard(slot);
      const LayoutPoint laid = places::TableCard(slot);
      EXPECT_TRUE(hand.Contains(
          layout.InPanel({own.x, own.y - 30, places::kCardWidth, places::kCardHeight + 30})));
      EXPECT_TRUE(table.Contains(
          layout.InPanel({laid.x, laid.y, places::kCardWidth, places::kCardHeight})));
    }
  }
}

TEST(TableLayout, TheTableIsCentredAndNeverShrinksBelowAQuarter) {
  TableLayout layout;
  layout.Fit(1280, 800);
  const LayoutRect table = layout.InWindow({0, 0, places::kWidth, places::kHeight});
  EXPECT_LE(std::abs((1280 - table.width) - 2 * table.x), 1);
  EXPECT_EQ(table.y, 0);
  layout.Fit(10, 10);
  EXPECT_DOUBLE_EQ(layout.Scale(), 0.25);
  EXPECT_EQ(layout.Length(12), 3);
}

}  // namespace
}  // namespace quarn::client::testing
