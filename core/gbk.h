// GBK text: the code page of every name, password, chat line and file.
// Qt-free so that the core, the protocol and the server all share it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace quarn {

// Converts UTF-8 to GBK. A character GBK lacks, or a malformed byte, becomes '?'.
std::string Utf8ToGbk(std::string_view utf8);

// Converts GBK to UTF-8. A malformed byte or pair becomes U+FFFD.
std::string GbkToUtf8(std::string_view gbk);

// Length of the longest prefix of `gbk` that is at most `maxBytes` long and
// does not split a double-byte character (lead 0x81..0xFE, then one trail byte).
std::size_t GbkCutLength(std::string_view gbk, std::size_t maxBytes);

// `gbk` cut to at most `maxBytes` at a character boundary.
std::string GbkCut(std::string_view gbk, std::size_t maxBytes);

// Writes `gbk` into a fixed-width, NUL-terminated field: cut at a character
// boundary to field.size() - 1 bytes, the rest of the field zero.
void WriteGbkField(std::span<std::uint8_t> field, std::string_view gbk);

// Reads a fixed-width field up to its first NUL (or its whole width).
std::string ReadGbkField(std::span<const std::uint8_t> field);

}  // namespace quarn
