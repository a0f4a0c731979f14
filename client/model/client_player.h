// One other player as the client shows it: name, icons, card count, landlord flag.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "client/model/player_view.h"

namespace quarn::client {

inline constexpr std::size_t kNameBytes = 15;  // GBK bytes of a name, without its NUL
inline constexpr int kMaxHeadIcon = 40;

class TClientPlayer {
 public:
  TClientPlayer() = default;
  TClientPlayer(const TClientPlayer&) = delete;
  TClientPlayer& operator=(const TClientPlayer&) = delete;
  virtual ~TClientPlayer() = default;

  // The view is not owned; nullptr unbinds.
  void BindView(IPlayerView* view) { view_ = view; }
  IPlayerView* View() const { return view_; }

  // Stores the UTF-8 name cut to 15 GBK bytes at a character boundary and shows it.
  void SetName(std::string_view utf8Name);
  // A negative count is ignored; otherwise stored and shown.
  void SetCardCount(int count);
  // Moves the landlord mark here when the flag rises; the flag follows `on` always.
  void SetLandlord(bool on);
  // An icon outside 1..40 becomes 0 (no icon).
  void SetIcon(int headIcon);
  void SetService(std::uint8_t serviceIcon) { serviceIcon_ = serviceIcon; }

  const std::string& Name() const { return name_; }  // UTF-8
  int HeadIcon() const { return headIcon_; }
  int CardCount() const { return cardCount_; }
  bool IsLord() const { return isLord_; }
  std::uint8_t ServiceIcon() const { return serviceIcon_; }

 private:
  std::string name_;
  int headIcon_ = 1;
  int cardCount_ = 0;
  bool isLord_ = false;
  std::uint8_t serviceIcon_ = 0;
  IPlayerView* view_ = nullptr;
};

}  // namespace quarn::client
