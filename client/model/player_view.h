// What a window shows of one player. The model keeps the data and tells the
// view what changed; a computer player binds no view at all.
#pragma once

#include <cstdint>
#include <string_view>

namespace quarn::client {

// Every operation has an empty default so that a view overrides only what it shows.
class IPlayerView {
 public:
  virtual ~IPlayerView() = default;

  // The name label shows `utf8Name` and is visible, also when the name is empty.
  virtual void ShowName(std::string_view /*utf8Name*/) {}
  // The count label shows `count`; visible when count is not 0, hidden when it is.
  virtual void ShowCardCount(int /*count*/) {}
  // Head icon 1..40 is drawn and shown; 0 hides the head image.
  virtual void ShowIcon(int /*headIcon*/) {}
  // The one landlord mark of the table moves beside this player's head image.
  virtual void ShowLandlordMark() {}

  // Own player only: hand slot 0..32 shows `card` (1..54) face up, or is
  // cleared and hidden when `card` is 0.
  virtual void ShowHandCard(int /*slot*/, std::uint8_t /*card*/) {}
  // Own player only: the card image of `slot` is raised (selected) or lowered.
  virtual void RaiseHandCard(int /*slot*/, bool /*raised*/) {}
  // Own player only: the keyboard's cursor stands on hand slot 0..32; -1 hides it.
  virtual void ShowCursor(int /*slot*/) {}
};

}  // namespace quarn::client
