#include "server/clock_text.h"

#include <array>
#include <cstdio>

namespace quarn::server {

namespace {

// Keeps a field in 0..99 so a corrupt clock can never widen the text.
int TwoDigits(int value) {
  return ((value % 100) + 100) % 100;
}

}  // namespace

std::string LongTimeText(const std::tm& time) {
  std::array<char, 16> text{};
  std::snprintf(text.data(), text.size(), "%02d:%02d:%02d", TwoDigits(time.tm_hour),
                TwoDigits(time.tm_min), TwoDigits(time.tm_sec));
  return text.data();
}

std::string FileStampText(const std::tm& time, int sequence) {
  std::array<char, 40> text{};
  std::snprintf(text.data(), text.size(), "%02d%02d%02d_%02d%02d%02d", TwoDigits(time.tm_year),
                TwoDigits(time.tm_mon + 1), TwoDigits(time.tm_mday), TwoDigits(time.tm_hour),
                TwoDigits(time.tm_min), TwoDigits(time.tm_sec));
  std::string stamp = text.data();
  if (sequence > 0) {
    std::snprintf(text.data(), text.size(), "_%03d", sequence);
    stamp += text.data();
  }
  return stamp + ".txt";
}

}  // namespace quarn::server
