// What a seat did last in this round, shown beside it: a fan of small cards,
// or 不要 for a pass. The side tables of the window put one beside each seat.
#pragma once

#include <QString>
#include <QWidget>

#include "client/model/table_tally.h"

namespace quarn::client {

class TSeatActView : public QWidget {
  Q_OBJECT

 public:
  enum class Fan { Across, Down };  // beside the top and own seats across, the side seats down

  TSeatActView(Fan fan, QWidget* parent = nullptr);

  // Shown while the seat has acted in this round; hidden otherwise.
  void ShowAct(const SeatAct& act);
  const SeatAct& Act() const { return act_; }
  // "不要", or the cards as ranks ("3 3 4 4"); empty before the seat acted.
  QString Text() const;
  void SetScale(qreal scale);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void PaintPass(class QPainter& p);
  void PaintCards(class QPainter& p);

  Fan fan_;
  SeatAct act_;
  qreal scale_ = 1.0;
};

// The card counter (记牌器): for each rank how many cards this player has not seen.
class TCardCounter : public QWidget {
  Q_OBJECT

 public:
  explicit TCardCounter(QWidget* parent = nullptr);

  void ShowTally(const RankTally& tally);
  const RankTally& Tally() const { return tally_; }
  void SetScale(qreal scale);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  RankTally tally_{};
  qreal scale_ = 1.0;
};

}  // namespace quarn::client
