// The card core's texts as the front end shows them. The core forms them in
// Chinese (the server's run log and the wire keep them so); the client keeps
// its own table of them, keyed by error code and by combination name, marked
// for translation.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quarn::client {

inline constexpr const char* kCardTextContext = "Cards";

// The core's error messages in code order, 0..16.
extern const std::array<const char*, 17> kCardErrorTexts;
// Every name the core gives a combination.
extern const std::array<const char*, 26> kCombinationNames;

// A card error report "<message>[<code>]" in the shown language; a report of
// an unknown code (the core's generic text) is translated the same way.
std::string ShownCardError(std::string_view report);

// Cards by number (as stored in a game record), "黑桃3 小王" in the shown
// language; an absent card shows "?".
std::string ShownCards(const std::vector<std::uint8_t>& cards);

// A combination's name in the shown language; a name not in the table as it is.
std::string ShownCombination(std::string_view name);

}  // namespace quarn::client
