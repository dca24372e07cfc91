#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "game/card_id.h"
#include "game/hand_score.h"
#include "game/text_ids.h"

class NxDeck;

constexpr uint32_t MAX_LAID_OFF = 10;
constexpr uint32_t HAND_CARDS = 10;

// The cards the defender laid off on the knocker's melds, for the score
// sheet. Emptied at every deal.
struct LaidOffList {
  uint32_t Count = 0;
  uint32_t Player = 0;  // 0 the human, 1 the computer
  std::array<uint32_t, MAX_LAID_OFF> Cards = FilledWithNoCard();

  void Clear() { *this = LaidOffList(); }
  uint32_t TitleId() const { return YOUR_CARDS_LAID_OFF + Player; }

 private:
  static std::array<uint32_t, MAX_LAID_OFF> FilledWithNoCard() {
    std::array<uint32_t, MAX_LAID_OFF> cards;
    cards.fill(NoCard);
    return cards;
  }
};

// Reports which of the defender's cards (cards, numCards) went onto the
// knocker's melds in the defender's layoff-mode score. A stretch of three
// or more defender cards beyond the end of a knocker run is the defender's
// own run joined to it, not a layoff.
LaidOffList FindLaidOffCards(const NxHandScore& defender, const NxHandScore& knocker, const unsigned* cards,
                             unsigned numCards, uint32_t defenderPlayer);

// Plain scoring of a pile's ten cards: replaces `stored` with the new score,
// writes the pile positions of the deadwood cards (padded with NoCard) and
// returns the deadwood.
int32_t ScorePile(const NxDeck& deck, uint32_t pile, std::unique_ptr<NxHandScore>& stored,
                  std::array<uint32_t, HAND_CARDS>& deadwoodPositions);

// The defender's deadwood after laying off on the knocker's melds. scores
// holds the stored score of each player's pile (the knocker's is used, the
// defender's replaced). laidOff is filled only when something was laid off.
int32_t ComputeLayoffs(const NxDeck& deck, uint32_t defenderPile, std::unique_ptr<NxHandScore> (&scores)[2],
                       std::array<uint32_t, HAND_CARDS>& deadwoodPositions, LaidOffList& laidOff);

// What the caption window shows per card: the rank caption, then the suit
// sign as a character of the Symbol font.
struct LaidOffCaptionPiece {
  std::string Rank;
  unsigned char SuitSign;
};
std::vector<LaidOffCaptionPiece> LaidOffCaption(const LaidOffList& list);
unsigned char SuitSymbol(uint32_t suit);
