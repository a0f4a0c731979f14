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

std::string FileStampText(const std::tm& time, int sequence) {
  char text[40];
  std::snprintf(text, sizeof text, "%02d%02d%02d_%02d%02d%02d", TwoDigits(time.tm_year),
                TwoDigits(time.tm_mon + 1), TwoDigits(time.tm_mday), TwoDigits(time.tm_hour),
                TwoDigits(time.tm_min), TwoDigits(time.tm_sec));
  std::string stamp = text;
  if (sequence > 0) {
    std::snprintf(text, sizeof text, "_%03d", sequence);
    stamp += text;
  }
  return stamp + ".txt";
}

}  // namespace quarn::server
