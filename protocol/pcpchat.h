// Chat: ChatSay (client) and ChatNotice (server) share one 104-byte body.
//
//   32 I32   TableNumber
//   36 1     seat of the speaker
//   37 59    text: at most 58 bytes of GBK and a NUL, rest 0
//   96 8     tail
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "protocol/pcpheadtail.h"

namespace quarn {

inline constexpr std::size_t ChatFieldSize = 59;  // 58 bytes of text and a NUL

struct ChatRecord {
  std::int32_t tableNumber = 0;
  std::uint8_t seat = 0;
  std::string text;  // GBK bytes; cut to 58 at a character boundary on the wire
  bool operator==(const ChatRecord&) const = default;
};

// Write the table, fail when the seat is 4 or more, else write the seat and
// the 59-byte text field.
int EncodeChatSay(const ChatRecord& record, Packet& packet);
int EncodeChatNotice(const ChatRecord& record, Packet& packet);
// Fail when the seat is 4 or more; read the text up to its NUL.
int DecodeChatSay(ChatRecord& record, const Packet& packet);
int DecodeChatNotice(ChatRecord& record, const Packet& packet);

// A watcher holds no seat, so its line names it in the text, which every
// client shows whole: "【观众" name "】" and what it said, cut to 58 bytes.
// The seat byte of such a ChatNotice is 0.
struct WatcherLine {
  std::string name;  // GBK
  std::string text;  // GBK
  bool operator==(const WatcherLine&) const = default;
};
std::string WatcherChatText(const WatcherLine& line);
// The name and words of a watcher's line; none for a line that lacks the mark.
std::optional<WatcherLine> SplitWatcherChat(std::string_view gbk);
// A seated player's line where watchers speak: one that would read as a
// watcher's gets a plain "[" for its opening 【, else it is kept as it is.
std::string SeatChatText(std::string_view gbk);

}  // namespace quarn
