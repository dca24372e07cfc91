#include "player/hint.h"

#include <memory>

#include "game/move_history.h"
#include "game/string_table.h"
#include "game/table_commands.h"
#include "game/text_ids.h"
#include "player/computer_play.h"
#include "player/hint_reason.h"
#include "player/master_belief.h"
#include "player/seat_player.h"

namespace {

constexpr uint32_t TOP_LEVEL = ComputerPlay::TOP_LEVEL;

// The adviser sees the discard pile as it lies, and the computer's takes
// from it as cards the opponent holds.
void NoteWhatThePersonSaw(ComputerPlay& adviser, GameFlow& flow) {
  const NxDeck& deck = flow.Deck();
  const int32_t top = deck.TopIndex(DISCARD_PILE);
  for (int32_t i = 0; i < top; ++i)
    adviser.NoteCard(DISCARD_PILE, deck.CardIndexAt(DISCARD_PILE, static_cast<uint32_t>(i)), COMPUTER_VECTOR);
  for (uint32_t card : flow.Moves().TakenFromDiscards(COMPUTER_SEAT)) adviser.NoteCard(HUMAN_PILE, card, COMPUTER_VECTOR);
}

// The top level's choice in the person's place.
std::optional<SeatMove> TopLevelAdvice(GameFlow& flow, const std::string& dataFile) {
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
      return SeatMove{SeatMove::TAKE_UPCARD};
    return SeatMove{PassAllowed(s.Offer) ? SeatMove::PASS : SeatMove::TAKE_STOCK};
  }
  const ComputerPlay::DiscardPlan plan = adviser->PlanDiscard(false);
  if (flow.Deck().CardIndexAt(HUMAN_PILE, plan.Position) == s.UpcardTaken) {
    // The card just taken from the discard pile may not go back this turn;
    // the plain strategy knows that rule.
    return SimplePlayer().Choose(flow);
  }
  return SeatMove{plan.Knock ? SeatMove::KNOCK : SeatMove::DISCARD, plan.Position};
}

uint32_t CommandOf(const SeatMove& move) {
  switch (move.What) {
    case SeatMove::TAKE_UPCARD: return CM_TAKE_UPCARD;
    case SeatMove::PASS: return CM_PASS;
    case SeatMove::TAKE_STOCK: return CM_TAKE_STOCK_CARD;
    case SeatMove::KNOCK: return CM_KNOCK_WITH_THIS_CARD;
    default: return CM_DISCARD_THIS_CARD;
  }
}

// What the person saw of the hand, for Master's belief.
MasterBelief PersonsKnowledge(GameFlow& flow) {
  MasterBelief belief(HUMAN_SEAT);
  belief.StartHand(flow.State(), flow.Deck());
  belief.Recall(flow.Moves().TakenFromDiscards(COMPUTER_SEAT), flow.Moves().Discards(COMPUTER_SEAT),
                flow.State().UpcardTaken);
  return belief;
}

}  // namespace

std::optional<Hint> AdviseHuman(GameFlow& flow, const std::string& dataFile, const MasterBudget& budget,
                                const std::function<bool()>& keepGoing) {
  const std::optional<SeatMove> advice = TopLevelAdvice(flow, dataFile);
  if (!advice) return std::nullopt;
  if (budget.Samples == 0) return Hint{CommandOf(*advice), advice->Position, {}};
  const MasterBelief belief = PersonsKnowledge(flow);
  // The same table asks the same way: a hint repeated says the same.
  MasterSearch search(belief, flow.State(), StandingOf(flow.Record(), HUMAN_SEAT), budget, flow.Deck().CardsInPile(STOCK_PILE) + 1, &*advice);
  const SeatMove chosen = search.Decide(keepGoing);
  return Hint{CommandOf(chosen), chosen.Position, HintReason(search, belief, chosen, flow.Deck())};
}

namespace {

std::string MoveText(const Hint& hint, const NxDeck& deck) {
  switch (hint.Command) {
    case CM_TAKE_UPCARD: return ResourceString(ADVICE_TAKE_UPCARD);
    case CM_TAKE_STOCK_CARD: return ResourceString(ADVICE_TAKE_STOCK);
    case CM_PASS: return ResourceString(ADVICE_PASS);
    default: break;
  }
  const uint32_t card = deck.CardIndexAt(HUMAN_PILE, hint.Position);
  return ResourceString(hint.Command == CM_KNOCK_WITH_THIS_CARD ? ADVICE_KNOCK : ADVICE_DISCARD) + CardText(card) + ".";
}

}  // namespace

std::string HintText(const Hint& hint, const NxDeck& deck) {
  const std::string move = MoveText(hint, deck);
  return hint.Reason.empty() ? move : move + " " + hint.Reason;
}
