#include "game/layoffs.h"

#include "game/deck.h"
#include "game/score_iterators.h"
#include "neural/check.h"

namespace {
bool IsOneOf(unsigned card, const unsigned* cards, unsigned numCards) {
  for (unsigned i = 0; i < numCards; ++i)
    if (cards[i] == card) return true;
  return false;
}

const NxMatch* FirstIncludedKnockerMatch(const NxMatch& meld, const NxHandScore& knocker) {
  NxScoreMatchIterator knockerMelds(knocker);
  while (knockerMelds.HasMore()) {
    const NxMatch* candidate = knockerMelds.Next();
    if (NxMatch::Includes(meld, *candidate)) return candidate;
  }
  return nullptr;
}

bool InExcludedStretch(unsigned card, const NxMatch& meld, const NxMatch& knockerMeld) {
  if (knockerMeld.MatchType != MatchRun) return false;
  bool ownRunBelow = meld.FirstCard + 2 < knockerMeld.FirstCard;
  bool ownRunAbove = knockerMeld.LastCard + 2 < meld.LastCard;
  return (ownRunBelow && card < knockerMeld.FirstCard) || (ownRunAbove && card > knockerMeld.LastCard);
}

// A hand is scored on its first ten cards.
std::vector<unsigned> ScoredCards(const NxDeck& deck, uint32_t pile) {
  std::vector<unsigned> cards = deck.PileCards(pile);
  if (cards.size() > HAND_CARDS) cards.resize(HAND_CARDS);
  return cards;
}

// Writes the positions of the score's deadwood cards that are among the
// pile's cards and returns their points.
int32_t CollectDeadwood(const NxDeck& deck, uint32_t pile, const NxHandScore& score, const std::vector<unsigned>& cards,
                        std::array<uint32_t, HAND_CARDS>& positions) {
  positions.fill(NoCard);
  int32_t points = 0;
  unsigned written = 0;
  NxScoreUnmatchedIterator deadwood(score);
  while (deadwood.HasMore()) {
    unsigned card = deadwood.Next();
    if (card >= NUM_CARDS || !IsOneOf(card, cards.data(), static_cast<unsigned>(cards.size()))) continue;
    if (written < HAND_CARDS) positions[written++] = deck.PositionOf(pile, card).value_or(NoCard);
    points += CardPoints[RankOf(card)];
  }
  return points;
}
}  // namespace

LaidOffList FindLaidOffCards(const NxHandScore& defender, const NxHandScore& knocker, const unsigned* cards,
                             unsigned numCards, uint32_t defenderPlayer) {
  LaidOffList list;
  list.Player = defenderPlayer;
  NxScoreMatchIterator melds(defender);
  while (melds.HasMore()) {
    const NxMatch& meld = *melds.Next();
    const NxMatch* knockerMeld = FirstIncludedKnockerMatch(meld, knocker);
    if (!knockerMeld) continue;  // the defender's own meld
    NxMatchIterator meldCards(meld);
    while (meldCards.HasMore()) {
      unsigned card = meldCards.Next();
      if (InExcludedStretch(card, meld, *knockerMeld) || !IsOneOf(card, cards, numCards)) continue;
      if (list.Count < MAX_LAID_OFF) list.Cards[list.Count++] = card;
    }
  }
  return list;
}

int32_t ScorePile(const NxDeck& deck, uint32_t pile, std::unique_ptr<NxHandScore>& stored,
                  std::array<uint32_t, HAND_CARDS>& deadwoodPositions) {
  std::vector<unsigned> cards = ScoredCards(deck, pile);
  stored = std::make_unique<NxHandScore>(cards.data(), static_cast<unsigned>(cards.size()));
  CollectDeadwood(deck, pile, *stored, cards, deadwoodPositions);
  return stored->BestDeadwood();
}

int32_t ComputeLayoffs(const NxDeck& deck, uint32_t defenderPile, std::unique_ptr<NxHandScore> (&scores)[2],
                       std::array<uint32_t, HAND_CARDS>& deadwoodPositions, LaidOffList& laidOff) {
  NX_CHECK(defenderPile < SEAT_COUNT && scores[OtherSeat(defenderPile)]);
  const NxHandScore& knocker = *scores[OtherSeat(defenderPile)];
  std::vector<unsigned> cards = ScoredCards(deck, defenderPile);
  scores[defenderPile] = std::make_unique<NxHandScore>(cards.data(), static_cast<unsigned>(cards.size()), &knocker);
  const NxHandScore& defender = *scores[defenderPile];
  LaidOffList found =
      FindLaidOffCards(defender, knocker, cards.data(), static_cast<unsigned>(cards.size()), defenderPile);
  int32_t points = CollectDeadwood(deck, defenderPile, defender, cards, deadwoodPositions);
  if (found.Count > 0) laidOff = found;
  return points;
}

unsigned char SuitSymbol(uint32_t suit) {
  constexpr unsigned char SIGNS[NUM_SUITS] = {0xA9, 0xA8, 0xAA, 0xA7};
  return suit < NUM_SUITS ? SIGNS[suit] : '?';
}

std::vector<LaidOffCaptionPiece> LaidOffCaption(const LaidOffList& list) {
  std::vector<LaidOffCaptionPiece> pieces;
  for (uint32_t i = 0; i < list.Count && i < MAX_LAID_OFF; ++i) {
    uint32_t card = list.Cards[i];
    if (!IsCard(card)) continue;
    pieces.push_back({RankCaption(RankOf(card)), SuitSymbol(SuitOf(card))});
  }
  return pieces;
}
