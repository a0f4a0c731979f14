// iconv for GBK <-> UTF-8 in the WebAssembly build, whose C library has no
// GBK: the same calls core/gbk.cpp makes, answered from tables generated from
// the native build's iconv (gbk_table.inc), with iconv's own failure rules
// (EILSEQ at a character it cannot take, EINVAL at a cut one, E2BIG when the
// output is full), so the page converts exactly as the native programs do.
#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <iterator>

#include "gbk_table.inc"

namespace {

enum class Direction : std::uintptr_t { None, ToGbk, FromGbk };
constexpr std::uint32_t kNoChar = 0xFFFF;

// Reads one UTF-8 character: its length, 0 when cut short, -1 when malformed.
int DecodeUtf8(const unsigned char* s, std::size_t left, std::uint32_t& cp) {
  const unsigned char lead = s[0];
  int n = 0;
  std::uint32_t min = 0;
  if (lead < 0x80) {
    cp = lead;
    return 1;
  } else if (lead >= 0xC2 && lead < 0xE0) {
    n = 2, cp = lead & 0x1F, min = 0x80;
  } else if (lead >= 0xE0 && lead < 0xF0) {
    n = 3, cp = lead & 0x0F, min = 0x800;
  } else if (lead >= 0xF0 && lead < 0xF5) {
    n = 4, cp = lead & 0x07, min = 0x10000;
  } else {
    return -1;
  }
  for (int i = 1; i < n; ++i) {
    if (static_cast<std::size_t>(i) >= left) return 0;
    if ((s[i] & 0xC0) != 0x80) return -1;
    cp = cp << 6 | (s[i] & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp < 0xE000)) return -1;
  return n;
}

// GBK bytes of a code point, 0 when GBK lacks it.
unsigned EncodeGbk(std::uint32_t cp) {
  if (cp < 0x80) return cp;
  const auto* end = std::end(kGbkEncode);
  const auto* at = std::lower_bound(std::begin(kGbkEncode), end, cp,
                                    [](const GbkEncoding& e, std::uint32_t v) { return e.cp < v; });
  return at != end && at->cp == cp ? at->gbk : 0;
}

int WriteUtf8(std::uint32_t cp, char* out) {
  if (cp < 0x80) {
    out[0] = static_cast<char>(cp);
    return 1;
  }
  if (cp < 0x800) {
    out[0] = static_cast<char>(0xC0 | cp >> 6);
    out[1] = static_cast<char>(0x80 | (cp & 0x3F));
    return 2;
  }
  out[0] = static_cast<char>(0xE0 | cp >> 12);
  out[1] = static_cast<char>(0x80 | (cp >> 6 & 0x3F));
  out[2] = static_cast<char>(0x80 | (cp & 0x3F));
  return 3;
}

// One step: reads one character at `in` and writes it to `out`. The bytes
// read (>0), or -errno.
int StepToGbk(const unsigned char* in, std::size_t left, char* out, std::size_t room,
              std::size_t& written) {
  std::uint32_t cp = 0;
  const int n = DecodeUtf8(in, left, cp);
  if (n == 0) return -EINVAL;
  if (n < 0) return -EILSEQ;
  const unsigned gbk = EncodeGbk(cp);
  if (cp != 0 && gbk == 0) return -EILSEQ;
  written = gbk > 0xFF ? 2 : 1;
  if (written > room) return -E2BIG;
  if (written == 2) *out++ = static_cast<char>(gbk >> 8);
  *out = static_cast<char>(gbk & 0xFF);
  return n;
}

int StepFromGbk(const unsigned char* in, std::size_t left, char* out, std::size_t room,
                std::size_t& written) {
  std::uint32_t cp = kGbkSingle[in[0]];
  int n = 1;
  if (cp == kNoChar && in[0] >= 0x81 && in[0] <= 0xFE) {
    if (left < 2) return -EINVAL;
    if (in[1] < 0x40 || in[1] > 0xFE) return -EILSEQ;
    cp = kGbkDouble[(in[0] - 0x81) * 191 + (in[1] - 0x40)];
    n = 2;
  }
  if (cp == kNoChar) return -EILSEQ;
  char buffer[3];
  written = static_cast<std::size_t>(WriteUtf8(cp, buffer));
  if (written > room) return -E2BIG;
  std::memcpy(out, buffer, written);
  return n;
}

bool Named(const char* name, const char* a, const char* b) {
  return std::strcmp(name, a) == 0 || std::strcmp(name, b) == 0;
}

}  // namespace

extern "C" {

iconv_t iconv_open(const char* to, const char* from) {
  Direction d = Direction::None;
  if (Named(to, "GBK", "gbk") && Named(from, "UTF-8", "utf-8")) d = Direction::ToGbk;
  if (Named(to, "UTF-8", "utf-8") && Named(from, "GBK", "gbk")) d = Direction::FromGbk;
  if (d == Direction::None) {
    errno = EINVAL;
    return reinterpret_cast<iconv_t>(-1);
  }
  return reinterpret_cast<iconv_t>(static_cast<std::uintptr_t>(d));
}

int iconv_close(iconv_t) {
  return 0;
}

std::size_t iconv(iconv_t cd, char** in, std::size_t* inLeft, char** out, std::size_t* outLeft) {
  if (!in || !*in) return 0;  // a reset: neither direction has shift state
  const auto d = static_cast<Direction>(reinterpret_cast<std::uintptr_t>(cd));
  while (*inLeft > 0) {
    std::size_t written = 0;
    const auto* src = reinterpret_cast<const unsigned char*>(*in);
    const int n = d == Direction::ToGbk ? StepToGbk(src, *inLeft, *out, *outLeft, written)
                                        : StepFromGbk(src, *inLeft, *out, *outLeft, written);
    if (n < 0) {
      errno = -n;
      return static_cast<std::size_t>(-1);
    }
    *in += n;
    *inLeft -= static_cast<std::size_t>(n);
    *out += written;
    *outLeft -= written;
  }
  return 0;
}

}  // extern "C"
