#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "game/card.h"
#include "game/rect.h"

class NxObjectWriter;

// One pile of cards on the table: a hand, the stock or the discard pile.
// Position 0 is the bottom (leftmost) card. Piles are changed only through
// the deck, which also keeps the held-card state and reports what changed.
class NxHand {
 public:
  static constexpr uint32_t CAPACITY = 52;

  virtual ~NxHand() = default;

  void Reset();
  NxCard* CardAt(uint32_t position) const;
  NxCard* Top() const { return Count ? Cards[Count - 1] : nullptr; }
  void Insert(uint32_t position, NxCard* card);
  NxCard* Remove(uint32_t position);

  // Where a card whose top-left corner is `corner` would be inserted, or
  // nothing when it is not over the pile.
  std::optional<uint32_t> InsertionSlot(TPoint corner, TSize cardSize) const;
  bool IsOver(TPoint corner, TSize cardSize) const;

  // Places every card: stacked piles show only their top two. A spread
  // pile stands centred (see SpreadCardCorner), a card held from it still
  // counted with it, its slot left empty.
  void Layout(TSize cardSize);
  // The places the row is laid out for: its cards and a card held from it.
  uint32_t Slots() const { return Count + (Origin != NoCard ? 1 : 0); }
  // Where the card in `slot` of the row as laid out stands.
  TPoint SlotCorner(uint32_t slot) const;
  // Sets Bounds to the row as laid out.
  void Measure(TSize cardSize);

  struct Streamer {
    static constexpr uint32_t VERSION = 1;
    static constexpr const char* NAME = "NxHand";
    static void Write(NxObjectWriter& out, const NxHand& hand);
  };

  bool Hovering = false;
  bool Stacked = false;
  uint32_t Count = 0;
  uint32_t Origin = NoCard;
  uint32_t FaceUp = 0;
  uint32_t InsertPosition = NoCard;
  int32_t BaseLayer = 0;
  TPoint Position;  // of the first card when the pile holds ten
  TRect Bounds;
  TPoint Offset;  // (dx, dy) from one card to the next
  std::array<NxCard*, CAPACITY> Cards{};
};
