#include "client/ui/imagepoker.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "client/ui/artwork.h"

namespace quarn::client {

TImagePoker::TImagePoker(QWidget* parent) : QWidget(parent) {
  setFixedSize(kCardFaceWidth, kCardFaceHeight);
  setAttribute(Qt::WA_NoSystemBackground);  // transparent: the panel shows through
  ResetCanvas(DefaultPixelRatio());
  setVisible(false);
}

void TImagePoker::ResetCanvas(qreal ratio) {
  canvas_ = QPixmap(size() * ratio);
  canvas_.setDevicePixelRatio(ratio);
  canvas_.fill(Qt::transparent);
  blank_ = true;
}

void TImagePoker::SetMoved(bool value) {
  if (value == moved_) return;
  Move();
}

void TImagePoker::Move() {
  moved_ = !moved_;
  const int shift = moved_ ? -Rise() : Rise();
  QWidget::move(x(), y() + shift);
}

int TImagePoker::Rise() const {
  return qRound(DeltaY * scale_);
}

void TImagePoker::ShowCard(int card) {
  const QPixmap face = card == 0 ? QPixmap() : ScaledCardBitmap(card, scale_, DefaultPixelRatio());
  PokerClear();
  if (face.isNull()) {
    hide();
    return;
  }
  PokerDraw(face);
  card_ = card;
  show();
}

void TImagePoker::SetScale(qreal scale) {
  if (!(scale > 0) || scale == scale_) return;
  scale_ = scale;
  setFixedSize(qRound(kCardFaceWidth * scale), qRound(kCardFaceHeight * scale));
  const int card = card_;
  ResetCanvas(DefaultPixelRatio());
  if (card != 0) ShowCard(card);
}

void TImagePoker::Place(QPoint lowered) {
  QWidget::move(lowered.x(), lowered.y() - (moved_ ? Rise() : 0));
}

void TImagePoker::SetCursorMark(bool on) {
  if (on == cursorMark_) return;
  cursorMark_ = on;
  update();
}

void TImagePoker::PokerDraw(const QPixmap& bitmap) {
  if (bitmap.isNull()) return;
  // Keep the sharper of the two ratios so a high-DPI face is not blurred.
  qreal ratio = std::max(canvas_.devicePixelRatio(), bitmap.devicePixelRatio());
  if (ratio != canvas_.devicePixelRatio()) {
    QPixmap old = canvas_;
    ResetCanvas(ratio);
    QPainter(&canvas_).drawPixmap(0, 0, old);
  }
  card_ = 0;  // a picture from elsewhere: nothing to draw afresh at another size
  QPainter painter(&canvas_);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawPixmap(0, 0, bitmap);
  blank_ = false;
  update();
}

void TImagePoker::PokerClear() {
  canvas_.fill(Qt::transparent);
  blank_ = true;
  card_ = 0;
  update();
}

void TImagePoker::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  painter.drawPixmap(0, 0, canvas_);
  if (cursorMark_ && !blank_) {
    // A frame round the card and a bar along its bottom, in the strip that shows.
    const qreal pen = std::max(2.0, 2.0 * scale_);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0, 110, 230), pen));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(rect()).adjusted(pen / 2, pen / 2, -pen / 2, -pen / 2),
                            4 * scale_, 4 * scale_);
  }
}

void TImagePoker::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) emit clicked(this);
  QWidget::mousePressEvent(event);
}

}  // namespace quarn::client
