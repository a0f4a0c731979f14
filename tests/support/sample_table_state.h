// The game in play as seat 1 of table 1 knows it: the worked example of
// TableState in docs/protocol.md. 北 is to play; 南 is the landlord for 10
// points; 东 laid a pair of 5s; 44 cards have been laid; one game was played.
#pragma once

#include "protocol/pcpstate.h"

namespace quarn::test {

inline TableStateRecord SampleTableState() {
  return {.tableNumber = 1,
          .seat = 1,
          .phase = TablePhase::Playing,
          .turn = 1,
          .landlord = 3,
          .points = 10,
          .cardCount = {20, 5, 25, 14},
          .startCard = 17,
          .handCount = 5,
          .hand = {3, 20, 41, 54, 107},
          .leadSeat = 0,
          .tableCount = 2,
          .tableCards = {9, 63},
          .played = {4, 4, 3, 4, 2, 4, 3, 3, 4, 2, 4, 3, 2, 1, 1},
          .score = {10, 10, 10, -30},
          .rounds = {1, 1, 1, 1}};
}

}  // namespace quarn::test
