#pragma once

#include <cstdint>
#include <memory>

#include "game/card_id.h"
#include "game/hand_score.h"
#include "game/card_picture_ids.h"
#include "game/layoffs.h"
#include "game/rules.h"

class NxObjectReader;
class NxObjectWriter;

enum PlayState : uint32_t {
  HumanTake = 0,        // take the stock card or the upcard, or pass on the offer
  HumanDiscard = 1,     // holds 11 cards: discard or knock
  ComputerTake = 2,
  ComputerDiscard = 3,
  Learning = 4,         // announced and scored; the computer learns until the next deal
  HandEnded = 5,        // over, waiting to be announced and scored
};

// The upcard offer that opens a traditionally dealt hand.
enum OfferStage : uint32_t {
  OFFER_TO_FIRST_PLAYER = 0,
  OFFER_TO_DEALER = 1,
  FIRST_PLAYER_TAKES_STOCK = 2,
  NORMAL_PLAY = 3,
};

inline bool UpcardMayBeTaken(OfferStage stage) { return stage != FIRST_PLAYER_TAKES_STOCK; }
inline bool StockCardMayBeTaken(OfferStage stage) { return stage >= FIRST_PLAYER_TAKES_STOCK; }
inline bool PassAllowed(OfferStage stage) { return stage <= OFFER_TO_DEALER; }

enum SelectionKind : uint32_t { SELECT_NOTHING = 0, SELECT_STOCK_CARD = 2, SELECT_KNOWN_CARD = 3 };
enum SortState : uint32_t { PLAYERS_ORDER = 0, SORTED_BY_VALUE = 1, SORTED_BY_SUIT = 2 };

constexpr uint32_t NO_STATUS_TEXT = 0xFFFFFFFF;

// A hand's learning target: 0.5 moved by at most 0.4 either way, within 0..1
// whatever the hand.
inline bool IsLearningTarget(double outcome) { return outcome >= 0.0 && outcome <= 1.0; }

// Everything the flow of a hand and a game decides and remembers between
// two steps. The persistent fields come first, in their stored order.
struct GameState {
  PlayState Play = HumanTake;
  uint32_t KnockLimit = 0;
  uint32_t Dealer = 0;
  uint32_t PreviousDealer = 0;
  OfferStage Offer = NORMAL_PLAY;
  uint32_t UpcardTaken = NoCard;
  int32_t Difference = 0;
  int32_t Points = 0;
  bool HandOver = false;
  bool Gin = false;
  bool Undercut = false;
  bool StockExhausted = false;
  double HumanOutcome = 0.0;
  double ComputerOutcome = 0.0;
  uint32_t CardBackId = FIRST_CARD_BACK_ID;
  uint32_t Variation = SIMPLE_GIN;
  bool AceRequiresGin = true;
  uint32_t GameTarget = 100;
  uint32_t StatusTextId = NO_STATUS_TEXT;
  SelectionKind Selection = SELECT_NOTHING;
  uint32_t SelectionCard = NoCard;
  bool Watching = false;
  LaidOffList LaidOff;
  bool ScoreSheetShown = false;

  // Transient: never stored.
  bool Dragging = false;
  bool DragFromDiscard = false;
  uint32_t HitCard = NoCard;
  SortState Sort = PLAYERS_ORDER;
  std::unique_ptr<NxHandScore> LastScores[2];  // human, computer
  bool ClosingRequested = false;
  bool AbortPending = false;
  bool DoNotSave = false;
  bool ResumePending = false;
  bool ShowScoreSheetAfterResume = false;
  uint32_t OwnRandomSeed = 0;

  uint32_t FirstPlayer() const { return 1 - Dealer; }

  // The 22 flow fields in their stored order (the laid-off list and the
  // shown flag are stored later in the resume file, after other records).
  void WriteFlowFields(NxObjectWriter& out) const;
  // Checks every value; on failure the reader carries the error and the
  // state is unchanged.
  bool ReadFlowFields(NxObjectReader& in);
  // The score sheet's shown flag and the laid-off list (count, player, ids).
  void WriteSheetFields(NxObjectWriter& out) const;
  bool ReadSheetFields(NxObjectReader& in);
};
