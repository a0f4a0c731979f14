#include "core/name_grid.h"

#include <initializer_list>

namespace quarn {
namespace {

using T = CombinationType;

constexpr std::string_view kIllegal = "非法牌型";
constexpr std::string_view kTwoPairs = "两对";
constexpr std::string_view kBombTail = "炸弹带花";

constexpr NameCell Cell(T type, std::string_view name) {
  return {type, name};
}
constexpr NameCell Filler() {
  return {T::Unknown, kIllegal};
}
constexpr NameCell TailFiller() {
  return {T::Unknown, kBombTail};
}

// A row with its matching cells first, filled up to four cells with `fill`
// and then with the illegal-form filler.
constexpr NameRow Row(int count, std::initializer_list<NameCell> cells,
                      std::initializer_list<NameCell> fill = {}) {
  NameRow row{count, true, {Filler(), Filler(), Filler(), Filler()}};
  std::size_t i = 0;
  for (const NameCell& cell : cells) row.cells[i++] = cell;
  for (const NameCell& cell : fill) row.cells[i++] = cell;
  return row;
}

constexpr NameRow Invalid(int count) {
  return {count, false, {Filler(), Filler(), Filler(), Filler()}};
}

constexpr std::array<NameRow, kMaxCards + 1> kGrid = {
    Invalid(0),
    Row(1, {Cell(T::Single, "单张")}),
    Row(2, {Cell(T::Rocket, "一对")}),
    Row(3, {Cell(T::Missle, "一组")}),
    Row(4, {Cell(T::Unknown, kTwoPairs), Cell(T::Bomb, "炸弹"), Cell(T::KingBomb, "天炸")}),
    Row(5, {Cell(T::Plane, "单飞"), Cell(T::Bomb, "炸弹")}, {TailFiller()}),
    Row(6, {Cell(T::Rocket, "三姊妹"), Cell(T::Missle, "双三"), Cell(T::Bomb, "炸弹")},
        {TailFiller()}),
    Row(7, {Cell(T::Bomb, "炸弹")}, {TailFiller()}),
    Row(8, {Cell(T::Rocket, "小火箭"), Cell(T::Bomb, "炸弹")}, {TailFiller()}),
    Row(9, {Cell(T::Missle, "小导弹")}, {TailFiller()}),
    Row(10, {Cell(T::Rocket, "大火箭"), Cell(T::Plane, "双飞")}),
    Invalid(11),
    Row(12, {Cell(T::Rocket, "超级火箭"), Cell(T::Missle, "大导弹")}),
    Invalid(13),
    Row(14, {Cell(T::Rocket, "超级火箭")}),
    Row(15, {Cell(T::Missle, "超级导弹"), Cell(T::Plane, "三飞")}),
    Row(16, {Cell(T::Rocket, "超级大火箭")}),
    Invalid(17),
    Row(18, {Cell(T::Rocket, "超级大火箭"), Cell(T::Missle, "超级大导弹")}),
    Invalid(19),
    Row(20, {Cell(T::Rocket, "超级大火箭"), Cell(T::Plane, "四飞")}),
    Row(21, {Cell(T::Missle, "超级大导弹")}),
    Row(22, {Cell(T::Rocket, "超级大火箭")}),
    Invalid(23),
    Row(24, {Cell(T::Rocket, "超级大火箭"), Cell(T::Missle, "超级大导弹")}),
    Row(25, {Cell(T::Plane, "地飞")}),
    Row(26, {Cell(T::Rocket, "无敌大火箭")}),
    Row(27, {Cell(T::Missle, "超级大导弹")}),
    Invalid(28),
    Invalid(29),
    Row(30, {Cell(T::Missle, "超级大导弹"), Cell(T::Plane, "天飞")}),
    Invalid(31),
    Invalid(32),
    Row(33, {Cell(T::Missle, "无敌大导弹")}),
};

constexpr bool RowsMatchTheirIndex() {
  for (std::size_t i = 0; i < kGrid.size(); ++i) {
    if (kGrid[i].count != static_cast<int>(i)) return false;
  }
  return true;
}
static_assert(RowsMatchTheirIndex());

// The cell of `type` in row `count`, or nullptr.
constexpr const NameCell* FindCell(int count, CombinationType type) {
  if (count < 0 || count > kMaxCards || type == T::Unknown) return nullptr;
  const NameRow& row = kGrid[count];
  if (row.count != count || !row.valid) return nullptr;
  for (const NameCell& cell : row.cells) {
    if (cell.type == type) return &cell;
  }
  return nullptr;
}

// Bit c of kNamedCounts[type] set = a set of c cards of that type has a name.
constexpr std::array<std::uint64_t, 8> NamedCounts() {
  std::array<std::uint64_t, 8> masks{};
  for (int type = 1; type < 8; ++type) {
    for (int count = 0; count <= kMaxCards; ++count) {
      if (FindCell(count, static_cast<T>(type)) != nullptr)
        masks[type] |= std::uint64_t{1} << count;
    }
  }
  return masks;
}

constexpr std::array<std::uint64_t, 8> kNamedCounts = NamedCounts();

}  // namespace

const std::array<NameRow, kMaxCards + 1>& NameGrid() {
  return kGrid;
}

bool LookupName(int count, CombinationType type, std::string_view& typeName,
                std::string_view& name) {
  const NameCell* cell = FindCell(count, type);
  if (cell == nullptr) return false;
  typeName = CombinationTypeName(type);
  name = cell->name;
  return true;
}

bool IsNamed(int count, CombinationType type) {
  const auto index = static_cast<std::size_t>(type);
  if (count < 0 || count > kMaxCards || index >= kNamedCounts.size()) return false;
  return (kNamedCounts[index] >> count) & 1u;
}

}  // namespace quarn
