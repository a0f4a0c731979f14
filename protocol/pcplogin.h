// Login and seating: LoginRequest, LoginReply and SeatList share one 180-byte
// body, of which each message uses some fields.
//
//   32  4 x I32   name length of slot 0..3 (request: the typed length, before any cut)
//   48  4 x 16    name of slot 0..3, GBK, NUL-terminated within the field
//   112 4 x I32   ServiceIcon of slot 0..3
//   128 4 x I32   HeadIcon of slot 0..3
//   144 I32       password length (request only; 0 in reply and list)
//   148 16        password, GBK (request only; zero in reply and list)
//   164 I32       TableNumber (reply: -1 refuses)
//   168 1         seat (reply: 255 refuses; not read in SeatList)
//   169 3         spare
//   172 8         tail
//
// Encoders write only the fields their message sets, so the server can answer
// in the request's own buffer.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "protocol/pcpheadtail.h"

namespace quarn {

inline constexpr std::size_t NameFieldSize = 16;      // 15 bytes of text and a NUL
inline constexpr std::size_t PasswordFieldSize = 16;  // 15 bytes of text and a NUL
inline constexpr std::int32_t RefusedTable = -1;
inline constexpr std::uint8_t RefusedSeat = 255;

struct LoginRecord {
  std::array<std::int32_t, 4> nameLength{};
  std::array<std::string, 4> name;  // GBK bytes; cut to 15 at a character boundary on the wire
  std::array<std::int32_t, 4> serviceIcon{};
  std::array<std::int32_t, 4> headIcon{};
  std::int32_t passwordLength = 0;
  std::string password;  // GBK bytes, cut like a name
  std::int32_t tableNumber = 0;
  std::uint8_t seat = 0;
  bool operator==(const LoginRecord&) const = default;
};

// A request record for slot 0: the lengths are the typed byte counts.
LoginRecord MakeLoginRequest(std::string gbkName, std::string gbkPassword, std::int32_t serviceIcon,
                             std::int32_t headIcon, std::int32_t tableNumber, std::uint8_t seat);

// Client: writes slot 0 (length, name, icons), password length and password,
// table and seat; then fails when the name written is empty.
int EncodeLoginRequest(const LoginRecord& record, Packet& packet);
// Server: reads slot 0, the password, table and seat; fails when the name
// field holds no text or no NUL within its 16 bytes.
int DecodeLoginRequest(LoginRecord& record, const Packet& packet);

// Server: writes slot 0's length and name, the table and seat, and zeroes the
// password fields. Accepts seats 0..3 and the refusal (table -1, seat 255).
int EncodeLoginReply(const LoginRecord& record, Packet& packet);
// Client: reads slot 0's length and name, table and seat; fails for the
// refusal (table -1) and for a seat of 4 or more.
int DecodeLoginReply(LoginRecord& record, const Packet& packet);
// Client: whether a login reply is the refusal form (table -1), which the
// decoder fails.
[[nodiscard]] bool IsLoginRefusal(const Packet& packet);

// Server: writes all four slots and the table, zeroes the password fields.
// An empty seat has length 0, an empty name and icons 1 and 1 in the record.
int EncodeSeatList(const LoginRecord& record, Packet& packet);
// Client: for each slot whose name length is not 0 reads name and icons (other
// slots of the record stay as they were); reads the table. Always succeeds.
int DecodeSeatList(LoginRecord& record, const Packet& packet);

}  // namespace quarn
