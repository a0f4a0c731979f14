// A server that sends anything: its bytes reach the client model as the
// window and the page take them, with a player pressing keys, buttons and
// the hint and stepping through replays in between, and a computer player
// (quarn-bot's session) fed the same stream, moving whenever it wants to. No
// packet may crash either or make them send what is not a well-formed
// message of a client, and their picture of the table stays within bounds.
//
// The input, read front to back:
//   byte 0: the seat both log in for (value % 4)
//   then events, each an operation byte (value % 8) and its arguments:
//     0 packet <type and fields>   1 raw N <N bytes>   2 key K   3 button B
//     4 drag A B   5 request R <id>   6 time T (the bot moves)   7 lost
#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "bot/bot_session.h"
#include "client/assist/hint.h"
#include "client/model/client_sending.h"
#include "client/model/hand_keys.h"
#include "client/model/message_handling.h"
#include "client/model/replay_steps.h"
#include "fuzz/service_input.h"
#include "protocol/any_message.h"
#include "protocol/stream_assembler.h"

namespace {

using namespace quarn;
using namespace quarn::client;
using quarn::fuzz::FuzzInput;
using quarn::fuzz::Require;

// Everything a client writes is one whole message of the client's table.
void CheckSent(std::span<const std::uint8_t> bytes) {
  const std::optional<DecodedMessage> message = DecodeMessage(PacketFromBytes(bytes));
  Require(message.has_value() && message->header.packetLength == bytes.size(),
          "a client sends whole messages of its own");
}

class Writer final : public IPacketWriter {
 public:
  bool WritePacket(std::span<const std::uint8_t> packet) override {
    CheckSent(packet);
    return true;
  }
};

void CheckTable(const TClientTable& table) {
  Require(table.Me.Hand.Count() >= 0 && table.Me.Hand.Count() <= 33, "a hand holds 0..33 cards");
  Require(table.TableCards.Count() >= 0 && table.TableCards.Count() <= 33,
          "the table holds 0..33 cards");
  Require(table.OwnSeat >= 0 && table.OwnSeat < 4, "the own seat is 0..3");
  Require(static_cast<int>(table.GameState) <= static_cast<int>(TGameState::PlaySent),
          "the state is one of the client's");
}

class Session {
 public:
  explicit Session(int seat)
      : table_(nullptr, &writer_),
        bot_({.utf8Name = "电脑", .seat = seat, .answerTimeout = std::chrono::seconds(5)}, nullptr),
        hint_(ai::Level::Basic, {}) {
    table_.InitTable();
    LogIn(seat);
  }

  void Run(FuzzInput& in) {
    for (int events = 0; !in.Done() && events < 2000; ++events) {
      Event(in);
      CheckTable(table_);
      CheckTable(bot_.Table());
    }
  }

 private:
  void LogIn(int seat) {
    if (std::optional<Packet> login = BuildLoginRequest("玩家", "", 1, 1, 1, seat)) {
      SendPacket(table_, *login);
      table_.SetGameState(TGameState::LoggingIn);
    }
    if (std::optional<Packet> login = bot_.Login()) CheckSent(login->data());
  }

  void Event(FuzzInput& in) {
    switch (in.Byte() % 8) {
      case 0:
        Feed(fuzz::FuzzedPacket(in, {.table = 1, .seat = static_cast<std::uint8_t>(in.Byte() % 4)}),
             in.Byte());
        break;
      case 1:
        Feed(in.Bytes(in.Byte()), in.Byte());
        break;
      case 2:
        Button(cursor_.Press(table_, static_cast<TableKey>(in.Byte() % 10)));
        break;
      case 3:
        Button(static_cast<TableButton>(in.Byte() % 8));
        break;
      case 4:
        cursor_.BeginDrag(table_.Me, in.Byte() % 34);
        cursor_.DragOver(table_.Me, in.Byte() % 34);
        cursor_.EndDrag();
        break;
      case 5:
        Request(in);
        break;
      case 6:
        Move(in.Byte());
        break;
      default:
        table_.ConnectionLost();
        bot_.ConnectionLost();
        LogIn(in.Byte() % 4);
        break;
    }
    StepReplay();
  }

  // The same bytes to both, the window's in two pieces.
  void Feed(std::span<const std::uint8_t> bytes, std::uint8_t cut) {
    const std::size_t first = bytes.empty() ? 0 : cut % (bytes.size() + 1);
    FeedBytes(table_, windowStream_, bytes.first(first));
    FeedBytes(table_, windowStream_, bytes.subspan(first));
    botStream_.Feed(bytes);
    while (std::optional<Packet> packet = botStream_.Next()) bot_.OnPacket(*packet, now_);
  }

  void Button(TableButton button) {
    switch (button) {
      case TableButton::Send:
        PlaySelection(table_);
        break;
      case TableButton::Bid:
        SendBid(table_);
        break;
      case TableButton::Pass:
        PressPass(table_);
        break;
      case TableButton::Cancel:
        table_.Me.CancelSelection();
        break;
      case TableButton::Hint:
        if (const std::optional<ai::PlannedPlay> play = hint_.Next(table_)) {
          SelectPlay(table_, play->cards);
        }
        break;
      case TableButton::AutoPlay:
        SendAutoPlay(table_, table_.SeatControls[static_cast<std::size_t>(table_.OwnSeat)] ==
                                 SeatControl::Person);
        break;
      default:
        break;
    }
  }

  void Request(FuzzInput& in) {
    switch (in.Byte() % 5) {
      case 0:
        SendStandingsRequest(table_, StandingsAsk::Top, in.Byte());
        break;
      case 1:
        SendReplayListRequest(table_, in.Byte());
        break;
      case 2:
        SendReplayGameRequest(table_, in.Int());
        break;
      case 3:
        SendStateRequest(table_);
        break;
      default:
        SendTalk(table_, "好");
        break;
    }
  }

  // The bot answers, or counts a refusal, as its program's timer would have it.
  void Move(std::uint8_t step) {
    now_ += std::chrono::milliseconds(step) * 50;
    if (std::optional<Packet> move = bot_.Move(now_)) CheckSent(move->data());
    if (std::optional<Packet> fallback = bot_.CheckAnswer(now_)) CheckSent(fallback->data());
  }

  // A replay that arrived is stepped through from end to end, as its window can.
  void StepReplay() {
    const TReplays& replays = table_.Replays;
    if (replays.Arrival != ReplayArrival::Ready || !replays.Game || replays.GameId == stepped_) {
      return;
    }
    stepped_ = replays.GameId;
    const ReplaySteps steps(*replays.Game);
    for (std::size_t step = 0; step <= steps.Count(); ++step) {
      const ReplayFrame frame = steps.At(step);
      for (const auto& hand : frame.hands)
        Require(hand.size() <= 33, "a replayed hand holds 0..33");
    }
  }

  Writer writer_;
  TClientTable table_;
  StreamAssembler windowStream_;
  THandCursor cursor_;
  bot::BotSession bot_;
  StreamAssembler botStream_;
  HintCycle hint_;
  bot::BotSession::Clock::time_point now_{};
  std::int64_t stepped_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput in({data, size});
  Session session(in.Byte() % 4);
  session.Run(in);
  return 0;
}
