// Marks over the cards of one pile: the bands that group a hand's melds and
// the shade over its deadwood. They are drawn with the card, so a card laid
// over another covers its mark too, and each card shows the mark of the
// part of it that can be seen.
#include <algorithm>

#include "game/card.h"
#include "table/device_pixels.h"
#include "table/table_picture.h"

namespace {

// Table pixels at the foot of a card, and the break that ends a meld.
constexpr int32_t MELD_BAND_HEIGHT = 6;
constexpr int32_t MELD_BREAK = 4;
// Distinct under the common colour-vision deficiencies too; melds that lie
// side by side are told apart by the break as well.
constexpr uint32_t MELD_COLOURS[] = {0x002F6FD6, 0x00E08A1A, 0x00B0369A, 0x001F9E4A, 0x00D55E00, 0x0056B4E9};

// Three quarters of each channel: darker, still readable.
uint32_t Shaded(uint32_t pixel) { return ((pixel >> 1) & 0x7F7F7F) + ((pixel >> 2) & 0x3F3F3F); }

}  // namespace

void NxTablePicture::SetMarksOnPiles(uint32_t piles, const CardMarks& marks) {
  if (piles == MarkedPiles && marks == MarkByCard) return;
  for (uint32_t card = 0; card < NUM_CARDS; ++card) {
    const bool changed = piles != MarkedPiles || marks[card] != MarkByCard[card];
    const NxCard* shown = Deck.Card(card);
    if (changed && shown && shown->IsVisible()) CardChanged(*shown);
  }
  MarkedPiles = piles;
  MarkByCard = marks;
  Paint(true);
}

const NxHand* NxTablePicture::MarkedHandOf(const NxCard& card) const {
  for (uint32_t pile = 0; pile < Deck.PileCount(); ++pile) {
    if ((MarkedPiles & (uint32_t{1} << pile)) == 0) continue;
    const NxHand& hand = Deck.Pile(pile);
    for (uint32_t i = 0; i < hand.Count; ++i)
      if (hand.Cards[i] == &card) return &hand;
  }
  return nullptr;
}

void NxTablePicture::DrawMark(const NxCard& card, const TRect& drawn, const TRect& part) {
  const uint8_t mark = MarkByCard[card.Index()];
  TRect area = part;
  uint32_t colour = 0;
  if (mark != DEADWOOD_MARK) {
    const NxHand& hand = *MarkedHandOf(card);
    uint32_t at = 0;
    while (hand.Cards[at] != &card) ++at;
    const bool continues = at > 0 && MarkByCard[hand.Cards[at - 1]->Index()] == mark;
    const int32_t left = drawn.left + (continues ? 0 : ToDevice(MELD_BREAK, DeviceScale));
    const TRect band{left, drawn.bottom - ToDevice(MELD_BAND_HEIGHT, DeviceScale), drawn.right, drawn.bottom};
    area = band.Intersection(part);
    colour = MELD_COLOURS[(mark - 1) % std::size(MELD_COLOURS)];
  }
  const bool masked = Mask.Width() == drawn.Width() && Mask.Height() == drawn.Height();
  for (int32_t y = area.top; y < area.bottom; ++y) {
    uint32_t* row = Buffer.Row(y);
    const uint32_t* mask = masked ? Mask.Row(y - drawn.top) : nullptr;
    for (int32_t x = area.left; x < area.right; ++x) {
      // White in the mask is outside the card's rounded corners.
      if (mask && (mask[x - drawn.left] & 0xFFFFFF) != 0) continue;
      row[x] = mark == DEADWOOD_MARK ? Shaded(row[x]) : colour;
    }
  }
}
