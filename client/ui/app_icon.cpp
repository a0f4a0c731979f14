#include "client/ui/app_icon.h"

#include <QPainter>
#include <QRadialGradient>

#include "client/ui/artwork.h"
#include "client/ui/artwork_draw.h"

namespace quarn::client {
namespace {

// The icon is drawn on a 128-unit square and scaled to the size asked for.
constexpr qreal kUnits = 128;

// One card of the fan: its face (or a back for 0), turned by `degrees` about
// the bottom middle of the fan.
void FanCard(QPainter& p, int face, qreal degrees) {
  p.save();
  p.translate(64, 114);
  p.scale(0.8, 0.8);
  p.rotate(degrees);
  p.translate(-kCardFaceWidth / 2.0, -kCardFaceHeight - 8);
  if (face == 0) {
    art::DrawCardBack(p, QRectF(0, 0, kCardFaceWidth, kCardFaceHeight), 2);
  } else {
    art::DrawCardFace(p, face);
  }
  p.restore();
}

void RunningLight(QPainter& p) {
  const QPointF centre(108, 108);
  QRadialGradient glow(centre, 17, centre - QPointF(5, 5));
  glow.setColorAt(0, QColor(190, 255, 190));
  glow.setColorAt(1, QColor(0, 170, 0));
  p.setPen(QPen(QColor(0, 80, 0), 2.5));
  p.setBrush(glow);
  p.drawEllipse(centre, 16, 16);
}

}  // namespace

QImage AppIcon(AppIconKind kind, int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  p.scale(size / kUnits, size / kUnits);
  // A card back, the ace of spades and the big joker: the landlord's hand.
  FanCard(p, 0, -24);
  FanCard(p, 48, 0);
  FanCard(p, 54, 24);
  if (kind == AppIconKind::Server) {
    RunningLight(p);
  } else {
    p.save();
    p.translate(64 - 16 * 1.1, 4);
    p.scale(2.2, 2.2);  // the 16-unit hat, large over the fan
    art::DrawLandlordCap(p);
    p.restore();
  }
  return image;
}

}  // namespace quarn::client
