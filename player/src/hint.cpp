#include "player/hint.h"

#include <memory>

#include "game/move_history.h"
#include "game/string_table.h"
#include "game/table_commands.h"
#include "game/text_ids.h"
#include "player/computer_play.h"
#include "player/seat_player.h"

namespace {

constexpr uint32_t TOP_LEVEL = ComputerPlay::TOP_LEVEL;

// The adviser sees the discard pile as it lies, and the computer's takes
// from it as cards the opponent holds.
void NoteWhatThePersonSaw(ComputerPlay& adviser, GameFlow& flow) {
  const NxDeck& deck = flow.Deck();
  const int32_t top = deck.TopIndex(DISCARD_PILE);
  for (int32_t i = 0; i < top; ++i) adviser.NoteCard(3, deck.CardIndexAt(DISCARD_PILE, static_cast<uint32_t>(i)), 1);
  for (uint32_t card : flow.Moves().TakenFromDiscards(1)) adviser.NoteCard(0, card, 1);
}

}  // namespace

std::optional<Hint> AdviseHuman(GameFlow& flow, const std::string& dataFile) {
  const GameState& s = flow.State();
  if (s.HandOver || (s.Play != HumanTake && s.Play != HumanDiscard)) return std::nullopt;
  auto adviser = std::make_unique<ComputerPlay>(flow, TOP_LEVEL, 0);
  adviser->UseFixedDataFile(dataFile);
  adviser->Init();
  adviser->SelectNet(NetworkChoice(s.Variation, s.KnockLimit));
  adviser->StartHand();
  NoteWhatThePersonSaw(*adviser, flow);
  if (s.Play == HumanTake) {
    if (UpcardMayBeTaken(s.Offer) && flow.Deck().TopIndex(DISCARD_PILE) >= 0 && adviser->WantsUpcard(0))
      return Hint{CM_TAKE_UPCARD, 0};
    return Hint{PassAllowed(s.Offer) ? uint32_t(CM_PASS) : uint32_t(CM_TAKE_STOCK_CARD), 0};
  }
  const ComputerPlay::DiscardPlan plan = adviser->PlanDiscard(false);
  if (flow.Deck().CardIndexAt(HUMAN_PILE, plan.Position) == s.UpcardTaken) {
    // The card just taken from the discard pile may not go back this turn;
    // the plain strategy knows that rule.
    const SeatMove move = SimplePlayer().Choose(flow);
    return Hint{move.What == SeatMove::KNOCK ? uint32_t(CM_KNOCK_WITH_THIS_CARD) : uint32_t(CM_DISCARD_THIS_CARD),
                move.Position};
  }
  return Hint{plan.Knock ? uint32_t(CM_KNOCK_WITH_THIS_CARD) : uint32_t(CM_DISCARD_THIS_CARD), plan.Position};
}

std::string HintText(const Hint& hint, const NxDeck& deck) {
  switch (hint.Command) {
    case CM_TAKE_UPCARD: return ResourceString(ADVICE_TAKE_UPCARD);
    case CM_TAKE_STOCK_CARD: return ResourceString(ADVICE_TAKE_STOCK);
    case CM_PASS: return ResourceString(ADVICE_PASS);
    default: break;
  }
  const uint32_t card = deck.CardIndexAt(HUMAN_PILE, hint.Position);
  return ResourceString(hint.Command == CM_KNOCK_WITH_THIS_CARD ? ADVICE_KNOCK : ADVICE_DISCARD) + CardText(card) + ".";
}
