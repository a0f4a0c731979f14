#include "client/model/replays.h"

#include "client/model/screen_texts.h"

namespace quarn::client {

std::string ArrivalText(const TReplays& replays) {
  const std::string game = std::to_string(replays.GameId);
  switch (replays.Arrival) {
    case ReplayArrival::None:
      return Shown("Quarn", "请在英雄榜的回放页选择一局");
    case ReplayArrival::Arriving:
      return Filled(Shown("Quarn", "正在接收第 %1 局……"), {game});
    case ReplayArrival::Ready:
      return {};
    case ReplayArrival::NotWhole:
      return Filled(Shown("Quarn", "第 %1 局没有完整收到，无法回放"), {game});
    case ReplayArrival::NotSound:
      return Filled(Shown("Quarn", "第 %1 局的记录有误，无法回放（%2）"), {game, replays.Fault});
    case ReplayArrival::NotFound:
      return Filled(Shown("Quarn", "服务器上没有你的第 %1 局"), {game});
  }
  return {};
}

}  // namespace quarn::client
