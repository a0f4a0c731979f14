#include "fuzz/service_reach.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "protocol/pcpheadtail.h"
#include "server/server_table.h"

namespace quarn::fuzz {

namespace {

using namespace server;

std::string SettingItem(const SettingField& field, int value) {
  return std::string("setting ") + field.name + "=" + std::to_string(value);
}

const char* StatusWord(TableStatus status) {
  switch (status) {
    case TableSeating:
      return "seating";
    case TableWaiting:
      return "waiting";
    case TableDealing:
      return "dealing";
    case TableBidding:
      return "bidding";
    case TablePlaying:
      return "playing";
    default:
      return "busy";  // a handler's own state, never seen between events
  }
}

const char* ControlWord(SeatControl control) {
  switch (control) {
    case SeatControl::OnRequest:
      return "托管";
    case SeatControl::AfterTimeouts:
      return "timed out";
    case SeatControl::PlayerGone:
      return "player gone";
    default:
      return "person";
  }
}

std::vector<std::string> Wanted() {
  std::vector<std::string> items;
  for (const SettingField& field : kSettingFields) {
    for (int value = 0; value < field.values; ++value) items.push_back(SettingItem(field, value));
  }
  for (const auto& table : {MessageTable(), AddedMessageTable()}) {
    for (const MessageInfo& info : table) {
      if (info.direction == Direction::ClientToServer) {
        items.push_back("sent " + std::string(info.name));
      }
    }
  }
  for (const TableStatus status :
       {TableSeating, TableWaiting, TableDealing, TableBidding, TablePlaying}) {
    items.push_back(std::string("phase ") + StatusWord(status));
  }
  for (const SeatControl control :
       {SeatControl::OnRequest, SeatControl::AfterTimeouts, SeatControl::PlayerGone}) {
    items.push_back(std::string("computer ") + ControlWord(control));
  }
  for (const char* item : {"phase game end", "phase kept seat", "phase stop", "phase restart"}) {
    items.emplace_back(item);
  }
  return items;
}

}  // namespace

int SettingValue(std::span<const std::uint8_t> head, const SettingField& field) {
  const auto at = static_cast<std::size_t>(field.byte);
  const int byte = at < head.size() ? head[at] : 0;
  return std::min((byte >> field.shift) % field.modulo, field.values - 1);
}

bool Reach::On() {
  static const bool on = std::getenv("QUARN_FUZZ_REACH") != nullptr;
  return on;
}

void Reach::Settings(std::span<const std::uint8_t> head) {
  for (const SettingField& field : kSettingFields) {
    Add(SettingItem(field, SettingValue(head, field)));
  }
}

void Reach::Delivered(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < HeaderSize) return;
  const MessageInfo* info = FindMessage(PacketFromBytes(bytes).RawType());
  if (info != nullptr && info->length == bytes.size()) Add("sent " + std::string(info->name));
}

void Reach::Tables(const ServerApp& app, int games) {
  if (games > 0) Add("phase game end");
  for (std::int32_t n = 1; n <= static_cast<std::int32_t>(app.TableCount()); ++n) {
    const TServerTable* table = app.Table(n);
    if (table == nullptr) continue;
    Add(std::string("phase ") + StatusWord(table->Status));
    for (const TServerPlayer& player : table->Players) {
      if (player.Taken() && player.Socket == kNoConnection) Add("phase kept seat");
      if (player.Control != SeatControl::Person) {
        Add(std::string("computer ") + ControlWord(player.Control));
      }
    }
  }
}

void Reach::Tell() const {
  static bool toldWanted = false;
  if (!toldWanted) {
    for (const std::string& item : Wanted()) std::fprintf(stderr, "want %s\n", item.c_str());
    toldWanted = true;
  }
  for (const std::string& item : reached_) std::fprintf(stderr, "reach %s\n", item.c_str());
}

}  // namespace quarn::fuzz
