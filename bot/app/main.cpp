// quarn-bot: a computer player for a Quarn table.
#include <QCoreApplication>
#include <cstdio>
#include <string_view>
#include <vector>

#include "bot/app/bot_connection.h"
#include "bot/options.h"
#include "core/card_error.h"
#include "core/version.h"

int main(int argc, char** argv) {
  if (quarn::PrintVersionIfAsked("quarn-bot", argc, argv)) return 0;
  std::vector<std::string_view> args(argv + 1, argv + argc);
  const quarn::bot::ParseResult parsed = quarn::bot::ParseBotOptions(args);
  if (parsed.helpAsked) {
    std::fputs(quarn::bot::BotUsage().data(), stdout);
    return 0;
  }
  if (!parsed.ok) {
    std::fprintf(stderr, "quarn-bot: %s\n%s", parsed.error.c_str(), quarn::bot::BotUsage().data());
    return 2;
  }
  QCoreApplication app(argc, argv);
  quarn::bot::BotConnection bot(parsed.options);
  quarn::SetCardErrorSink([](std::string_view text) {
    std::fprintf(stdout, "quarn-bot: card error: %.*s\n", static_cast<int>(text.size()),
                 text.data());
  });
  QObject::connect(
      &bot, &quarn::bot::BotConnection::finished, &app,
      [](int code) { QCoreApplication::exit(code); }, Qt::QueuedConnection);
  bot.Start();
  return QCoreApplication::exec();
}
