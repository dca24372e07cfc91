#include "game/hand.h"

#include "game/object_stream.h"
#include "game/table_geometry.h"
#include "neural/check.h"

void NxHand::Reset() {
  Hovering = false;
  Stacked = false;
  Count = 0;
  Origin = NoCard;
  InsertPosition = NoCard;
  BaseLayer = 0;
  Position = {};
  Offset = {};
  Bounds = {};
  Cards.fill(nullptr);
}

NxCard* NxHand::CardAt(uint32_t position) const {
  NX_CHECK(position < Count);
  return Cards[position];
}

void NxHand::Insert(uint32_t position, NxCard* card) {
  NX_CHECK(Count < CAPACITY && position <= Count);
  for (uint32_t i = Count; i > position; --i) Cards[i] = Cards[i - 1];
  Cards[position] = card;
  ++Count;
}

NxCard* NxHand::Remove(uint32_t position) {
  NX_CHECK(position < Count);
  NxCard* card = Cards[position];
  for (uint32_t i = position; i + 1 < Count; ++i) Cards[i] = Cards[i + 1];
  --Count;
  Cards[Count] = nullptr;
  return card;
}

bool NxHand::IsOver(TPoint corner, TSize cardSize) const {
  return TRect::At(corner, cardSize).Intersects(Bounds);
}

std::optional<uint32_t> NxHand::InsertionSlot(TPoint corner, TSize cardSize) const {
  if (!IsOver(corner, cardSize)) return std::nullopt;
  if (Count == 0) return 0;
  const int32_t n = static_cast<int32_t>(Count);
  const NxCard* last = Cards[Count - 1];
  int32_t k = n - 1;
  bool beyondLast = false;
  const TPoint first = SlotCorner(0);
  if (Offset.x != 0) {
    k = corner.x < first.x ? -1 : (corner.x - first.x) / Offset.x;
    beyondLast = last && corner.x > last->Position().x;
  } else if (Offset.y != 0) {
    k = corner.y < first.y ? -1 : (corner.y - first.y) / Offset.y;
    beyondLast = last && corner.y > last->Position().y;
  }
  if (beyondLast) {
    k = n - 1;
  } else if (Origin != NoCard && k >= static_cast<int32_t>(Origin)) {
    // The held card's own slot is still drawn empty.
    --k;
  }
  k = std::clamp(k, -1, n - 1);
  return static_cast<uint32_t>(k + 1);
}

TPoint NxHand::SlotCorner(uint32_t slot) const { return SpreadCardCorner(Position, Offset, slot, Slots()); }

void NxHand::Measure(TSize cardSize) {
  // An empty row keeps the place of a lone card, where a card dropped on it goes.
  const uint32_t slots = std::max(Slots(), 1u);
  const TPoint first = SpreadCardCorner(Position, Offset, 0, slots);
  const TPoint last = SpreadCardCorner(Position, Offset, slots - 1, slots);
  Bounds = {first.x, first.y, last.x + cardSize.cx, last.y + cardSize.cy};
}

void NxHand::Layout(TSize cardSize) {
  Measure(cardSize);
  if (Count == 0) return;
  const uint32_t firstShown = Stacked ? (Count >= 2 ? Count - 2 : Count - 1) : 0;
  int32_t layer = BaseLayer;
  for (uint32_t i = 0; i < Count; ++i) {
    NxCard* card = Cards[i];
    if (i >= firstShown) {
      card->Place(SlotCorner(Origin != NoCard && i >= Origin ? i + 1 : i), layer, FaceUp != 0);
      layer += 2;
    } else {
      card->Hide();
      card->SetLayer(layer);
    }
  }
}

void NxHand::Streamer::Write(NxObjectWriter& out, const NxHand& hand) {
  out.BeginObject(NAME, VERSION, &hand);
  out.WriteBool(hand.Stacked);
  out.WriteWord(hand.Count);
  out.WriteWord(hand.FaceUp);
  out.WriteInt(hand.BaseLayer);
  out.WriteInt(hand.Position.x);
  out.WriteInt(hand.Position.y);
  out.WriteInt(hand.Bounds.left);
  out.WriteInt(hand.Bounds.top);
  out.WriteInt(hand.Bounds.right);
  out.WriteInt(hand.Bounds.bottom);
  out.WriteInt(hand.Offset.x);
  out.WriteInt(hand.Offset.y);
  for (uint32_t i = 0; i < hand.Count; ++i) out.WriteReference(hand.Cards[i]);
  out.EndObject();
}
