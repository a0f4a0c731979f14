// A player for loopback games: logs in, bids 5 when it opens the bidding and
// passes otherwise, leads its lowest single and passes whenever it must follow.
// With everyone playing so, the landlord lays its 33 cards one by one and wins.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "protocol/pcpgame.h"
#include "tests/support/wire_client.h"

namespace quarn::test {

enum class SendStyle {
  Whole,       // one write per packet
  ByteByByte,  // every packet dribbled out a byte at a time
  WithChat,    // each packet shares its write with a ChatSay
};

class TestPlayer {
 public:
  TestPlayer(std::string gbkName, SendStyle style) : name_(std::move(gbkName)), style_(style) {}

  bool Connect(std::uint16_t port) { return wire_.Connect(port); }
  bool SendLogin(std::uint8_t wantedSeat);
  bool SendRaw(std::span<const std::uint8_t> bytes) { return wire_.Write(bytes); }
  // Reads for up to `ms` and answers what asks for an answer.
  void Pump(int ms);

  int Seat() const { return seat_; }
  int Deals() const { return deals_; }
  const std::string& Name() const { return name_; }
  const std::optional<GameEndRecord>& FirstGameEnd() const { return gameEnd_; }
  int FirstLandlord() const { return firstLandlord_; }
  int FirstPoints() const { return firstPoints_; }
  // The first game's 25 dealt cards, and the 8 bottom cards when this seat was landlord.
  const std::vector<std::uint8_t>& FirstDeal() const { return firstDeal_; }
  const std::vector<std::uint8_t>& FirstExtras() const { return firstExtras_; }
  // Every table-wide packet between this seat's first and second deal, as received.
  const std::vector<std::vector<std::uint8_t>>& Window() const { return window_; }
  // Chats sent before this seat's second deal (all of them relayed inside the
  // window when this seat is the fourth to log in: its login starts the deal).
  int ChatsSentInWindow() const { return chatsInWindow_; }
  const std::vector<std::string>& Faults() const { return faults_; }

 private:
  void Handle(const Packet& packet);
  void OnDeal(const Packet& packet);
  void OnBid(const Packet& packet, bool opening);
  void OnPlayNotice(const Packet& packet);
  void OnPlayTurn(const Packet& packet);
  void LeadIfReady();
  void Lead();
  void Pass();
  void Send(const Packet& packet);

  std::string name_;
  SendStyle style_;
  WireClient wire_;
  int seat_ = -1;
  int deals_ = 0;
  std::vector<std::uint8_t> hand_;
  int landlord_ = -1;
  bool haveResult_ = false;
  bool haveExtras_ = false;
  int lastPlayer_ = -1;
  std::optional<GameEndRecord> gameEnd_;
  int firstLandlord_ = -1;
  int firstPoints_ = 0;
  std::vector<std::uint8_t> firstDeal_;
  std::vector<std::uint8_t> firstExtras_;
  std::vector<std::vector<std::uint8_t>> window_;
  int chatsInWindow_ = 0;
  std::vector<std::string> faults_;
};

}  // namespace quarn::test
