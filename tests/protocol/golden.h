// The golden packets of vectors.txt (its first lines tell the format), and
// packets as byte vectors.
#pragma once

#include <cctype>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "protocol/packet_builder.h"

namespace quarn::test {

using Bytes = std::vector<std::uint8_t>;

// "offset: hex ...": the bytes given from an offset on.
struct Run {
  std::size_t at = 0;
  Bytes bytes;
};

struct Golden {
  Bytes bytes;
  std::vector<std::pair<bool, Run>> changes;  // refused?, the bytes changed

  Bytes With(const Run& run) const {
    Bytes out = bytes;
    for (std::size_t i = 0; i < run.bytes.size(); ++i) out.at(run.at + i) = run.bytes[i];
    return out;
  }
};

inline Run ParseRun(const std::string& text) {
  Run run{std::stoul(text), {}};
  std::string hex;
  for (const char c : text.substr(text.find(':') + 1)) {
    if (std::isxdigit(static_cast<unsigned char>(c))) hex += c;
  }
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
    run.bytes.push_back(static_cast<std::uint8_t>(std::stoul(hex.substr(i, 2), nullptr, 16)));
  }
  return run;
}

inline const std::map<std::string, Golden>& Vectors() {
  static const std::map<std::string, Golden> vectors = [] {
    std::map<std::string, Golden> out;
    std::ifstream in(QUARN_PROTOCOL_VECTORS);
    Golden* current = nullptr;
    for (std::string line; std::getline(in, line);) {
      line = line.substr(0, line.find('#'));
      std::istringstream words(line);
      std::string first;
      if (!(words >> first)) continue;
      if (!std::isspace(static_cast<unsigned char>(line[0]))) {
        current = &out[first];
      } else if (first == "refuse" || first == "accept") {
        current->changes.emplace_back(first == "refuse",
                                      ParseRun(line.substr(line.find(first) + 6)));
      } else {
        const Run run = ParseRun(line);
        current->bytes.resize(std::max(current->bytes.size(), run.at + run.bytes.size()));
        std::copy(run.bytes.begin(), run.bytes.end(), current->bytes.begin() + run.at);
      }
    }
    return out;
  }();
  return vectors;
}

inline Bytes ToBytes(const Packet& packet) {
  return Bytes(packet.data().begin(), packet.data().end());
}

// The bytes BuildPacket makes of `record`, or none when it refuses.
template <typename Record>
Bytes Built(MessageType type, const Record& record) {
  const auto packet = BuildPacket(type, record);
  return packet ? ToBytes(*packet) : Bytes{};
}

}  // namespace quarn::test
