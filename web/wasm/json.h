// A small JSON writer for the page's events and snapshot: the few shapes the
// bindings send, without a library for two dozen fields.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace quarn::web {

class Json {
 public:
  Json& Begin(char bracket);
  Json& End(char bracket);
  Json& Key(std::string_view key);
  Json& Text(std::string_view text);
  Json& Number(long long value);
  Json& Bool(bool value);
  Json& Bytes(std::span<const std::uint8_t> bytes);  // an array of numbers
  const std::string& Str() const { return out_; }

 private:
  void Comma();
  std::string out_;
  bool first_ = true;
};

}  // namespace quarn::web
