// Names that belong to their players (off unless turned on; then the store is
// needed). A login from a connection without a seat passes here before any
// table sees it: the first login under a name registers the name with its
// password's hash; a later one must bring the same password, or it gets the
// refusal form of the login reply and its address counts a failure. A player
// coming back to a kept seat is let through as the seat already knows him.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <unordered_map>

#include "protocol/pcplogin.h"
#include "server/console_log.h"
#include "server/host.h"
#include "server/login_throttle.h"
#include "server/password_hash.h"
#include "server/scheduler.h"
#include "server/sending.h"
#include "store/game_store.h"

namespace quarn::server {

class Accounts {
 public:
  // Hands a login that passed on to the tables.
  using Admit = std::function<void(ConnectionId, Packet&)>;
  // Whether a login goes back to a kept seat (whose password it matched).
  using Returning = std::function<bool(const LoginRecord&, const std::string& address)>;
  // Whether the connection is still open when its turn comes.
  using OpenCheck = std::function<bool(ConnectionId)>;

  Accounts(IServerHost& host, ConsoleLog& log, Scheduler& scheduler, Admit admit,
           Returning returning, OpenCheck isOpen);

  // Turns accounts on over `store`, or off with nullptr.
  void Use(store::GameStore* store) { store_ = store; }
  bool On() const { return store_ != nullptr; }
  // What each new hash costs (tests and the fuzzer make it cheap).
  void SetCost(PasswordCost cost) { cost_ = cost; }

  // A login from a connection with neither a seat nor a login waiting.
  void Login(ConnectionId connection, const Packet& packet);
  // Whether a login of this connection waits for its address's turn.
  bool Holds(ConnectionId connection) const { return held_.contains(connection); }
  // The connection is gone: its waiting login is dropped.
  void Forget(ConnectionId connection);

 private:
  enum class Verdict : std::uint8_t { Admitted, Registered, WrongPassword, NotStored };
  void Check(ConnectionId connection, Packet packet);
  Verdict Judge(const LoginRecord& request);
  void Refuse(ConnectionId connection, Packet& packet, LoginRecord request);

  IServerHost& host_;
  ConsoleLog& log_;
  Scheduler& scheduler_;
  Admit admit_;
  Returning returning_;
  OpenCheck isOpen_;
  Outbox outbox_;
  store::GameStore* store_ = nullptr;
  PasswordCost cost_ = kServerCost;
  LoginThrottle throttle_;
  std::unordered_map<ConnectionId, TimerId> held_;  // logins waiting for their turn
};

}  // namespace quarn::server
