#include "client/model/hand_keys.h"

#include <algorithm>

#include "client/model/table_state.h"

namespace quarn::client {

namespace {

bool ChoosingCards(TGameState state) {
  return state == TGameState::InPlay || state == TGameState::PlaySent;
}

bool Held(const TCurrentPlayer& me, int slot) {
  return slot >= 0 && slot < kHandSlots && me.Hand.Card(slot).IsPresent();
}

}  // namespace

TableButton ButtonForKey(const ButtonStates& buttons, TableKey key) {
  switch (key) {
    case TableKey::Play:
      if (buttons.send) return TableButton::Send;
      if (buttons.bid) return TableButton::Bid;
      return buttons.login ? TableButton::Login : TableButton::None;
    case TableKey::Clear:
      return buttons.cancel ? TableButton::Cancel : TableButton::None;
    case TableKey::Pass:
      return buttons.pass ? TableButton::Pass : TableButton::None;
    case TableKey::Hint:
      return buttons.hint ? TableButton::Hint : TableButton::None;
    case TableKey::AutoPlay:
      return buttons.autoPlay ? TableButton::AutoPlay : TableButton::None;
    default:
      return TableButton::None;
  }
}

TableButton THandCursor::Press(TClientTable& table, TableKey key) {
  TCurrentPlayer& me = table.Me;
  const bool cursorKey = key == TableKey::Left || key == TableKey::Right ||
                         key == TableKey::Toggle || key == TableKey::Raise ||
                         key == TableKey::Lower;
  if (!cursorKey) return ButtonForKey(ButtonsFor(table), key);
  if (!ChoosingCards(table.GameState)) return TableButton::None;
  const bool wasShown = shown_;
  Show(me);
  if (!shown_) return TableButton::None;
  if (key == TableKey::Left || key == TableKey::Right) {
    // The first cursor key only brings the cursor out where it was.
    if (wasShown) Step(me, key == TableKey::Left ? -1 : 1);
  } else if (key == TableKey::Toggle) {
    me.ToggleCard(slot_);
  } else {
    Set(me, slot_, key == TableKey::Raise);
  }
  if (me.View()) me.View()->ShowCursor(slot_);
  return TableButton::None;
}

void THandCursor::Show(TCurrentPlayer& me) {
  if (!Held(me, slot_)) {
    // The card under the cursor was played: the nearest one to its right, else left.
    slot_ = std::clamp(slot_, 0, kHandSlots - 1);
    Step(me, 1);
    if (!Held(me, slot_)) Step(me, -1);
  }
  shown_ = Held(me, slot_);
}

void THandCursor::Step(const TCurrentPlayer& me, int direction) {
  for (int slot = slot_ + direction; slot >= 0 && slot < kHandSlots; slot += direction) {
    if (Held(me, slot)) {
      slot_ = slot;
      return;
    }
  }
}

void THandCursor::Hide(TCurrentPlayer& me) {
  shown_ = false;
  if (me.View()) me.View()->ShowCursor(-1);
}

void THandCursor::Set(TCurrentPlayer& me, int slot, bool selected) {
  if (Held(me, slot) && me.Hand.IsSelected(slot) != selected) me.ToggleCard(slot);
}

void THandCursor::BeginDrag(TCurrentPlayer& me, int slot) {
  anchor_ = -1;
  if (!Held(me, slot)) return;
  for (int s = 0; s < kHandSlots; ++s) before_[static_cast<std::size_t>(s)] = me.Hand.IsSelected(s);
  me.ToggleCard(slot);
  anchor_ = slot;
  reach_ = slot;
  target_ = me.Hand.IsSelected(slot);
  slot_ = slot;
}

void THandCursor::DragOver(TCurrentPlayer& me, int slot) {
  if (anchor_ < 0 || slot < 0 || slot >= kHandSlots || slot == reach_) return;
  const int low = std::min(anchor_, slot);
  const int high = std::max(anchor_, slot);
  // Cards the range no longer covers go back to what they were.
  for (int s = std::min(anchor_, reach_); s <= std::max(anchor_, reach_); ++s) {
    if (s < low || s > high) Set(me, s, before_[static_cast<std::size_t>(s)]);
  }
  for (int s = low; s <= high; ++s) Set(me, s, target_);
  reach_ = slot;
}

}  // namespace quarn::client
