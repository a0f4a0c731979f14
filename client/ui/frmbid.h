// TFormBid: the bid window. The player names the points to bid; a bid must top
// the current one and fit the one byte it travels in.
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace quarn::client {

class TFormBid : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kMaxBid = 255;  // a bid travels as one byte

  explicit TFormBid(QWidget* parent = nullptr);
  ~TFormBid() override = default;

  // Before opening: the current bid in the label, the proposed bid in the entry.
  void SetCurrentBid(int points);
  void SetProposedBid(int points);

  // Checks the entry: a greater bid up to 255 emits bidOffered and closes with
  // OK; anything else shows why and keeps the window open.
  void BtnBidClick();
  // Gives up bidding: emits bidPassed and closes with Cancel (also Escape).
  void BtnCancelClick();

  QLabel* LabelPoint() const { return labelPoint_; }
  QLineEdit* EditPoint() const { return editPoint_; }
  QPushButton* BtnBid() const { return btnBid_; }
  QPushButton* BtnCancel() const { return btnCancel_; }

 signals:
  // The table window stores the points as its bid and sends BidOffer.
  void bidOffered(int points);
  // The table window sends BidPass.
  void bidPassed();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void showEvent(QShowEvent* event) override;  // the entry takes the focus, text selected

 private:
  QLabel* labelPoint_;
  QLineEdit* editPoint_;
  QPushButton* btnBid_;
  QPushButton* btnCancel_;
};

}  // namespace quarn::client
