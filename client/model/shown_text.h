// The texts of the model that a person reads (status lines, captions, message
// texts) are written in Chinese, as the window has always shown them. A front
// end that shows another language installs a lookup; without one every text
// stays as written, so the bot, the tests and a Chinese window see the same
// bytes. The translation tools collect Shown() like Qt's translate() and
// Marked() like QT_TRANSLATE_NOOP (see client/translations/CMakeLists.txt).
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace quarn::client {

// The text to show for `source` (UTF-8) in `context`.
using TextLookup = std::string (*)(const char* context, const char* source);

// Installs the process's lookup; nullptr shows the texts as written. A program
// installs it while it has one thread.
void SetTextLookup(TextLookup lookup);

// `source` as the front end shows it.
std::string Shown(const char* context, const char* source);

// Marks a text for translation where it is defined; shown through Shown() later.
constexpr const char* Marked(const char* /*context*/, const char* source) {
  return source;
}

// `text` with %1..%9 replaced by `args` in order, so that a translation may put
// the names and numbers where its language wants them. A mark without an
// argument stays as it is.
std::string Filled(std::string_view text, std::initializer_list<std::string_view> args);

}  // namespace quarn::client
