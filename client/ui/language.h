// The language the windows speak: Chinese, the texts as written, or English
// from the catalogue built into the program. Chosen by --lang, else by the
// setting the login window keeps, else by the system's locale.
#pragma once

#include <QLocale>
#include <QString>
#include <optional>
#include <string>
#include <string_view>

#include "client/model/inifile.h"

namespace quarn::client {

enum class Language { Chinese, English };

// "zh" or "en" (as typed after --lang and kept in the settings file); none otherwise.
std::optional<Language> ParseLanguage(std::string_view code);
std::string_view LanguageCode(Language language);

// Chinese for a Chinese locale and for none at all (C or POSIX: the window has
// always been Chinese); English for any other language.
Language SystemLanguage(const QLocale& locale);

// The option, else the setting, else the system's.
Language ChosenLanguage(std::optional<Language> option, std::optional<Language> setting,
                        const QLocale& system);

// The setting in the window's section of quarn.ini; none when unset or damaged.
std::optional<Language> LoadLanguageSetting(const TIniFile& ini);
void WriteLanguageSetting(TIniFile& ini, Language language);

// Puts the catalogue of `language` in place for every window made afterwards
// and for the model's texts. Needs the application object.
void UseLanguage(Language language);
Language CurrentLanguage();

// A model text (a constant of client/model/screen_texts.h) in the shown language.
QString ShownText(std::string_view source);

}  // namespace quarn::client
