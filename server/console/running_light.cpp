#include "server/console/running_light.h"

#include <QPainter>

namespace quarn::server {

RunningLight::RunningLight(QWidget* parent) : QWidget(parent), fill_(255, 0, 0) {}

void RunningLight::SetListening(bool listening) {
  fill_ = listening ? QColor(0, 255, 0) : QColor(255, 0, 0);
  update();
}

void RunningLight::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(Qt::black, 1));
  painter.setBrush(fill_);
  const int side = std::min(width(), height()) - 2;
  painter.drawEllipse(QRectF((width() - side) / 2.0, (height() - side) / 2.0, side, side));
}

}  // namespace quarn::server
