#include "core/gbk.h"

#include <iconv.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>

namespace quarn {
namespace {

// RAII holder of one iconv conversion descriptor.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (ok()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // NOLINTNEXTLINE(performance-no-int-to-ptr): iconv_open's failure value is (iconv_t)-1.
  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Converts `in`; an input sequence that cannot be converted is skipped
  // (`skip` bytes, at least one) and `replacement` is written instead.
  std::string Run(std::string_view in, std::string_view replacement,
                  std::size_t (*skip)(std::string_view rest)) const {
    std::string out;
    if (!ok()) return out;
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    auto* src = const_cast<char*>(in.data());
    std::size_t srcLeft = in.size();
    std::array<char, 256> buffer{};
    while (srcLeft > 0) {
      char* dst = buffer.data();
      std::size_t dstLeft = buffer.size();
      std::size_t rc = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
      out.append(buffer.data(), static_cast<std::size_t>(dst - buffer.data()));
      if (rc != static_cast<std::size_t>(-1)) break;
      if (errno == E2BIG) continue;
      // EILSEQ or EINVAL: a bad or truncated sequence at `src`.
      std::size_t n = std::min(srcLeft, std::max<std::size_t>(1, skip({src, srcLeft})));
      src += n;
      srcLeft -= n;
      out.append(replacement);
      iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    }
    return out;
  }

 private:
  iconv_t cd_;
};

// Bytes of the UTF-8 character that starts `rest` (1 for a stray byte).
std::size_t Utf8CharLength(std::string_view rest) {
  auto lead = static_cast<unsigned char>(rest.front());
  std::size_t n = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
  for (std::size_t i = 1; i < n; ++i) {
    if (i >= rest.size() || (static_cast<unsigned char>(rest[i]) & 0xC0) != 0x80) return i;
  }
  return n;
}

bool IsGbkLead(unsigned char c) {
  return c >= 0x81 && c <= 0xFE;
}
bool IsGbkTrail(unsigned char c) {
  return c >= 0x40 && c <= 0xFE && c != 0x7F;
}

// Bytes of the GBK character that starts `rest` (1 for a stray byte).
std::size_t GbkCharLength(std::string_view rest) {
  if (rest.size() >= 2 && IsGbkLead(static_cast<unsigned char>(rest[0])) &&
      IsGbkTrail(static_cast<unsigned char>(rest[1]))) {
    return 2;
  }
  return 1;
}

}  // namespace

std::string Utf8ToGbk(std::string_view utf8) {
  // One descriptor per thread: iconv_t carries shift state.
  thread_local const Converter converter("GBK", "UTF-8");
  if (!converter.ok()) return {};
  // ASCII is the same in GBK, and no UTF-8 sequence holds an ASCII byte: runs
  // of it are copied, and only the runs between go through iconv (the run
  // log's lines are mostly ASCII, and every line is converted when saved).
  const auto ascii = [](char c) { return static_cast<unsigned char>(c) < 0x80; };
  std::string out;
  out.reserve(utf8.size());
  while (!utf8.empty()) {
    const auto copied =
        static_cast<std::size_t>(std::find_if_not(utf8.begin(), utf8.end(), ascii) - utf8.begin());
    out.append(utf8.substr(0, copied));
    utf8.remove_prefix(copied);
    const auto converted =
        static_cast<std::size_t>(std::find_if(utf8.begin(), utf8.end(), ascii) - utf8.begin());
    if (converted > 0) out += converter.Run(utf8.substr(0, converted), "?", Utf8CharLength);
    utf8.remove_prefix(converted);
  }
  return out;
}

std::string GbkToUtf8(std::string_view gbk) {
  thread_local const Converter converter("UTF-8", "GBK");
  return converter.Run(gbk, "\xEF\xBF\xBD", GbkCharLength);
}

std::size_t GbkCutLength(std::string_view gbk, std::size_t maxBytes) {
  std::size_t at = 0;
  while (at < gbk.size()) {
    std::size_t n = GbkCharLength(gbk.substr(at));
    if (at + n > maxBytes) break;
    at += n;
  }
  return at;
}

std::string GbkCut(std::string_view gbk, std::size_t maxBytes) {
  return std::string(gbk.substr(0, GbkCutLength(gbk, maxBytes)));
}

void WriteGbkField(std::span<std::uint8_t> field, std::string_view gbk) {
  std::fill(field.begin(), field.end(), std::uint8_t{0});
  if (field.empty()) return;
  std::string_view text = gbk.substr(0, std::min(gbk.size(), gbk.find('\0')));
  std::size_t n = GbkCutLength(text, field.size() - 1);
  std::memcpy(field.data(), text.data(), n);
}

std::string ReadGbkField(std::span<const std::uint8_t> field) {
  auto end = std::find(field.begin(), field.end(), std::uint8_t{0});
  return {field.begin(), end};
}

}  // namespace quarn
