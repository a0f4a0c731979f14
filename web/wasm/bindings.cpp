// The page's view of the C++: WebClient, card names and the packet decoder,
// with bytes passed as Uint8Array both ways.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "client/model/screen_texts.h"
#include "client/model/shown_text.h"
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
  return quarn::client::Shown("Quarn", quarn::client::kHintNothingBeats.data());
}

// The game's texts in the page's language: the page hands over the window's
// catalogue, one text at a time; a text it lacks is shown as written.
std::map<std::string, std::string>& Catalogue() {
  static std::map<std::string, std::string> catalogue;
  return catalogue;
}

std::string CatalogueKey(std::string_view context, std::string_view source) {
  return std::string(context) + '\x04' + std::string(source);
}

std::string LookUp(const char* context, const char* source) {
  const auto found = Catalogue().find(CatalogueKey(context, source));
  return found != Catalogue().end() ? found->second : std::string(source);
}

void AddText(const std::string& context, const std::string& source, const std::string& text) {
  Catalogue()[CatalogueKey(context, source)] = text;
  quarn::client::SetTextLookup(&LookUp);
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
  emscripten::function("addText", &AddText);
}
