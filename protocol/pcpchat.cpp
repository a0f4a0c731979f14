#include "protocol/pcpchat.h"

#include "core/gbk.h"
#include "protocol/byte_order.h"

namespace quarn {
namespace {

constexpr std::size_t kTableAt = 32;
constexpr std::size_t kSeatAt = 36;
constexpr std::size_t kTextAt = 37;
constexpr std::string_view kWatcherOpen = "\xA1\xBE\xB9\xDB\xD6\xDA";  // 【观众
constexpr std::string_view kOpenBracket = kWatcherOpen.substr(0, 2);   // 【
constexpr std::string_view kWatcherClose = "\xA1\xBF";                 // 】

int Encode(const ChatRecord& r, Packet& p) {
  if (p.length < ChatLength) return 1;
  if (wire::PutTableSeat(p, kTableAt, kSeatAt, r.tableNumber, r.seat) != 0) return 1;
  wire::PutText(p, kTextAt, ChatFieldSize, r.text);
  return 0;
}

int Decode(ChatRecord& r, const Packet& p) {
  if (p.length < ChatLength) return 1;
  if (wire::GetTableSeat(p, kTableAt, kSeatAt, r.tableNumber, r.seat) != 0) return 1;
  r.text = wire::GetText(p, kTextAt, ChatFieldSize);
  return 0;
}

}  // namespace

int EncodeChatSay(const ChatRecord& record, Packet& packet) {
  return Encode(record, packet);
}
int EncodeChatNotice(const ChatRecord& record, Packet& packet) {
  return Encode(record, packet);
}
int DecodeChatSay(ChatRecord& record, const Packet& packet) {
  return Decode(record, packet);
}
int DecodeChatNotice(ChatRecord& record, const Packet& packet) {
  return Decode(record, packet);
}

std::string WatcherChatText(const WatcherLine& line) {
  const std::string text =
      std::string(kWatcherOpen) + line.name + std::string(kWatcherClose) + line.text;
  return GbkCut(text, ChatFieldSize - 1);
}

std::optional<WatcherLine> SplitWatcherChat(std::string_view gbk) {
  if (!gbk.starts_with(kWatcherOpen)) return std::nullopt;
  // The first closing mark that starts a character ends the name.
  for (std::size_t at = kWatcherOpen.size(); at < gbk.size();
       at += static_cast<unsigned char>(gbk[at]) >= 0x81 ? 2 : 1) {
    if (gbk.substr(at).starts_with(kWatcherClose)) {
      return WatcherLine{std::string(gbk.substr(kWatcherOpen.size(), at - kWatcherOpen.size())),
                         std::string(gbk.substr(at + kWatcherClose.size()))};
    }
  }
  return std::nullopt;
}

std::string SeatChatText(std::string_view gbk) {
  if (!SplitWatcherChat(gbk)) return std::string(gbk);
  return "[" + std::string(gbk.substr(kOpenBracket.size()));
}

}  // namespace quarn
