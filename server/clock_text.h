// Texts made from the local clock: the time that starts every log line and
// the stamp that names the saved files.
#pragma once

#include <ctime>
#include <string>

namespace quarn::server {

// "HH:MM:SS", 24-hour clock.
std::string LongTimeText(const std::tm& time);

// "yymmdd_hhnnss.txt", e.g. "001220_144034.txt"; with a sequence number above
// 0, "yymmdd_hhnnss_NNN.txt" (at least three digits, e.g. "001220_144034_002.txt").
std::string FileStampText(const std::tm& time, int sequence = 0);

}  // namespace quarn::server
