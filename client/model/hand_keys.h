// The table window's keys and mouse drags on the own hand, without the window:
// a cursor over the own cards, toggling the card under it, a drag that selects
// or clears a whole range, and which button a key stands for.
#pragma once

#include <array>
#include <cstdint>

#include "client/model/current_player.h"
#include "client/model/screen_texts.h"

namespace quarn::client {

class TClientTable;

enum class TableKey : std::uint8_t {
  Play,      ///< Enter: the play button (or bid, or login, whichever is the action now)
  Clear,     ///< Escape: unselect every card
  Pass,      ///< P
  Hint,      ///< H
  Left,      ///< cursor one card left
  Right,     ///< cursor one card right
  Toggle,    ///< Space: the card under the cursor
  Raise,     ///< Up: select the card under the cursor
  Lower,     ///< Down: unselect it
  AutoPlay,  ///< T: 托管 on or off
};

// The button a key presses; the window clicks it.
enum class TableButton : std::uint8_t { None, Send, Bid, Login, Cancel, Pass, Hint, AutoPlay };

// The enabled button that `key` stands for, or None (cursor keys, or a button
// that is disabled now).
TableButton ButtonForKey(const ButtonStates& buttons, TableKey key);

class THandCursor {
 public:
  // The slot under the cursor, or -1 while it is hidden (before the first
  // cursor key, after a mouse click, or with an empty hand).
  int Slot() const { return shown_ ? slot_ : -1; }

  // Moves or toggles at the cursor when cards may be chosen (InPlay,
  // PlaySent); the own view is told where the cursor stands. Returns the
  // button the key stands for, as ButtonForKey.
  TableButton Press(TClientTable& table, TableKey key);
  // Hides the cursor (the mouse took over, or the hand changed).
  void Hide(TCurrentPlayer& me);

  // A mouse press on `slot` toggles it; moving on with the button held gives
  // every card between the first and `slot` that card's new state, and puts
  // the cards the drag left back as they were.
  void BeginDrag(TCurrentPlayer& me, int slot);
  void DragOver(TCurrentPlayer& me, int slot);
  void EndDrag() { anchor_ = -1; }

 private:
  void Show(TCurrentPlayer& me);
  void Step(const TCurrentPlayer& me, int direction);
  void Set(TCurrentPlayer& me, int slot, bool selected);

  int slot_ = 0;
  bool shown_ = false;
  int anchor_ = -1;  // the first card of a drag; -1 when no drag is under way
  int reach_ = -1;   // the far end of the range the drag has covered
  bool target_ = false;
  std::array<bool, kHandSlots> before_{};
};

}  // namespace quarn::client
