// Where the table window puts everything: the places of its 632 x 453 layout
// at scale 1, and how they grow with the window. The table keeps its shape at
// the largest scale that fits, centred; the window only moves its widgets to
// the places this gives.
#pragma once

#include <array>

namespace quarn::client {

struct LayoutPoint {
  int x = 0;
  int y = 0;
  bool operator==(const LayoutPoint&) const = default;
};

// A width or height of 0: the widget sizes itself to its text.
struct LayoutRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;

  bool Sized() const { return width > 0 && height > 0; }
  LayoutPoint TopLeft() const { return {x, y}; }
  bool Contains(const LayoutRect& other) const;
  bool Intersects(const LayoutRect& other) const;
  bool operator==(const LayoutRect&) const = default;
};

// The places at scale 1. Positions: 0 own, 1 left, 2 top, 3 right.
namespace table_places {

inline constexpr int kWidth = 632;
inline constexpr int kHeight = 453;
inline constexpr int kHeadSize = 32;
inline constexpr int kCardWidth = 71;  // a card image, lowered
inline constexpr int kCardHeight = 96;

inline constexpr LayoutRect kSeatLetter{16, 8, 58, 56};
inline constexpr LayoutRect kTalk{352, 8, 273, 65};
inline constexpr LayoutRect kTablePanel{120, 136, 329, 145};
inline constexpr LayoutRect kHandPanel{8, 288, 553, 130};
inline constexpr LayoutPoint kLordCard{96, 8};
inline constexpr LayoutRect kLordMark{0, 0, 16, 16};  // its size; it moves to the landlord's head

// The speed buttons beside the chat, two by two.
inline constexpr LayoutRect kShutup{576, 202, 23, 22};
inline constexpr LayoutRect kSpeak{600, 202, 23, 22};
inline constexpr LayoutRect kHero{576, 224, 23, 22};
inline constexpr LayoutRect kWaiter{600, 224, 23, 22};
// The column of buttons on the right.
inline constexpr LayoutRect kAutoPlay{568, 122, 59, 22};
inline constexpr LayoutRect kCounterButton{568, 148, 59, 22};
inline constexpr LayoutRect kHint{568, 174, 59, 25};
inline constexpr LayoutRect kLogin{568, 256, 59, 25};
inline constexpr LayoutRect kSend{568, 288, 59, 25};
inline constexpr LayoutRect kBid{568, 314, 59, 25};
inline constexpr LayoutRect kCancel{568, 340, 59, 25};
inline constexpr LayoutRect kPass{568, 366, 59, 25};
inline constexpr LayoutRect kQuit{568, 392, 59, 25};
// In the middle of the empty table, where a player looks after a lost connection.
inline constexpr LayoutRect kReconnect{209, 192, 150, 32};
// The card counter, under the chat.
inline constexpr LayoutRect kCounter{328, 76, 148, 58};
inline constexpr LayoutRect kStatusBar{0, 429, 632, 24};
inline constexpr std::array<int, 3> kStatusWidths = {360, 200, 60};

LayoutRect Head(int position);
LayoutRect Name(int position);   // sized to its text
LayoutRect Count(int position);  // sized to its text
// The backs of the other players' cards: 0 left, 1 top, 2 right.
LayoutRect CardBack(int index);
// What a position did last this round, beside it in the free room of the layout.
LayoutRect SeatAct(int position);
// A card's corner: own slot 0..32 in the hand panel, slot 0..32 in the table panel.
LayoutPoint HandCard(int slot);
LayoutPoint TableCard(int slot);

}  // namespace table_places

class TableLayout {
 public:
  // Fits the table into a window of `width` x `height`: the largest scale
  // that shows all of it (never below a quarter), centred.
  void Fit(int width, int height);

  double Scale() const { return scale_; }
  // The table's top-left corner in the window.
  LayoutPoint Origin() const { return origin_; }
  // A place at scale 1, in the window now. Edges are rounded, so places that
  // do not meet at scale 1 never meet.
  LayoutRect InWindow(LayoutRect base) const;
  // The same inside a panel, which moves with the table.
  LayoutRect InPanel(LayoutRect base) const;
  LayoutPoint InWindow(LayoutPoint base) const {
    return InWindow(LayoutRect{base.x, base.y}).TopLeft();
  }
  LayoutPoint InPanel(LayoutPoint base) const {
    return InPanel(LayoutRect{base.x, base.y}).TopLeft();
  }
  // A length (a font's pixels, a panel's width) at the current scale.
  int Length(double base) const;

 private:
  double scale_ = 1.0;
  LayoutPoint origin_;
};

}  // namespace quarn::client
