// The name grid: which card counts each combination type admits, and the
// Chinese name shown for it.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "core/combination.h"

namespace quarn {

inline constexpr int kMaxCards = 33;

struct NameCell {
  CombinationType type = CombinationType::Unknown;  // Unknown never matches
  std::string_view name;                            // UTF-8; the GBK form fits 15 bytes
};

struct NameRow {
  std::int32_t count = 0;  // equals the row's index
  bool valid = false;
  std::array<NameCell, 4> cells;
};

// 34 rows, one per card count 0..33.
const std::array<NameRow, kMaxCards + 1>& NameGrid();

// True when row `count` is valid and holds a cell of `type`; then fills the
// type's name and the cell's name. Otherwise (count outside 0..33, type
// Unknown, an invalid row, no matching cell) leaves both untouched.
bool LookupName(int count, CombinationType type, std::string_view& typeName,
                std::string_view& name);

// Whether a set of `count` cards of `type` has a name (LookupName would succeed).
bool IsNamed(int count, CombinationType type);

}  // namespace quarn
