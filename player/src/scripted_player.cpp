#include "player/scripted_player.h"

#include <vector>

#include "game/game_flow.h"
#include "game/hand_score.h"
#include "player/computer_play.h"

namespace {

int32_t DeadwoodWithout(std::vector<unsigned> cards, size_t position) {
  cards.erase(cards.begin() + static_cast<std::ptrdiff_t>(position));
  return NxHandScore(cards.data(), static_cast<unsigned>(cards.size())).BestDeadwood();
}

bool UpcardHelps(const NxDeck& deck) {
  std::vector<unsigned> hand = deck.PileCards(HUMAN_PILE);
  const int32_t before = NxHandScore(hand.data(), static_cast<unsigned>(hand.size())).BestDeadwood();
  hand.push_back(deck.CardIndexAt(DISCARD_PILE, static_cast<uint32_t>(deck.TopIndex(DISCARD_PILE))));
  int32_t best = before;
  for (size_t i = 0; i + 1 < hand.size(); ++i) best = std::min(best, DeadwoodWithout(hand, i));
  return best < before - 3;
}

bool Take(GameFlow& flow) {
  const GameState& state = flow.State();
  if (flow.Deck().TopIndex(DISCARD_PILE) >= 0 && UpcardMayBeTaken(state.Offer) && UpcardHelps(flow.Deck()))
    return flow.TakeUpcard();
  if (PassAllowed(state.Offer)) return flow.Pass();
  return flow.TakeStockCard();
}

bool Throw(GameFlow& flow) {
  const GameState& state = flow.State();
  std::vector<unsigned> hand = flow.Deck().PileCards(HUMAN_PILE);
  size_t bestPosition = hand.size();
  int32_t best = 1000;
  for (size_t i = 0; i < hand.size(); ++i) {
    if (hand[i] == state.UpcardTaken) continue;
    const int32_t deadwood = DeadwoodWithout(hand, i);
    if (deadwood < best) best = deadwood, bestPosition = i;
  }
  if (bestPosition == hand.size()) return false;
  const uint32_t position = static_cast<uint32_t>(bestPosition);
  if (best <= static_cast<int32_t>(state.KnockLimit)) return flow.Knock(position);
  return flow.Discard(position);
}

}  // namespace

bool PlayScriptedHumanMove(GameFlow& flow) {
  const PlayState play = flow.State().Play;
  if (play == HumanTake) return Take(flow);
  if (play == HumanDiscard) return Throw(flow);
  return false;
}

void StepHeadlessGame(GameFlow& flow, ComputerPlay& computer) {
  const GameState& s = flow.State();
  if (s.Play == HumanTake || s.Play == HumanDiscard) {
    PlayScriptedHumanMove(flow);
  } else if (s.Play == Learning && !computer.LearnStep(Learning, s.ComputerOutcome, s.HumanOutcome)) {
    if (!flow.NextHand()) flow.NewGame(false, false);
  } else {
    flow.IdleStep();
  }
}
