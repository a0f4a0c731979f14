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
  const int afterName = name_->text().isEmpty() ? 0 : name_->x() + name_->width() + 4;
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
  const QPixmap icon = ResourceBitmap(BitmapName(headIcon));
  if (icon.isNull()) return;  // a picture that cannot be had leaves the image as it was
  head_->setPixmap(icon);
  head_->show();
}

void TSeatView::ShowLandlordMark() {
  if (!mark_ || !head_) return;
  mark_->move(head_->x() + kMarkOffsetX, head_->y() + kMarkOffsetY);
  mark_->raise();
  mark_->show();
}

TOwnView::TOwnView(QLabel* name, QLabel* count, QLabel* head, QLabel* landlordMark,
                   const CardImages& cards)
    : TSeatView(name, count, head, landlordMark), cards_(cards) {}

void TOwnView::ShowHandCard(int slot, std::uint8_t card) {
  if (slot < 0 || slot >= kHandSlots) return;
  ShowCardImage(cards_[static_cast<std::size_t>(slot)], card);
}

void TOwnView::RaiseHandCard(int slot, bool raised) {
  if (slot < 0 || slot >= kHandSlots) return;
  if (TImagePoker* image = cards_[static_cast<std::size_t>(slot)]) image->SetMoved(raised);
}

int TOwnView::SlotOf(const TImagePoker* image) const {
  if (!image) return -1;
  for (std::size_t i = 0; i < cards_.size(); ++i) {
    if (cards_[i] == image) return static_cast<int>(i);
  }
  return -1;
}

void ShowCardImage(TImagePoker* image, int card) {
  if (!image) return;
  const QPixmap face = card == 0 ? QPixmap() : LoadCardBitmap(card);
  image->PokerClear();
  if (face.isNull()) {
    image->hide();
    return;
  }
  image->PokerDraw(face);
  image->show();
}

}  // namespace quarn::client
