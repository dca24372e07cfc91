#include "player/master_player.h"

#include <chrono>

MasterPlayer::MasterPlayer(uint32_t seat, const MasterBudget& budget, uint64_t seed)
    : Belief(seat), Budget(budget), Seed(seed) {}

MasterSearch MasterPlayer::Begin(const GameState& state, const NxDeck& deck) {
  Belief.Observe(state, deck);
  // Each decision its own stream, the same for the same seed and game.
  return MasterSearch(Belief, state, Budget, Seed * 1000003u + ++Decisions);
}

SeatMove MasterPlayer::Choose(const GameState& state, const NxDeck& deck) {
  const auto start = std::chrono::steady_clock::now();
  MasterSearch search = Begin(state, deck);
  const SeatMove move = search.Decide();
  TimesTaken.Add(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  return move;
}

bool MasterDecider::TakesUpcard(GinTable& table) {
  return Player.Choose(table.State(), table.Deck()).What == SeatMove::TAKE_UPCARD;
}

ComputerDecider::Discard MasterDecider::ChooseDiscard(GinTable& table) {
  const SeatMove move = Player.Choose(table.State(), table.Deck());
  return {move.Position, move.What == SeatMove::KNOCK};
}
