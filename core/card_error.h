// The card error report: numbered failures of the card core with their fixed
// messages. The core forms the text; the program decides where it goes (the
// client shows a message box, the server writes its run log).
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace quarn {

enum CardErrorCode : int {
  kCardErrUnknown = 0,      // "未知错误。"
  kCardErrSingle = 1,       // a single after a single, pair or triple
  kCardErrPair = 2,         // a pair after a single or a bomb
  kCardErrTriple = 3,       // a triple after a single or a bomb
  kCardErrBomb = 4,         // not raised by the core
  kCardErrPairRun = 5,      // pairs not consecutive
  kCardErrTripleRun = 6,    // triples not consecutive
  kCardErrPlane = 7,        // triples and pairs in different numbers
  kCardErrPlaneJoker = 8,   // a plane carrying a joker pair
  kCardErrPairJoker = 9,    // a run of pairs carrying a joker pair
  kCardErrBadSet = 10,      // not raised by the core
  kCardErrNoForm = 11,      // the set matches no form (empty)
  kCardErrBadCard = 12,     // not raised by the core
  kCardErrHandFull = 13,    // a card added to a full hand
  kCardErrNoRoom = 14,      // a hand finds no free place to make room
  kCardErrImageIndex = 15,  // a clicked card image not found in the hand
  kCardErrNullCall = 16,    // not raised by the core
};

inline constexpr int kCardErrorCount = 17;

// The message of a code 0..16 (UTF-8); empty for any other code.
std::string_view CardErrorMessage(int code);

// The text of a report: "<message>[<code>]" for 0..16, otherwise
// "选牌错误或者操作发生错误：[<code>]" (negative codes included).
std::string CardErrorText(int code);

// Receives every report's text (UTF-8). The default sink drops it.
using CardErrorSink = std::function<void(std::string_view utf8Text)>;

// Installs the process's sink and returns the previous one. An empty function
// restores the silent default. A program installs it while it has one thread.
CardErrorSink SetCardErrorSink(CardErrorSink sink);

// While one lives, reports made on the calling thread go nowhere: for asking
// whether cards form a combination, where "no" is an answer, not a fault.
// Other threads keep reporting; the sink itself is left alone, so threads
// that ask at once share no state.
class [[nodiscard]] SilencedCardErrors {
 public:
  SilencedCardErrors();
  ~SilencedCardErrors();
  SilencedCardErrors(const SilencedCardErrors&) = delete;
  SilencedCardErrors& operator=(const SilencedCardErrors&) = delete;
};

// Forms the text of `code`, hands it to the sink (unless this thread has
// silenced reports) and returns 0. Never fails.
int ReportCardError(int code);

}  // namespace quarn
