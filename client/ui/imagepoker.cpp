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
  const int shift = moved_ ? -DeltaY : DeltaY;
  QWidget::move(x(), y() + shift);
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
  QPainter painter(&canvas_);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawPixmap(0, 0, bitmap);
  blank_ = false;
  update();
}

void TImagePoker::PokerClear() {
  canvas_.fill(Qt::transparent);
  blank_ = true;
  update();
}

void TImagePoker::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  painter.drawPixmap(0, 0, canvas_);
}

void TImagePoker::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) emit clicked(this);
  QWidget::mousePressEvent(event);
}

}  // namespace quarn::client
