#include "server/accounts.h"

#include <utility>

#include "protocol/packet_builder.h"
#include "server/table_game.h"

namespace quarn::server {

Accounts::Accounts(IServerHost& host, ConsoleLog& log, Scheduler& scheduler, Admit admit,
                   Returning returning, OpenCheck isOpen)
    : host_(host),
      log_(log),
      scheduler_(scheduler),
      admit_(std::move(admit)),
      returning_(std::move(returning)),
      isOpen_(std::move(isOpen)),
      outbox_(host, log) {}

void Accounts::Login(ConnectionId connection, const Packet& packet) {
  if (Holds(connection)) return;  // one login at a time waits for its turn
  const auto wait = throttle_.TurnOf(host_.PeerAddress(connection), host_.Monotonic());
  if (wait == std::chrono::milliseconds(0)) {
    Check(connection, packet);
    return;
  }
  held_[connection] = scheduler_.After(wait, [this, connection, packet] {
    held_.erase(connection);
    if (isOpen_(connection)) Check(connection, packet);
  });
}

void Accounts::Forget(ConnectionId connection) {
  const auto held = held_.find(connection);
  if (held == held_.end()) return;
  scheduler_.Cancel(held->second);
  held_.erase(held);
}

void Accounts::Check(ConnectionId connection, Packet packet) {
  LoginRecord request;
  if (packet.length != LoginLength || DecodeLoginRequest(request, packet) != 0) return;
  const std::string address = host_.PeerAddress(connection);
  if (store_ == nullptr || returning_(request, address)) {
    admit_(connection, packet);
    return;
  }
  const std::string name = NameForText(request.name[0]);
  switch (Judge(request)) {
    case Verdict::Registered:
      log_.Line(LineKind::Game, "名字" + name + "由" + address + "注册");
      [[fallthrough]];
    case Verdict::Admitted:
      admit_(connection, packet);
      return;
    case Verdict::WrongPassword:
      throttle_.Failed(address, host_.Monotonic());
      log_.Line(LineKind::Game, "密码不符，拒绝" + address + "以" + name + "登录");
      break;
    case Verdict::NotStored:
      log_.Line(LineKind::Error, "[错误]名字" + name + "无法注册（存储失败），拒绝登录");
      break;
  }
  Refuse(connection, packet, request);
}

Accounts::Verdict Accounts::Judge(const LoginRecord& request) {
  const std::string& name = request.name[0];
  if (const auto hash = store_->PasswordHash(name)) {
    return PasswordMatches(*hash, request.password) ? Verdict::Admitted : Verdict::WrongPassword;
  }
  const auto hash = HashPassword(request.password, cost_);
  if (!hash) return Verdict::NotStored;
  switch (store_->AddPasswordHash(name, *hash)) {
    case store::AccountWrite::Done:
      return Verdict::Registered;
    case store::AccountWrite::Refused:
      // The name has a hash the read above did not see: never let it in unchecked.
      if (const auto stored = store_->PasswordHash(name)) {
        return PasswordMatches(*stored, request.password) ? Verdict::Admitted
                                                          : Verdict::WrongPassword;
      }
      return Verdict::NotStored;
    case store::AccountWrite::Failed:
      break;
  }
  return Verdict::NotStored;
}

void Accounts::Refuse(ConnectionId connection, Packet& packet, LoginRecord request) {
  request.tableNumber = RefusedTable;
  request.seat = RefusedSeat;
  if (RewriteHeader(packet, MessageType::LoginReply) == 0 &&
      EncodeLoginReply(request, packet) == 0) {
    outbox_.SendToSeat(connection, packet);
  }
}

}  // namespace quarn::server
