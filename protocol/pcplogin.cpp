#include "protocol/pcplogin.h"

#include <algorithm>

#include "protocol/byte_order.h"

namespace quarn {
namespace {

constexpr std::size_t kNameLengthAt = 32;
constexpr std::size_t kNameAt = 48;
constexpr std::size_t kServiceIconAt = 112;
constexpr std::size_t kHeadIconAt = 128;
constexpr std::size_t kPasswordLengthAt = 144;
constexpr std::size_t kPasswordAt = 148;
constexpr std::size_t kTableAt = 164;
constexpr std::size_t kSeatAt = 168;

std::size_t NameAt(std::size_t slot) {
  return kNameAt + NameFieldSize * slot;
}
std::size_t SlotWord(std::size_t base, std::size_t slot) {
  return base + 4 * slot;
}

void PutName(Packet& p, std::size_t slot, const LoginRecord& r) {
  wire::PutI32(p, SlotWord(kNameLengthAt, slot), r.nameLength[slot]);
  wire::PutText(p, NameAt(slot), NameFieldSize, r.name[slot]);
}

void GetName(LoginRecord& r, std::size_t slot, const Packet& p) {
  r.nameLength[slot] = wire::GetI32(p, SlotWord(kNameLengthAt, slot));
  r.name[slot] = wire::GetText(p, NameAt(slot), NameFieldSize);
}

void PutIcons(Packet& p, std::size_t slot, const LoginRecord& r) {
  wire::PutI32(p, SlotWord(kServiceIconAt, slot), r.serviceIcon[slot]);
  wire::PutI32(p, SlotWord(kHeadIconAt, slot), r.headIcon[slot]);
}

void GetIcons(LoginRecord& r, std::size_t slot, const Packet& p) {
  r.serviceIcon[slot] = wire::GetI32(p, SlotWord(kServiceIconAt, slot));
  r.headIcon[slot] = wire::GetI32(p, SlotWord(kHeadIconAt, slot));
}

// A password never leaves the server: reply and list blank both fields.
void ClearPassword(Packet& p) {
  wire::PutI32(p, kPasswordLengthAt, 0);
  wire::Zero(p, kPasswordAt, PasswordFieldSize);
}

// The name field of slot 0 must hold some text and its NUL.
bool NameFieldValid(const Packet& p) {
  auto field = std::span<const std::uint8_t>(p.bytes).subspan(NameAt(0), NameFieldSize);
  auto nul = std::find(field.begin(), field.end(), std::uint8_t{0});
  return nul != field.begin() && nul != field.end();
}

bool Fits(const Packet& p) {
  return p.length >= LoginLength;
}

}  // namespace

LoginRecord MakeLoginRequest(std::string gbkName, std::string gbkPassword, std::int32_t serviceIcon,
                             std::int32_t headIcon, std::int32_t tableNumber, std::uint8_t seat) {
  LoginRecord r;
  r.nameLength[0] = static_cast<std::int32_t>(gbkName.size());
  r.name[0] = std::move(gbkName);
  r.serviceIcon[0] = serviceIcon;
  r.headIcon[0] = headIcon;
  r.passwordLength = static_cast<std::int32_t>(gbkPassword.size());
  r.password = std::move(gbkPassword);
  r.tableNumber = tableNumber;
  r.seat = seat;
  return r;
}

int EncodeLoginRequest(const LoginRecord& record, Packet& packet) {
  if (!Fits(packet)) return 1;
  PutName(packet, 0, record);
  PutIcons(packet, 0, record);
  wire::PutI32(packet, kPasswordLengthAt, record.passwordLength);
  wire::PutText(packet, kPasswordAt, PasswordFieldSize, record.password);
  wire::PutI32(packet, kTableAt, record.tableNumber);
  packet.bytes[kSeatAt] = record.seat;
  return NameFieldValid(packet) ? 0 : 1;
}

int DecodeLoginRequest(LoginRecord& record, const Packet& packet) {
  if (!Fits(packet)) return 1;
  GetName(record, 0, packet);
  GetIcons(record, 0, packet);
  record.passwordLength = wire::GetI32(packet, kPasswordLengthAt);
  record.password = wire::GetText(packet, kPasswordAt, PasswordFieldSize);
  record.tableNumber = wire::GetI32(packet, kTableAt);
  record.seat = packet.bytes[kSeatAt];
  return NameFieldValid(packet) ? 0 : 1;
}

int EncodeLoginReply(const LoginRecord& record, Packet& packet) {
  if (!Fits(packet)) return 1;
  bool refusal = record.tableNumber == RefusedTable && record.seat == RefusedSeat;
  if (record.seat >= 4 && !refusal) return 1;
  PutName(packet, 0, record);
  wire::PutI32(packet, kTableAt, record.tableNumber);
  packet.bytes[kSeatAt] = record.seat;
  ClearPassword(packet);
  return 0;
}

int DecodeLoginReply(LoginRecord& record, const Packet& packet) {
  if (!Fits(packet)) return 1;
  GetName(record, 0, packet);
  record.tableNumber = wire::GetI32(packet, kTableAt);
  record.seat = packet.bytes[kSeatAt];
  return record.tableNumber == RefusedTable || record.seat >= 4 ? 1 : 0;
}

bool IsLoginRefusal(const Packet& packet) {
  return Fits(packet) && wire::GetI32(packet, kTableAt) == RefusedTable;
}

int EncodeSeatList(const LoginRecord& record, Packet& packet) {
  if (!Fits(packet)) return 1;
  for (std::size_t slot = 0; slot < 4; ++slot) {
    PutName(packet, slot, record);
    PutIcons(packet, slot, record);
  }
  wire::PutI32(packet, kTableAt, record.tableNumber);
  ClearPassword(packet);
  return 0;
}

int DecodeSeatList(LoginRecord& record, const Packet& packet) {
  if (!Fits(packet)) return 1;
  for (std::size_t slot = 0; slot < 4; ++slot) {
    record.nameLength[slot] = wire::GetI32(packet, SlotWord(kNameLengthAt, slot));
    if (record.nameLength[slot] == 0) continue;
    record.name[slot] = wire::GetText(packet, NameAt(slot), NameFieldSize);
    GetIcons(record, slot, packet);
  }
  record.tableNumber = wire::GetI32(packet, kTableAt);
  return 0;
}

}  // namespace quarn
