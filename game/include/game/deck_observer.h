#pragma once

#include "game/rect.h"

class NxCard;

// Whoever shows the table is told, as it happens, of every change a person
// could see. The deck plays the same with nobody watching: the arena, the
// tools and the tests run without one, and nothing is drawn.
class NxDeckObserver {
 public:
  virtual ~NxDeckObserver() = default;

  // A shown card is about to change, or has changed, where it lies, its
  // face or its layer, or it was shown or hidden.
  virtual void CardChanged(const NxCard& card) = 0;
  // Before a shown card moves to `to`.
  virtual void CardMoving(const NxCard& card, TPoint to) = 0;
  // A card the deal just put on the table, in the order they were dealt.
  virtual void CardDealt(const NxCard& card) = 0;
  // A part of the table is to be shown again as it is.
  virtual void AreaChanged(const TRect& area) = 0;
  // One of the table's moves is complete: what changed can be shown. The
  // mask is off where a caller wants speed over the cards' round corners.
  virtual void MoveDone(bool useMask) = 0;
  // The deck has another card back.
  virtual void BackChanged() = 0;
  // Every card is back in a squared stock, none of them shown.
  virtual void Gathered() = 0;
  // The deck was read back from a stream; `newTable` when its table area
  // is not the one it had before.
  virtual void Restored(bool newTable) = 0;
};
