#include "client/ui/window_settings.h"

#include <algorithm>
#include <charconv>
#include <string>

namespace quarn::client {

namespace {

constexpr int kLargest = 100000;

int ReadNumber(const TIniFile& ini, std::string_view key) {
  const std::string text = ini.ReadString(kWindowSection, key);
  int value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || value < 0 || value > kLargest)
    return 0;
  return value;
}

}  // namespace

WindowSettings LoadWindowSettings(const TIniFile& ini) {
  WindowSettings settings;
  settings.width = ReadNumber(ini, "Width");
  settings.height = ReadNumber(ini, "Height");
  settings.maximized = ReadNumber(ini, "Maximized") == 1;
  settings.cardCounter = ReadNumber(ini, "CardCounter") == 1;
  return settings;
}

void WriteWindowSettings(TIniFile& ini, const WindowSettings& settings) {
  ini.WriteString(kWindowSection, "Width", std::to_string(settings.width));
  ini.WriteString(kWindowSection, "Height", std::to_string(settings.height));
  ini.WriteString(kWindowSection, "Maximized", settings.maximized ? "1" : "0");
  ini.WriteString(kWindowSection, "CardCounter", settings.cardCounter ? "1" : "0");
}

Size OpeningSize(const WindowSettings& saved, Size screen, Size table) {
  Size size{saved.width, saved.height};
  if (size.width <= 0 || size.height <= 0) {
    size.height = screen.height * 2 / 3;
    size.width = size.height * table.width / std::max(1, table.height);
  }
  if (size.width > screen.width) {  // keep the table's proportions within the screen
    size.height = size.height * screen.width / size.width;
    size.width = screen.width;
  }
  size.height = std::min(size.height, screen.height);
  return {std::max(size.width, table.width), std::max(size.height, table.height)};
}

}  // namespace quarn::client
