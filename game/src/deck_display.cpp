// The deck's display list in layer order, and what the cards report passed
// on to whoever shows the table.
#include <algorithm>

#include "game/deck.h"

void NxDeck::InsertIntoDisplay(NxCard* card) {
  card->LayerCopy = card->CardLayer;
  auto at = std::upper_bound(Display.begin(), Display.end(), card->LayerCopy,
                             [](int32_t layer, const NxCard* other) { return layer < other->LayerCopy; });
  Display.insert(at, card);
}

void NxDeck::RemoveFromDisplay(NxCard* card) {
  auto at = std::find(Display.begin(), Display.end(), card);
  if (at != Display.end()) Display.erase(at);
}

void NxDeck::CardChanged(const NxCard& card) {
  if (Observer) Observer->CardChanged(card);
}

void NxDeck::CardMoving(const NxCard& card, TPoint to) {
  if (Observer) Observer->CardMoving(card, to);
}

void NxDeck::CardPlaced(const NxCard& card) {
  // Only the deal sends cards off from the stock; a card put back in view
  // any other way is just there.
  if (Dealing && Observer) Observer->CardDealt(card);
}

void NxDeck::MoveDone(bool useMask) {
  if (Observer) Observer->MoveDone(useMask);
}

void NxDeck::SetCardBack(uint32_t backId) {
  BackPictureId = backId;
  if (Observer) Observer->BackChanged();
}
