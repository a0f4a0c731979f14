#include "client/ui/artwork.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <map>
#include <optional>
#include <utility>

#include "client/ui/artwork_draw.h"

namespace quarn::client {
namespace {

enum class Kind { CardFace, HeadIcon, ServiceIcon, Cap, CardBack, CardStack };

struct Resource {
  Kind kind;
  int number;
};

struct Family {
  std::string_view prefix;
  Kind kind;
  int first;
  int last;
  QSize size;
};

constexpr int kBackSchemes = 6;

const auto kFamilies = std::to_array<Family>({
    {"CARD_", Kind::CardFace, 2, 55, {kCardFaceWidth, kCardFaceHeight}},
    {"BITMAP_", Kind::HeadIcon, 1, kHeadIconCount, {kIconSize, kIconSize}},
    {"SERVICE_", Kind::ServiceIcon, 1, kServiceIconCount, {kIconSize, kIconSize}},
    {"BKGRND_", Kind::CardBack, 1, kBackSchemes, {kCardFaceWidth, kCardFaceHeight}},
    {"CARDS_", Kind::CardStack, 1, kBackSchemes, {75, 98}},
});
constexpr std::string_view kCapName = "BITMAP_CAP";
constexpr QSize kCapSize{16, 16};

// Parses "<prefix><decimal>" strictly: no sign, no leading zero, no trailing text.
std::optional<int> ParseNumber(std::string_view digits) {
  if (digits.empty() || digits.size() > 3 || digits.front() == '0') return std::nullopt;
  int value = 0;
  auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (ec != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  return value;
}

std::optional<std::pair<Resource, QSize>> Lookup(std::string_view name) {
  if (name == kCapName) return std::pair{Resource{Kind::Cap, 0}, kCapSize};
  for (const Family& family : kFamilies) {
    if (!name.starts_with(family.prefix)) continue;
    auto number = ParseNumber(name.substr(family.prefix.size()));
    if (!number || *number < family.first || *number > family.last) return std::nullopt;
    return std::pair{Resource{family.kind, *number}, family.size};
  }
  return std::nullopt;
}

void Paint(QPainter& p, const Resource& res, QSize size) {
  switch (res.kind) {
    case Kind::CardFace:
      art::DrawCardFace(p, res.number - 1);
      break;
    case Kind::HeadIcon:
      art::DrawHeadIcon(p, res.number);
      break;
    case Kind::ServiceIcon:
      art::DrawServiceIcon(p, res.number);
      break;
    case Kind::Cap:
      art::DrawLandlordCap(p);
      break;
    case Kind::CardBack:
      art::DrawCardBack(p, QRectF(0, 0, size.width(), size.height()), res.number);
      break;
    case Kind::CardStack:
      // Three backs fanned a little: the other player's hidden hand.
      for (int i = 2; i >= 0; --i) {
        art::DrawCardBack(p, QRectF(i * 2, i * 1, kCardFaceWidth, kCardFaceHeight - 1), res.number);
      }
      break;
  }
}

QPixmap Render(const Resource& res, QSize size, qreal ratio) {
  QPixmap pixmap(size * ratio);
  pixmap.setDevicePixelRatio(ratio);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  Paint(painter, res, size);
  return pixmap;
}

}  // namespace

qreal DefaultPixelRatio() {
  qreal ratio = 1.0;
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) return ratio;
  for (const QScreen* screen : QGuiApplication::screens()) {
    ratio = std::max(ratio, screen->devicePixelRatio());
  }
  return ratio;
}

QSize ResourceSize(std::string_view name) {
  auto found = Lookup(name);
  return found ? found->second : QSize();
}

QPixmap ResourceBitmap(std::string_view name, qreal devicePixelRatio) {
  auto found = Lookup(name);
  if (!found) return {};
  if (!(devicePixelRatio >= 1.0 && devicePixelRatio <= 8.0)) devicePixelRatio = 1.0;
  // Single-threaded client: a plain map is the cache; pixmaps are shared
  // implicitly. A window dragged through many sizes would fill it with sizes
  // no longer shown, so it starts afresh when it grows large.
  static std::map<std::pair<std::string, qreal>, QPixmap> cache;
  constexpr std::size_t kMostCached = 1000;
  auto key = std::pair{std::string(name), devicePixelRatio};
  auto it = cache.find(key);
  if (it == cache.end()) {
    if (cache.size() >= kMostCached) cache.clear();
    it = cache.emplace(key, Render(found->first, found->second, devicePixelRatio)).first;
  }
  return it->second;
}

QPixmap ScaledBitmap(std::string_view name, qreal scale, qreal devicePixelRatio) {
  if (!(scale >= 0.25 && scale <= 8.0)) scale = 1.0;
  if (!(devicePixelRatio >= 1.0 && devicePixelRatio <= 8.0)) devicePixelRatio = 1.0;
  // Drawn afresh for every pixel of the size shown: the pictures are paths and text.
  QPixmap pixmap = ResourceBitmap(name, QuantizedScale(scale) * devicePixelRatio);
  pixmap.setDevicePixelRatio(devicePixelRatio);
  return pixmap;
}

QPixmap ScaledCardBitmap(int cardNumber, qreal scale, qreal devicePixelRatio) {
  QPixmap face = LoadCardBitmap(cardNumber, QuantizedScale(scale) * devicePixelRatio);
  if (!face.isNull()) face.setDevicePixelRatio(devicePixelRatio);
  return face;
}

qreal QuantizedScale(qreal scale) {
  constexpr qreal kSteps = 64;  // a picture within 1/64 of the size wanted is drawn once
  return std::round(scale * kSteps) / kSteps;
}

QPixmap LoadCardBitmap(int cardNumber, qreal devicePixelRatio) {
  // Both decks share faces: n and n + 54 show the same card.
  int folded = cardNumber > 54 && cardNumber <= 108 ? cardNumber - 54 : cardNumber;
  if (folded < 1 || folded > 54) return {};
  return ResourceBitmap("CARD_" + std::to_string(folded + 1), devicePixelRatio);
}

std::string BitmapName(int n) {
  if (n < 1 || n > kHeadIconCount) n = 1;
  return "BITMAP_" + std::to_string(n);
}

std::string ServiceName(int n) {
  return "SERVICE_" + std::to_string(static_cast<int>(static_cast<std::int8_t>(n)));
}

std::vector<std::string> AllResourceNames() {
  std::vector<std::string> names;
  for (const Family& family : kFamilies) {
    for (int i = family.first; i <= family.last; ++i) {
      names.push_back(std::string(family.prefix) + std::to_string(i));
    }
  }
  names.emplace_back(kCapName);
  return names;
}

}  // namespace quarn::client
