#include "client/ui/seatview.h"

#include <QString>
#include <algorithm>

#include "client/ui/artwork.h"

namespace quarn::client {

namespace {
// Where the landlord mark sits relative to the head image's top-left corner.
constexpr int kMarkOffsetX = -12;
constexpr int kMarkOffsetY = -8;
}  // namespace

TSeatView::TSeatView(QLabel* name, QLabel* count, QLabel* head, QLabel* landlordMark)
    : name_(name), count_(count), head_(head), mark_(landlordMark) {
  if (count_) countX_ = count_->x();
}

void TSeatView::PlaceCount() {
  if (!count_ || !name_) return;
  const int gap = qRound(4 * scale_);
  const int afterName = name_->text().isEmpty() ? 0 : name_->x() + name_->width() + gap;
  count_->move(std::max(countX_, afterName), count_->y());
}

void TSeatView::ShowName(std::string_view utf8Name) {
  if (!name_) return;
  name_->setText(QString::fromUtf8(utf8Name.data(), static_cast<qsizetype>(utf8Name.size())));
  name_->adjustSize();
  name_->show();
  PlaceCount();
}

void TSeatView::ShowCardCount(int count) {
  if (!count_) return;
  count_->setText(QString::number(count));
  count_->adjustSize();
  count_->setVisible(count != 0);
}

void TSeatView::ShowIcon(int headIcon) {
  if (!head_) return;
  if (headIcon == 0) {
    head_->hide();
    return;
  }
  const QPixmap icon = ScaledBitmap(BitmapName(headIcon), scale_);
  if (icon.isNull()) return;  // a picture that cannot be had leaves the image as it was
  headIcon_ = headIcon;
  head_->setPixmap(icon);
  head_->show();
}

void TSeatView::SetScale(qreal scale) {
  scale_ = scale;
  if (count_) countX_ = count_->x();
  if (headIcon_ != 0 && head_ && head_->isVisible()) ShowIcon(headIcon_);
  PlaceCount();
}

void TSeatView::ShowLandlordMark() {
  if (!mark_ || !head_) return;
  mark_->move(head_->x() + qRound(kMarkOffsetX * scale_),
              head_->y() + qRound(kMarkOffsetY * scale_));
  mark_->raise();
  mark_->show();
}

TOwnView::TOwnView(QLabel* name, QLabel* count, QLabel* head, QLabel* landlordMark,
                   const CardImages& cards)
    : TSeatView(name, count, head, landlordMark), cards_(cards) {}

void TOwnView::ShowHandCard(int slot, std::uint8_t card) {
  if (slot < 0 || slot >= kHandSlots) return;
  ShowCardImage(cards_[static_cast<std::size_t>(slot)], card);
  if (handChanged_) handChanged_();
}

void TOwnView::RaiseHandCard(int slot, bool raised) {
  if (slot < 0 || slot >= kHandSlots) return;
  if (TImagePoker* image = cards_[static_cast<std::size_t>(slot)]) image->SetMoved(raised);
}

void TOwnView::ShowCursor(int slot) {
  for (std::size_t i = 0; i < cards_.size(); ++i) {
    if (cards_[i]) cards_[i]->SetCursorMark(static_cast<int>(i) == slot);
  }
}

int TOwnView::SlotOf(const TImagePoker* image) const {
  if (!image) return -1;
  for (std::size_t i = 0; i < cards_.size(); ++i) {
    if (cards_[i] == image) return static_cast<int>(i);
  }
  return -1;
}

void ShowCardImage(TImagePoker* image, int card) {
  if (image) image->ShowCard(card);
}

}  // namespace quarn::client
