// The table window's places at the scales a player meets: every place inside
// the window, none over another, every card inside its panel.
#include "client/model/table_layout.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace quarn::client::testing {
namespace {

namespace places = table_places;

// Everything the window shows side by side (the reconnect offer shows only
// over an empty table, the landlord mark on a head image on purpose).
std::vector<LayoutRect> SideBySide() {
  std::vector<LayoutRect> all = {
      places::kSeatLetter, places::kTalk,          places::kTablePanel, places::kHandPanel,
      places::kShutup,     places::kSpeak,         places::kHero,       places::kWaiter,
      places::kAutoPlay,   places::kCounterButton, places::kHint,       places::kLogin,
      places::kSend,       places::kBid,           places::kCancel,     places::kPass,
      places::kQuit,       places::kCounter,       places::kStatusBar};
  for (int position = 0; position < 4; ++position) {
    all.push_back(places::Head(position));
    all.push_back(places::SeatAct(position));
  }
  for (int index = 0; index < 3; ++index) all.push_back(places::CardBack(index));
  return all;
}

TEST(TableLayout, AtEveryScalePlacesStayInsideAndApart) {
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
    const LayoutRect whole{0, 0, window.width, window.height};
    const std::vector<LayoutRect> base = SideBySide();
    std::vector<LayoutRect> placed;
    for (const LayoutRect& rect : base) placed.push_back(layout.InWindow(rect));
    for (std::size_t i = 0; i < placed.size(); ++i) {
      EXPECT_TRUE(whole.Contains(placed[i])) << i;
      for (std::size_t j = i + 1; j < placed.size(); ++j) {
        EXPECT_FALSE(placed[i].Intersects(placed[j])) << i << " " << j;
      }
    }
    for (int position = 0; position < 4; ++position) {
      const LayoutPoint name = layout.InWindow(places::Name(position).TopLeft());
      EXPECT_TRUE(whole.Contains({name.x, name.y, 1, 1})) << position;
    }
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
