// The pile operations of the deck: everything that moves cards between and
// within piles, including the card held by the mouse.
#include <algorithm>

#include "game/deck.h"
#include "neural/check.h"

int32_t NxDeck::TopIndex(uint32_t pile) const {
  const int32_t count = static_cast<int32_t>(Pile(pile).Count);
  return Held && HeldPile == pile ? count : count - 1;
}

uint32_t NxDeck::HeldCardIndex() const { return Held ? Held->Index() : NoCard; }

void NxDeck::PickUp(uint32_t pile, uint32_t position) {
  NxHand& hand = PileRef(pile);
  NX_CHECK(!Held && position < hand.Count);
  Held = hand.Remove(position);
  HeldPile = pile;
  hand.Hovering = true;
  hand.Origin = position;
  hand.InsertPosition = position;
}

void NxDeck::Drag(TPoint point, bool useMask) {
  if (!Held) return;
  NxHand& hand = PileRef(HeldPile);
  const std::optional<uint32_t> slot = hand.InsertionSlot(point, CardDims);
  hand.Hovering = slot.has_value();
  if (slot) hand.InsertPosition = *slot;
  // Always above every pile: the card in the hand is the one the person
  // looks at; where it would land is shown by the highlight instead.
  Held->MoveTo(point, HELD_LAYER);
  MoveDone(useMask);
}

void NxDeck::Retarget(uint32_t pile, bool faceUp) {
  if (!Held) return;
  NxHand& target = PileRef(pile);
  NX_CHECK(target.Count < NxHand::CAPACITY);
  Held->SetLayer(HELD_LAYER);
  NxHand& former = PileRef(HeldPile);
  former.Hovering = false;
  former.Origin = NoCard;
  former.InsertPosition = NoCard;
  former.Layout(CardDims);
  target.Origin = target.Count;
  target.Cards[target.Count] = Held;
  target.Hovering = false;
  target.InsertPosition = NoCard;
  // The row makes room at its end for the card it holds now.
  target.Layout(CardDims);
  HeldPile = pile;
  Held->SetFace(faceUp);
}

void NxDeck::Drop() {
  if (!Held) return;
  const NxHand& hand = PileRef(HeldPile);
  uint32_t home = std::min(hand.Origin, hand.Count);
  SettleHeldCard(hand.InsertionSlot(Held->Position(), CardDims).value_or(home));
}

void NxDeck::SettleHeldCard(uint32_t slot) {
  NxHand& hand = PileRef(HeldPile);
  hand.Insert(slot, Held);
  Held = nullptr;
  hand.Hovering = false;
  hand.Origin = NoCard;
  hand.InsertPosition = NoCard;
  hand.Layout(CardDims);
  MoveDone(true);
}

void NxDeck::ReturnHeldCard() {
  if (!Held) return;
  const NxHand& hand = PileRef(HeldPile);
  SettleHeldCard(std::min(hand.Origin, hand.Count));
}

void NxDeck::MoveCard(uint32_t fromPile, uint32_t position, uint32_t toPile, bool faceUp) {
  NxHand& from = PileRef(fromPile);
  NxHand& to = PileRef(toPile);
  NX_CHECK(position < from.Count && to.Count < NxHand::CAPACITY);
  NxCard* card = from.Cards[position];
  if (card == Held) return;
  card->SetLayer(MOVING_LAYER);
  from.Remove(position);
  from.Layout(CardDims);
  card->SetFace(faceUp);
  to.Insert(to.Count, card);
  to.Layout(CardDims);
  MoveDone(true);
}

void NxDeck::Arrange(uint32_t pile, const uint32_t* order, uint32_t n) {
  NxHand& hand = PileRef(pile);
  if (n != hand.Count) return;
  for (uint32_t i = 0; i < hand.Count; ++i) hand.Cards[i]->Hide();
  for (uint32_t k = 0; k < n; ++k) {
    for (uint32_t j = k; j < hand.Count; ++j) {
      if (hand.Cards[j]->Index() == order[k]) {
        std::swap(hand.Cards[k], hand.Cards[j]);
        break;
      }
    }
  }
  hand.Layout(CardDims);
  MoveDone(true);
}

void NxDeck::SetPileFace(uint32_t pile, bool faceUp) {
  NxHand& hand = PileRef(pile);
  for (uint32_t i = 0; i < hand.Count; ++i) hand.Cards[i]->SetFace(faceUp);
  hand.FaceUp = faceUp ? 1 : 0;
  MoveDone(true);
}

void NxDeck::RefreshPile(uint32_t pile) {
  const NxHand& hand = Pile(pile);
  for (uint32_t i = 0; i < hand.Count; ++i)
    if (hand.Cards[i]->IsVisible() && Observer) Observer->AreaChanged(hand.Cards[i]->Rect());
  MoveDone(true);
}

void NxDeck::MoveCardToPoint(TPoint point, uint32_t pile, uint32_t position, bool useMask) {
  NxCard* card = PileRef(pile).CardAt(position);
  card->MoveTo(point, card->Layer());
  MoveDone(useMask);
}

std::optional<CardHit> NxDeck::CardAtPoint(TPoint point, uint32_t pile) const {
  const NxHand& hand = Pile(pile);
  for (uint32_t i = hand.Count; i-- > 0;) {
    const NxCard* card = hand.Cards[i];
    if (card->HitTest(point)) return CardHit{i, card->Position()};
  }
  return std::nullopt;
}

bool NxDeck::CoversPile(const TRect& rect, uint32_t pile, double percent) const {
  const TRect& bounds = Pile(pile).Bounds;
  TRect common = rect.Intersection(bounds);
  double area = common.IsEmpty() ? 0.0 : static_cast<double>(common.Width()) * common.Height();
  return area >= static_cast<double>(bounds.Width()) * bounds.Height() * percent * 0.01;
}
