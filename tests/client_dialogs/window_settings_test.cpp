// The table window's own section of quarn.ini and the size it opens at.
#include "client/ui/window_settings.h"

#include <gtest/gtest.h>

#include "client/ui/language.h"

namespace quarn::client {
namespace {

TEST(WindowSettings, OwnSectionBesideTheLoginListsAndTheOpeningSize) {
  TIniFile ini;
  ini.Parse(
      "[POKER_PLAYERS]\r\nNAME0=Ann\r\n[PLAYER_ICON]\r\nICON0=3\r\n[POKER_SERVERS]\r\n"
      "SERVER0=127.0.0.1\r\n");
  const std::string before = ini.Text();
  EXPECT_EQ(LoadWindowSettings(ini), WindowSettings{});
  const WindowSettings saved{1280, 900, true, true};
  WriteWindowSettings(ini, saved);
  // The login window's sections stay byte for byte; ours follows them.
  EXPECT_EQ(ini.Text().substr(0, before.size()), before);
  EXPECT_EQ(LoadWindowSettings(ini), saved);
  ini.WriteString(kWindowSection, "Width", "-5");  // damaged: read as never saved
  EXPECT_EQ(LoadWindowSettings(ini).width, 0);

  const Size table{632, 453};
  struct Case {
    WindowSettings saved;
    Size screen, expected;
  };
  const Case cases[] = {
      {{}, {1920, 1050}, {976, 700}},   // two thirds of the height
      {{}, {800, 600}, {632, 453}},     // never below the table's own size
      {{}, {1000, 3000}, {1000, 716}},  // a narrow screen: the width decides
      {{1500, 900, false, false}, {1920, 1050}, {1500, 900}},
      {{2500, 1400, false, false}, {1920, 1050}, {1920, 1050}},
  };
  for (const Case& c : cases) EXPECT_EQ(OpeningSize(c.saved, c.screen, table), c.expected);
}

// --lang, else the kept setting, else the locale: English unless it is Chinese
// or none at all; a damaged setting counts as none.
TEST(WindowSettings, TheLanguageComesFromTheOptionTheSettingOrTheLocale) {
  const auto en = Language::English;
  const auto zh = Language::Chinese;
  struct Case {
    const char* option;
    const char* setting;
    QLocale locale;
    Language expected;
  };
  const Case cases[] = {
      {"", "", QLocale::c(), zh},
      {"", "", QLocale(QLocale::Chinese, QLocale::Taiwan), zh},
      {"", "", QLocale(QLocale::English, QLocale::UnitedStates), en},
      {"", "", QLocale(QLocale::German), en},
      {"", "zh", QLocale(QLocale::German), zh},
      {"", "fr", QLocale(QLocale::German), en},
      {"", "en", QLocale::c(), en},
      {"zh", "en", QLocale(QLocale::English), zh},
      {"en", "zh", QLocale::c(), en},
  };
  for (const Case& c : cases) {
    TIniFile ini;
    if (*c.setting != '\0') ini.WriteString(kWindowSection, "Language", c.setting);
    EXPECT_EQ(ChosenLanguage(ParseLanguage(c.option), LoadLanguageSetting(ini), c.locale),
              c.expected)
        << c.option << "|" << c.setting << "|" << c.locale.name().toStdString();
  }
  TIniFile ini;
  WriteLanguageSetting(ini, en);
  WriteWindowSettings(ini, WindowSettings{});  // the window's own keys leave the language be
  EXPECT_EQ(LoadLanguageSetting(ini), en);
  EXPECT_EQ(ParseLanguage(LanguageCode(zh)), zh);
}

}  // namespace
}  // namespace quarn::client
