// The table window's own settings in quarn.ini, in a section of ours beside
// the login window's lists: its size, whether it was maximized, and whether
// the card counter is shown. Plain C++ so that it is tested with the file.
#pragma once

#include <string_view>

#include "client/model/inifile.h"

namespace quarn::client {

inline constexpr std::string_view kWindowSection = "QUARN_WINDOW";

struct WindowSettings {
  int width = 0;  ///< 0: never saved; the window opens at a size that fits the screen
  int height = 0;
  bool maximized = false;
  bool cardCounter = false;
  friend bool operator==(const WindowSettings&, const WindowSettings&) = default;
};

// Missing or damaged values read as the defaults above.
WindowSettings LoadWindowSettings(const TIniFile& ini);
// Writes our section only; every other section stays as it was.
void WriteWindowSettings(TIniFile& ini, const WindowSettings& settings);

// The size to open at: the saved one, else about two thirds of the screen's
// height in the table's proportions; never larger than the screen, never
// smaller than the table at scale 1.
struct Size {
  int width = 0;
  int height = 0;
  friend bool operator==(const Size&, const Size&) = default;
};
Size OpeningSize(const WindowSettings& saved, Size screen, Size table);

}  // namespace quarn::client
