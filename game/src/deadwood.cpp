#include "game/deadwood.h"

#include <algorithm>

#include "game/card_id.h"

namespace {

constexpr uint64_t Bit(unsigned card) { return uint64_t{1} << card; }

constexpr uint64_t OfRank(unsigned rank) { return Bit(rank) | Bit(rank + 13) | Bit(rank + 26) | Bit(rank + 39); }
constexpr uint64_t ACES = OfRank(0);
constexpr uint64_t TWOS = OfRank(1);
constexpr uint64_t QUEENS = OfRank(11);
constexpr uint64_t KINGS = OfRank(12);
constexpr uint64_t SUIT_BITS = Bit(NUM_RANKS) - 1;

int32_t Points(uint64_t cards) {
  int32_t points = 0;
  for (; cards; cards &= cards - 1) points += CardPoints[RankOf(static_cast<unsigned>(__builtin_ctzll(cards)))];
  return points;
}

// Cards that lie in at least one run of three or in a rank held three or
// four times: only these can leave the deadwood.
uint64_t Meldable(uint64_t cards) {
  // Shifting by one id moves a card to its suit neighbour, except across
  // the king/ace boundary between suits, which the masks cut.
  const uint64_t up1 = (cards >> 1) & ~KINGS;                 // the next rank held
  const uint64_t up2 = (cards >> 2) & ~(KINGS | QUEENS);      // the rank after next held
  const uint64_t down1 = (cards << 1) & ~ACES;                // the rank below held
  const uint64_t down2 = (cards << 2) & ~(ACES | TWOS);       // two ranks below held
  uint64_t inRun = cards & ((up1 & up2) | (down1 & up1) | (down2 & down1));

  const uint64_t h = cards & SUIT_BITS, d = cards >> 13 & SUIT_BITS, s = cards >> 26 & SUIT_BITS,
                 c = cards >> 39 & SUIT_BITS;
  const uint64_t setRanks = (h & d & s) | (h & d & c) | (h & s & c) | (d & s & c);
  const uint64_t inSet = cards & (setRanks | setRanks << 13 | setRanks << 26 | setRanks << 39);
  return inRun | inSet;
}

// Search over the lowest card: it is either deadwood or the lowest card of
// one of the melds that contain it.
int32_t Search(uint64_t cards) {
  const uint64_t meldable = Meldable(cards);
  int32_t loose = Points(cards & ~meldable);
  cards = meldable;
  if (!cards) return loose;

  const unsigned low = static_cast<unsigned>(__builtin_ctzll(cards));
  const uint64_t rest = cards & ~Bit(low);
  int32_t best = CardPoints[RankOf(low)] + Search(rest);

  // Runs upwards from the lowest card, three cards or longer.
  uint64_t run = Bit(low);
  for (unsigned card = low + 1; RankOf(card) > RankOf(low) && (cards & Bit(card)); ++card) {
    run |= Bit(card);
    if (card - low >= 2) best = std::min(best, Search(cards & ~run));
  }

  // Sets: every other card of its rank held has a higher id.
  uint64_t others = cards & OfRank(RankOf(low)) & ~Bit(low);
  for (uint64_t a = others; a; a &= a - 1) {
    const uint64_t first = a & -a;
    for (uint64_t b = a & (a - 1); b; b &= b - 1) {
      const uint64_t second = b & -b;
      best = std::min(best, Search(rest & ~(first | second)));
    }
  }
  if (__builtin_popcountll(others) == 3) best = std::min(best, Search(rest & ~others));
  return loose + best;
}

}  // namespace

uint64_t CardMask(const unsigned* cards, unsigned count) {
  uint64_t mask = 0;
  for (unsigned i = 0; i < count; ++i) mask |= Bit(cards[i]);
  return mask;
}

uint64_t MeldableCards(uint64_t cards) { return Meldable(cards & (Bit(NUM_CARDS) - 1)); }

int32_t LeastDeadwood(uint64_t cards) { return Search(cards & (Bit(NUM_CARDS) - 1)); }
