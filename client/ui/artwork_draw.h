// Drawing routines behind ResourceBitmap. Each paints into a painter whose
// logical coordinates span the picture's size (device pixel ratio already set).
#pragma once

#include <QColor>
#include <QPainter>
#include <QPainterPath>
#include <QRectF>

namespace quarn::client::art {

// Suit 0..3 (diamonds, clubs, hearts, spades) as a filled outline inside `box`.
QPainterPath SuitPath(int suit, const QRectF& box);
QColor SuitColor(int suit);

// Face number m = 1..54 at 71 x 96.
void DrawCardFace(QPainter& p, int m);
// A card back of colour scheme 1..6 inside `box`.
void DrawCardBack(QPainter& p, const QRectF& box, int scheme);
// Head icon 1..40 and service icon 1..22 at 32 x 32.
void DrawHeadIcon(QPainter& p, int n);
void DrawServiceIcon(QPainter& p, int n);
// A small card face (card number 1..108) filling `box`, for the fans beside the seats.
void DrawMiniCard(QPainter& p, const QRectF& box, int cardNumber);
// The landlord mark at 16 x 16.
void DrawLandlordCap(QPainter& p);

// Text that fits: scales `text` down sideways when it is wider than `box`.
void DrawFittedText(QPainter& p, const QRectF& box, const QString& text, int flags);

}  // namespace quarn::client::art
