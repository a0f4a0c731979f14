#include "json.h"

#include <cstdio>

namespace quarn::web {

void Json::Comma() {
  if (!first_) out_ += ',';
  first_ = false;
}

Json& Json::Begin(char bracket) {
  Comma();
  out_ += bracket;
  first_ = true;
  return *this;
}

Json& Json::End(char bracket) {
  out_ += bracket;
  first_ = false;
  return *this;
}

Json& Json::Key(std::string_view key) {
  Text(key);
  out_ += ':';
  first_ = true;
  return *this;
}

Json& Json::Text(std::string_view text) {
  Comma();
  out_ += '"';
  for (const char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out_ += '\\';
      out_ += c;
    } else if (u < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", u);
      out_ += escaped;
    } else {
      out_ += c;
    }
  }
  out_ += '"';
  return *this;
}

Json& Json::Number(long long value) {
  Comma();
  out_ += std::to_string(value);
  return *this;
}

Json& Json::Bool(bool value) {
  Comma();
  out_ += value ? "true" : "false";
  return *this;
}

Json& Json::Bytes(std::span<const std::uint8_t> bytes) {
  Begin('[');
  for (const std::uint8_t b : bytes) Number(b);
  return End(']');
}

}  // namespace quarn::web
