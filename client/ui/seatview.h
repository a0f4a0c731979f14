// The widgets that show one player on the table window: name, card count,
// head icon and the shared landlord mark; for the own player also the 33
// card images of the hand.
#pragma once

#include <QLabel>
#include <array>
#include <cstdint>
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
  // The mark sits 12 px left of and 8 px above the head image's corner.
  void ShowLandlordMark() override;

 private:
  // A long name pushes the count label to its right instead of running under it.
  void PlaceCount();

  QLabel* name_;
  QLabel* count_;
  QLabel* head_;
  QLabel* mark_;
  int countX_ = 0;
};

class TOwnView : public TSeatView {
 public:
  using CardImages = std::array<TImagePoker*, kHandSlots>;
  TOwnView(QLabel* name, QLabel* count, QLabel* head, QLabel* landlordMark,
           const CardImages& cards);

  void ShowHandCard(int slot, std::uint8_t card) override;
  void RaiseHandCard(int slot, bool raised) override;

  // The slot of a card image, or -1 when it is none of the 33.
  int SlotOf(const TImagePoker* image) const;

 private:
  CardImages cards_;
};

// Draws card `card` face up into `image` and shows it; 0 (or a card without a
// face) clears and hides it.
void ShowCardImage(TImagePoker* image, int card);

}  // namespace quarn::client
