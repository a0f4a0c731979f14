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

// Written digit by digit: every run log line starts with it.
std::string LongTimeText(const std::tm& time) {
  std::string text = "00:00:00";
  const auto put = [&text](std::size_t at, int value) {
    value = TwoDigits(value);
    text[at] = static_cast<char>('0' + value / 10);
    text[at + 1] = static_cast<char>('0' + value % 10);
  };
  put(0, time.tm_hour);
  put(3, time.tm_min);
  put(6, time.tm_sec);
  return text;
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
