#include "client/assist/narrator.h"

#include "client/model/game_state.h"
#include "core/tpoker.h"
#include "protocol/packet_builder.h"

namespace quarn::client {

namespace {

template <typename Record>
bool Decode(MessageType type, Record& record, const Packet& packet) {
  return DecodeBody(type, record, packet) == 0;
}

std::vector<std::uint8_t> Laid(const std::array<std::uint8_t, 33>& cards, int count) {
  return {cards.begin(), cards.begin() + std::min(count, 33)};
}

}  // namespace

std::string RanksText(const std::vector<std::uint8_t>& cards) {
  std::string text;
  for (std::uint8_t card : cards) {
    if (!text.empty()) text += ' ';
    text += RankName(RankOf(card));
  }
  return text;
}

std::string SeatWho(const SeatNames& names, int seat) {
  if (!IsSeat(seat)) return "?";
  const std::string& name = names[static_cast<std::size_t>(seat)];
  return std::string(SeatName(seat)) + (name.empty() ? "" : " " + name);
}

void TellEndOrLeave(const Packet& packet, SeatNames& names, std::array<int, 4>& scores,
                    std::vector<std::string>& lines) {
  const auto type = static_cast<MessageType>(packet.RawType());
  if (GameEndRecord end;
      type == MessageType::GameEnd && Decode(type, end, packet) && IsSeat(end.winner)) {
    std::string text = "得分：";
    for (std::size_t seat = 0; seat < scores.size(); ++seat) {
      const int change = end.score[seat] - scores[seat];
      text += (seat ? "，" : "") + SeatWho(names, static_cast<int>(seat)) + " " +
              (change >= 0 ? "+" : "") + std::to_string(change) + "（共 " +
              std::to_string(end.score[seat]) + "）";
      scores[seat] = end.score[seat];
    }
    lines.push_back("赢家：" + SeatWho(names, end.winner));
    lines.push_back(text);
  } else if (SeatRecord leave; type == MessageType::PlayerLeave && Decode(type, leave, packet) &&
                               IsSeat(leave.seat)) {
    lines.push_back(SeatWho(names, leave.seat) + " 离开");
    names[static_cast<std::size_t>(leave.seat)].clear();
  }
}

std::string Narrator::Who(int seat) const {
  return SeatWho(names_, seat);
}

void Narrator::NoteBid(std::vector<std::string>& lines, int points) {
  if (!client::IsSeat(bidder_)) return;
  lines.push_back(Who(bidder_) +
                  (points > highBid_ ? " 叫 " + std::to_string(points) + " 分" : " 不叫"));
  highBid_ = std::max(highBid_, points);
}

std::vector<std::string> Narrator::Lines(const TClientTable& table, const Packet& packet) {
  std::vector<std::string> lines;
  const auto type = static_cast<MessageType>(packet.RawType());
  switch (type) {
    case MessageType::SeatList:
      for (int seat = 0; seat < client::kSeatCount; ++seat) {
        const std::string name = table.SeatPlayerName(seat);
        std::string& known = names_[static_cast<std::size_t>(seat)];
        if (name == known) continue;
        known = name;
        if (!name.empty()) lines.push_back(Who(seat) + " 入座");
      }
      break;
    case MessageType::DealCards:
      if (DealRecord deal; Decode(type, deal, packet) && deal.seat == table.OwnSeat)
        lines.push_back("发牌：每家 " + std::to_string(deal.count) + " 张，底牌 8 张");
      break;
    case MessageType::StartCardNotice:
      if (DealRecord start; Decode(type, start, packet)) {
        TPoker card;
        card.SetCard(start.cards[0]);
        lines.push_back("明牌 " + std::string(card.Name()) + " 在 " + Who(start.seat));
      }
      break;
    case MessageType::BidStart:
    case MessageType::BidTurn:
      if (BidRecord bid; Decode(type, bid, packet)) {
        if (type == MessageType::BidStart)
          highBid_ = bid.points;
        else
          NoteBid(lines, bid.points);
        bidder_ = bid.seat;
      }
      break;
    case MessageType::BidResult:
      if (BidRecord result; Decode(type, result, packet)) {
        NoteBid(lines, result.points);
        bidder_ = -1;
        lines.push_back("地主：" + Who(result.seat) + "，" + std::to_string(result.points) + " 分");
      }
      break;
    case MessageType::PlayNotice:
      if (PlayRecord play; Decode(type, play, packet)) {
        if (play.count == 0) {
          lines.push_back(Who(play.seat) + "：不要");
        } else {
          lines.push_back(Who(play.seat) + "：" + RanksText(Laid(play.cards, play.count)) + "（" +
                          std::string(table.TableCards.Name()) + "）");
        }
      }
      break;
    default:
      TellEndOrLeave(packet, names_, scores_, lines);
      break;
  }
  return lines;
}

}  // namespace quarn::client
