// The page's view of the C++: WebClient, card names and the packet decoder,
// with bytes passed as Uint8Array both ways.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <cstdint>
#include <string>
#include <vector>

#include "client/model/screen_texts.h"
#include "web_client.h"

namespace {

using emscripten::val;
using quarn::web::WebClient;

std::vector<std::uint8_t> BytesOf(const val& array) {
  return emscripten::convertJSArrayToNumberVector<std::uint8_t>(array);
}

val ToUint8Array(const std::vector<std::uint8_t>& bytes) {
  val copy = val::global("Uint8Array").new_(bytes.size());
  copy.call<void>("set", val(emscripten::typed_memory_view(bytes.size(), bytes.data())));
  return copy;
}

int Feed(WebClient& client, const val& bytes) {
  return client.Feed(BytesOf(bytes));
}

// The packets the model wrote since the last call, one Uint8Array each.
val TakePackets(WebClient& client) {
  val out = val::array();
  for (const auto& packet : client.TakePackets()) out.call<void>("push", ToUint8Array(packet));
  return out;
}

std::string HintNothingBeats() {
  return std::string(quarn::client::kHintNothingBeats);
}

std::string DescribeStream(const val& bytes) {
  return quarn::web::DescribeStream(BytesOf(bytes));
}

}  // namespace

EMSCRIPTEN_BINDINGS(quarn_web) {
  emscripten::class_<WebClient>("WebClient")
      .constructor<>()
      .function("feed", &Feed)
      .function("connectionLost", &WebClient::ConnectionLost)
      .function("login", &WebClient::Login)
      .function("relogin", &WebClient::Relogin)
      .function("hasLogin", &WebClient::HasLogin)
      .function("key", &WebClient::Key)
      .function("press", &WebClient::Press)
      .function("bid", &WebClient::Bid)
      .function("passBid", &WebClient::PassBid)
      .function("hint", &WebClient::Hint)
      .function("chat", &WebClient::Chat)
      .function("beginDrag", &WebClient::BeginDrag)
      .function("dragOver", &WebClient::DragOver)
      .function("endDrag", &WebClient::EndDrag)
      .function("askStandings", &WebClient::AskStandings)
      .function("standings", &WebClient::Standings)
      .function("askReplays", &WebClient::AskReplays)
      .function("replayList", &WebClient::ReplayList)
      .function("openReplay", &WebClient::OpenReplay)
      .function("replayGo", &WebClient::ReplayGo)
      .function("replay", &WebClient::Replay)
      .function("takeEvents", &WebClient::TakeEvents)
      .function("takePackets", &TakePackets)
      .function("snapshot", &WebClient::Snapshot);
  emscripten::function("cardName", &quarn::web::CardName);
  emscripten::function("describeStream", &DescribeStream);
  emscripten::function("hintNothingBeats", &HintNothingBeats);
}
