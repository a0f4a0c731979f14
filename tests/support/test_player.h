// A player for loopback games: logs in, bids 5 when it opens the bidding and
// passes otherwise, leads its lowest single and passes whenever it must follow.
// With everyone playing so, the landlord lays its 33 cards one by one and wins.
#pragma once

#include <string>
#include <vector>

#include "protocol/pcpgame.h"
#include "tests/support/wire_client.h"

namespace quarn::test {

enum class SendStyle {
  Whole,  // one write per packet
};

class TestPlayer {
 public:
  TestPlayer(std::string gbkName, SendStyle) : name_(std::move(gbkName)) {}

  bool Connect(std::uint16_t port) { return wire_.Connect(port); }
  bool SendLogin(std::uint8_t wantedSeat);
  bool SendRaw(std::span<const std::uint8_t> bytes) { return wire_.Write(bytes); }
  // Reads for up to `ms` and answers what asks for an answer.
  void Pump(int ms);

  int Seat() const { return seat_; }
  int Deals() const { return deals_; }
  const std::string& Name() const { return name_; }
  // Every table-wide packet between this seat's first and second deal, as received.
  const std::vector<std::vector<std::uint8_t>>& Window() const { return window_; }
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
  WireClient wire_;
  int seat_ = -1;
  int deals_ = 0;
  std::vector<std::uint8_t> hand_;
  int landlord_ = -1;
  bool haveResult_ = false;
  bool haveExtras_ = false;
  int lastPlayer_ = -1;
  std::vector<std::vector<std::uint8_t>> window_;
  std::vector<std::string> faults_;
};

}  // namespace quarn::test
