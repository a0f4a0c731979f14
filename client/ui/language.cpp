#include "client/ui/language.h"

#include <QCoreApplication>
#include <QTranslator>
#include <memory>

#include "client/model/screen_texts.h"
#include "client/model/shown_text.h"
#include "client/ui/window_settings.h"

namespace quarn::client {

namespace {

constexpr std::string_view kLanguageKey = "Language";

Language current = Language::Chinese;

std::unique_ptr<QTranslator>& Installed() {
  static std::unique_ptr<QTranslator> translator;
  return translator;
}

std::string LookUp(const char* context, const char* source) {
  return QCoreApplication::translate(context, source).toStdString();
}

}  // namespace

std::optional<Language> ParseLanguage(std::string_view code) {
  if (code == "zh") return Language::Chinese;
  if (code == "en") return Language::English;
  return std::nullopt;
}

std::string_view LanguageCode(Language language) {
  return language == Language::English ? "en" : "zh";
}

Language SystemLanguage(const QLocale& locale) {
  const QLocale::Language language = locale.language();
  const bool chinese = language == QLocale::Chinese || language == QLocale::C;
  return chinese ? Language::Chinese : Language::English;
}

Language ChosenLanguage(std::optional<Language> option, std::optional<Language> setting,
                        const QLocale& system) {
  if (option) return *option;
  if (setting) return *setting;
  return SystemLanguage(system);
}

std::optional<Language> LoadLanguageSetting(const TIniFile& ini) {
  return ParseLanguage(ini.ReadString(kWindowSection, kLanguageKey));
}

void WriteLanguageSetting(TIniFile& ini, Language language) {
  ini.WriteString(kWindowSection, kLanguageKey, LanguageCode(language));
}

void UseLanguage(Language language) {
  std::unique_ptr<QTranslator>& installed = Installed();
  if (installed) QCoreApplication::removeTranslator(installed.get());
  installed.reset();
  current = language;
  if (language == Language::Chinese) {
    SetTextLookup(nullptr);  // the texts as written, byte for byte
    return;
  }
  auto translator = std::make_unique<QTranslator>();
  if (translator->load(QStringLiteral(":/i18n/quarn_en.qm"))) {
    QCoreApplication::installTranslator(translator.get());
    installed = std::move(translator);
  }
  SetTextLookup(&LookUp);
}

Language CurrentLanguage() {
  return current;
}

QString ShownText(std::string_view source) {
  return QCoreApplication::translate(kTextContext, std::string(source).c_str());
}

}  // namespace quarn::client
