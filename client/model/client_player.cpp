#include "client/model/client_player.h"

#include "core/gbk.h"

namespace quarn::client {

void TClientPlayer::SetName(std::string_view utf8Name) {
  // The wire and the window agree only if the name is cut where the wire cuts it.
  name_ = GbkToUtf8(GbkCut(Utf8ToGbk(utf8Name), kNameBytes));
  if (view_) view_->ShowName(name_);
}

void TClientPlayer::SetCardCount(int count) {
  if (count < 0) return;
  cardCount_ = count;
  if (view_) view_->ShowCardCount(count);
}

void TClientPlayer::SetLandlord(bool on) {
  if (!isLord_ && on && view_) view_->ShowLandlordMark();
  isLord_ = on;
}

void TClientPlayer::SetIcon(int headIcon) {
  if (headIcon < 1 || headIcon > kMaxHeadIcon) headIcon = 0;
  headIcon_ = headIcon;
  if (view_) view_->ShowIcon(headIcon);
}

}  // namespace quarn::client
