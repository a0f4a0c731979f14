#include "client/assist/watch_narrator.h"

#include "client/assist/narrator.h"
#include "client/model/game_state.h"
#include "core/card_error.h"
#include "core/gbk.h"
#include "core/tpoker.h"
#include "core/tselectpoker.h"
#include "protocol/packet_builder.h"

namespace quarn::client {

namespace {

constexpr int kDealt = 25;
constexpr int kBottom = 8;

template <typename Record>
bool Decode(MessageType type, Record& record, const Packet& packet) {
  return DecodeBody(type, record, packet) == 0;
}

// The combination's name: the server checked the play, so no card error is told.
std::string ComboName(const PlayRecord& play) {
  const SilencedCardErrors silenced;
  TSelectPoker cards;
  cards.LoadBytes(play.cards);
  cards.Classify();
  return std::string(cards.Name());
}

}  // namespace

std::string WatchNarrator::Who(int seat) const {
  return SeatWho(names_, seat);
}

std::string WatchNarrator::CountsText() const {
  std::string text = "余牌";
  for (int seat = 0; seat < kSeatCount; ++seat) {
    text +=
        " " + std::string(SeatName(seat)) + std::to_string(counts_[static_cast<std::size_t>(seat)]);
  }
  return text;
}

std::vector<std::string> WatchNarrator::Lines(const Packet& packet) {
  std::vector<std::string> lines;
  const auto type = static_cast<MessageType>(packet.RawType());
  switch (type) {
    case MessageType::WatchReply:
      if (WatchReplyRecord reply; Decode(type, reply, packet)) {
        lines.push_back(reply.result == WatchResult::Watching
                            ? "观看第 " + std::to_string(reply.tableNumber) + " 桌（观众 " +
                                  std::to_string(reply.watchers) + "/" +
                                  std::to_string(reply.watcherLimit) + "）"
                            : "服务器不让观看第 " + std::to_string(reply.tableNumber) + " 桌");
      }
      break;
    case MessageType::SeatList:
      if (LoginRecord list; Decode(type, list, packet)) {
        for (std::size_t seat = 0; seat < names_.size(); ++seat) {
          const std::string name = list.nameLength[seat] > 0 ? GbkToUtf8(list.name[seat]) : "";
          if (name == names_[seat]) continue;
          names_[seat] = name;
          if (!name.empty()) lines.push_back(Who(static_cast<int>(seat)) + " 入座");
        }
      }
      break;
    case MessageType::WatchState:
      if (TableStateRecord state; Decode(type, state, packet)) {
        for (std::size_t seat = 0; seat < counts_.size(); ++seat) {
          counts_[seat] = state.cardCount[seat];
          scores_[seat] = state.score[seat];
        }
        landlord_ = state.phase == TablePhase::Playing ? state.landlord : -1;
        lines.push_back("牌局进行中，" + CountsText());
      }
      break;
    case MessageType::StartCardNotice:
      if (DealRecord start; Decode(type, start, packet)) {
        counts_.fill(kDealt);
        landlord_ = -1;
        TPoker card;
        card.SetCard(start.cards[0]);
        lines.push_back("发牌：每家 25 张。明牌 " + std::string(card.Name()) + " 在 " +
                        Who(start.seat));
      }
      break;
    case MessageType::BidResult:
      if (BidRecord result; Decode(type, result, packet) && IsSeat(result.seat)) {
        landlord_ = result.seat;
        counts_[result.seat] += kBottom;
        lines.push_back("地主：" + Who(result.seat) + "，" + std::to_string(result.points) + " 分");
      }
      break;
    case MessageType::PlayNotice:
      if (PlayRecord play; Decode(type, play, packet)) {
        if (play.count == 0) {
          lines.push_back(Who(play.seat) + "：不要");
          break;
        }
        counts_[play.seat] = std::max(0, counts_[play.seat] - play.count);
        const std::vector<std::uint8_t> laid(play.cards.begin(), play.cards.begin() + play.count);
        lines.push_back(Who(play.seat) + "：" + RanksText(laid) + "（" + ComboName(play) + "），" +
                        CountsText());
      }
      break;
    default:
      TellEndOrLeave(packet, names_, scores_, lines);
      break;
  }
  return lines;
}

}  // namespace quarn::client
