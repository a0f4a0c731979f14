#include "client/model/replays.h"

namespace quarn::client {

std::string ArrivalText(const TReplays& replays) {
  switch (replays.Arrival) {
    case ReplayArrival::None:
      return "请在英雄榜的回放页选择一局";
    case ReplayArrival::Arriving:
      return "正在接收第 " + std::to_string(replays.GameId) + " 局……";
    case ReplayArrival::Ready:
      return {};
    case ReplayArrival::NotWhole:
      return "第 " + std::to_string(replays.GameId) + " 局没有完整收到，无法回放";
    case ReplayArrival::NotSound:
      return "第 " + std::to_string(replays.GameId) + " 局的记录有误，无法回放（" + replays.Fault +
             "）";
    case ReplayArrival::NotFound:
      return "服务器上没有你的第 " + std::to_string(replays.GameId) + " 局";
  }
  return {};
}

}  // namespace quarn::client
