// TImagePoker: the picture of one card on the table window. It shows a face,
// can be emptied, and stands 30 px higher while the card is selected.
#pragma once

#include <QPixmap>
#include <QWidget>

namespace quarn::client {

class TImagePoker : public QWidget {
  Q_OBJECT
  Q_PROPERTY(bool moved READ Moved WRITE SetMoved)

 public:
  static constexpr int DeltaX = 0;   // sideways shift of a raised card
  static constexpr int DeltaY = 30;  // upward shift of a raised card

  // 71 x 96, transparent, hidden, not raised.
  explicit TImagePoker(QWidget* parent = nullptr);
  ~TImagePoker() override = default;

  bool Moved() const { return moved_; }
  // Raises (true) or lowers (false) the card; setting the current state does nothing.
  void SetMoved(bool value);
  // Flips between raised and lowered. The left edge never changes.
  void Move();

  // Draws `bitmap` at 0,0 over what the control shows; a null bitmap does nothing.
  void PokerDraw(const QPixmap& bitmap);
  // Empties the picture (fully transparent). Callers hide the control themselves.
  void PokerClear();
  // Card `card` (1..108) face up, drawn for the size shown, and shown; 0 or a
  // number without a face clears and hides the control.
  void ShowCard(int card);
  int Card() const { return card_; }

  // The table's scale: 71 x 96 and a rise of 30 px at 1. The face shown is
  // drawn afresh for the new size.
  void SetScale(qreal scale);
  qreal Scale() const { return scale_; }
  // Puts the card's lowered top-left corner at `lowered`; a raised card stands above it.
  void Place(QPoint lowered);
  // The keyboard's cursor stands on this card: it is outlined.
  void SetCursorMark(bool on);
  bool CursorMark() const { return cursorMark_; }

  // True while nothing has been drawn since the creation or the last PokerClear.
  bool IsBlank() const { return blank_; }
  // What the control shows, at the device pixel ratio it was drawn with.
  const QPixmap& Canvas() const { return canvas_; }

 signals:
  // A left click on the card. The table window decides whether the card toggles.
  void clicked(quarn::client::TImagePoker* self);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  void ResetCanvas(qreal ratio);
  int Rise() const;

  QPixmap canvas_;
  bool moved_ = false;
  bool blank_ = true;
  bool cursorMark_ = false;
  int card_ = 0;  // the card ShowCard drew; 0 after PokerClear or a plain PokerDraw
  qreal scale_ = 1.0;
};

}  // namespace quarn::client
