// ShapeLight: a filled circle, green while the server listens, red otherwise.
#pragma once

#include <QColor>
#include <QWidget>

namespace quarn::server {

class RunningLight final : public QWidget {
  Q_OBJECT

 public:
  explicit RunningLight(QWidget* parent = nullptr);
  void SetListening(bool listening);
  QColor Fill() const { return fill_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QColor fill_;
};

}  // namespace quarn::server
