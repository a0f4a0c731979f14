// The widgets that show one player on the table window: name, card count,
// head icon and the shared landlord mark; for the own player also the 33
// card images of the hand.
#pragma once

#include <QLabel>
#include <array>
#include <cstdint>
#include <functional>
#include <string_view>

#include "client/model/current_player.h"
#include "client/model/player_view.h"
#include "client/ui/imagepoker.h"

namespace quarn::client {

class TSeatView : public IPlayerView {
 public:
  // None is owned; the landlord mark is shared by the four views.
  TSeatView(QLabel* name, QLabel* count, QLabel* head, QLabel* landlordMark);

  void ShowName(std::string_view utf8Name) override;
  void ShowCardCount(int count) override;
  void ShowIcon(int headIcon) override;
  // The mark sits 12 px left of and 8 px above the head image's corner (at scale 1).
  void ShowLandlordMark() override;

  // After the window placed the labels and the head image for the table's new
  // scale: the icon is drawn for its size and the count follows the name again.
  void SetScale(qreal scale);

 private:
  // A long name pushes the count label to its right instead of running under it.
  void PlaceCount();

  QLabel* name_;
  QLabel* count_;
  QLabel* head_;
  QLabel* mark_;
  int countX_ = 0;
  int headIcon_ = 0;
  qreal scale_ = 1.0;
};

class TOwnView : public TSeatView {
 public:
  using CardImages = std::array<TImagePoker*, kHandSlots>;
  TOwnView(QLabel* name, QLabel* count, QLabel* head, QLabel* landlordMark,
           const CardImages& cards);

  void ShowHandCard(int slot, std::uint8_t card) override;
  void RaiseHandCard(int slot, bool raised) override;
  void ShowCursor(int slot) override;
  // Called after every change of a hand slot (the card counter follows the hand).
  void SetHandChanged(std::function<void()> changed) { handChanged_ = std::move(changed); }

  // The slot of a card image, or -1 when it is none of the 33.
  int SlotOf(const TImagePoker* image) const;

 private:
  CardImages cards_;
  std::function<void()> handChanged_;
};

// Draws card `card` face up into `image` and shows it; 0 (or a card without a
// face) clears and hides it.
void ShowCardImage(TImagePoker* image, int card);

}  // namespace quarn::client
