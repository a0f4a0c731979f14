// The client's pictures: card faces, card backs, head and service icons and the
// landlord mark. All are drawn by our own code and looked up by resource name
// ("%s%d": CARD_2..CARD_55, BITMAP_1..BITMAP_40, SERVICE_1..SERVICE_22,
// BITMAP_CAP, BKGRND_1..BKGRND_6, CARDS_1..CARDS_6). Needs a QGuiApplication.
#pragma once

#include <QPixmap>
#include <QSize>
#include <string>
#include <string_view>
#include <vector>

namespace quarn::client {

inline constexpr int kCardFaceWidth = 71;
inline constexpr int kCardFaceHeight = 96;
inline constexpr int kIconSize = 32;
inline constexpr int kHeadIconCount = 40;
inline constexpr int kServiceIconCount = 22;

// The highest pixel ratio of the screens, so that pictures stay crisp on any of them.
qreal DefaultPixelRatio();

// Logical size of the picture `name`, or an empty size when no such resource exists.
QSize ResourceSize(std::string_view name);

// The picture `name`, drawn at `devicePixelRatio` and cached. An unknown name
// gives a null pixmap (shown as an empty picture), never an error.
QPixmap ResourceBitmap(std::string_view name, qreal devicePixelRatio = DefaultPixelRatio());

// The picture `name` at `scale` times its own size (logical pixels), drawn for
// that size rather than stretched: sharp at any size.
QPixmap ScaledBitmap(std::string_view name, qreal scale,
                     qreal devicePixelRatio = DefaultPixelRatio());
// The face of card number `cardNumber` likewise; a null pixmap for an invalid number.
QPixmap ScaledCardBitmap(int cardNumber, qreal scale, qreal devicePixelRatio = DefaultPixelRatio());
// `scale` rounded to the steps pictures are drawn at (1/64).
qreal QuantizedScale(qreal scale);

// The face of card number `cardNumber` (0..108); an invalid number gives a null pixmap.
QPixmap LoadCardBitmap(int cardNumber, qreal devicePixelRatio = DefaultPixelRatio());

// "BITMAP_" and n, where n outside 1..40 becomes 1.
std::string BitmapName(int n);
// "SERVICE_" and n read as a signed byte, without a range check.
std::string ServiceName(int n);

// Every resource name above, in a fixed order (for tests and the contact sheet).
std::vector<std::string> AllResourceNames();

}  // namespace quarn::client
