#include "client/model/table_layout.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace quarn::client {

namespace {

// Halves round up, as the window system rounds.
int Round(double value) {
  return static_cast<int>(std::floor(value + 0.5));
}

struct PlayerPlace {
  LayoutPoint head, name, count;
};
constexpr std::array<PlayerPlace, 4> kPlayers = {{
    {{480, 248}, {16, 268}, {80, 268}},
    {{16, 80}, {16, 116}, {80, 116}},
    {{208, 8}, {248, 12}, {312, 12}},
    {{480, 80}, {480, 116}, {544, 116}},
}};
constexpr std::array<LayoutPoint, 3> kCardBacks = {{{16, 136}, {248, 32}, {480, 136}}};
constexpr int kCardBackWidth = 75;
constexpr int kCardBackHeight = 98;
constexpr std::array<LayoutRect, 4> kSeatActs = {
    {{516, 238, 48, 46}, {94, 136, 24, 145}, {170, 44, 76, 88}, {452, 136, 26, 98}}};

const PlayerPlace& Player(int position) {
  return kPlayers[static_cast<std::size_t>(std::clamp(position, 0, 3))];
}

}  // namespace

bool LayoutRect::Contains(const LayoutRect& other) const {
  return other.x >= x && other.y >= y && other.x + other.width <= x + width &&
         other.y + other.height <= y + height;
}

bool LayoutRect::Intersects(const LayoutRect& other) const {
  return Sized() && other.Sized() && other.x < x + width && x < other.x + other.width &&
         other.y < y + height && y < other.y + other.height;
}

namespace table_places {

LayoutRect Head(int position) {
  const LayoutPoint at = Player(position).head;
  return {at.x, at.y, kHeadSize, kHeadSize};
}

LayoutRect Name(int position) {
  const LayoutPoint at = Player(position).name;
  return {at.x, at.y, 0, 0};
}

LayoutRect Count(int position) {
  const LayoutPoint at = Player(position).count;
  return {at.x, at.y, 0, 0};
}

LayoutRect CardBack(int index) {
  const LayoutPoint at = kCardBacks[static_cast<std::size_t>(std::clamp(index, 0, 2))];
  return {at.x, at.y, kCardBackWidth, kCardBackHeight};
}

LayoutRect SeatAct(int position) {
  return kSeatActs[static_cast<std::size_t>(std::clamp(position, 0, 3))];
}

LayoutPoint HandCard(int slot) {
  return {1 + 15 * slot, 33};
}

LayoutPoint TableCard(int slot) {
  return slot < 17 ? LayoutPoint{8 + 15 * slot, 8} : LayoutPoint{16 + 15 * (slot - 17), 40};
}

}  // namespace table_places

void TableLayout::Fit(int width, int height) {
  scale_ = std::max(0.25, std::min(width / static_cast<double>(table_places::kWidth),
                                   height / static_cast<double>(table_places::kHeight)));
  origin_ = {Round((width - table_places::kWidth * scale_) / 2),
             Round((height - table_places::kHeight * scale_) / 2)};
}

LayoutRect TableLayout::InPanel(LayoutRect base) const {
  const int left = Round(base.x * scale_);
  const int top = Round(base.y * scale_);
  const int right = Round((base.x + base.width) * scale_);
  const int bottom = Round((base.y + base.height) * scale_);
  return {left, top, right - left, bottom - top};
}

LayoutRect TableLayout::InWindow(LayoutRect base) const {
  LayoutRect placed = InPanel(base);
  placed.x += origin_.x;
  placed.y += origin_.y;
  return placed;
}

int TableLayout::Length(double base) const {
  return Round(base * scale_);
}

}  // namespace quarn::client
