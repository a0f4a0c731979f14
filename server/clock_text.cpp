#include "server/clock_text.h"

#include <cstdio>

namespace quarn::server {

namespace {

// Keeps a field in 0..99 so a corrupt clock can never widen the text.
int TwoDigits(int value) {
  return ((value % 100) + 100) % 100;
}

}  // namespace

std::string LongTimeText(const std::tm& time) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", TwoDigits(time.tm_hour),
                TwoDigits(time.tm_min), TwoDigits(time.tm_sec));
  return text;
}

std::string FileStampText(const std::tm& time) {
  char text[32];
  std::snprintf(text, sizeof text, "%02d%02d%02d_%02d%02d%02d.txt", TwoDigits(time.tm_year),
                TwoDigits(time.tm_mon + 1), TwoDigits(time.tm_mday), TwoDigits(time.tm_hour),
                TwoDigits(time.tm_min), TwoDigits(time.tm_sec));
  return text;
}

}  // namespace quarn::server
