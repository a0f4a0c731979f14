#include "client/model/shown_text.h"

#include <atomic>

namespace quarn::client {

namespace {

std::atomic<TextLookup> installed{nullptr};

}  // namespace

void SetTextLookup(TextLookup lookup) {
  installed.store(lookup);
}

std::string Shown(const char* context, const char* source) {
  const TextLookup lookup = installed.load();
  return lookup != nullptr ? lookup(context, source) : std::string(source);
}

std::string Filled(std::string_view text, std::initializer_list<std::string_view> args) {
  std::string out;
  out.reserve(text.size() + 32);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char next = i + 1 < text.size() ? text[i + 1] : '\0';
    const auto index = static_cast<std::size_t>(next - '1');
    if (text[i] == '%' && next >= '1' && next <= '9' && index < args.size()) {
      out += args.begin()[index];
      ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

}  // namespace quarn::client
