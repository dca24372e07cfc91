#include "player/master_player.h"

#include <chrono>

#include "game/deadwood.h"
#include "game/rules.h"
#include "game/score_record.h"

namespace {

constexpr uint32_t TOP_LEVEL = ComputerPlay::TOP_LEVEL;

}  // namespace

MasterPlayer::MasterPlayer(uint32_t seat, const MasterBudget& budget, uint64_t seed)
    : Seat(seat), Belief(seat), Budget(budget), Seed(seed) {}

MasterSearch MasterPlayer::Begin(const GameState& state, const NxDeck& deck, const GameStanding& standing,
                                 const SeatMove* advice) {
  Belief.Observe(state, deck);
  // Each decision its own stream, the same for the same seed and game.
  return MasterSearch(Belief, state, standing, Budget, Seed * 1000003u + ++Decisions, advice);
}

SeatMove MasterPlayer::Choose(const GameState& state, const NxDeck& deck, const GameStanding& standing,
                              const SeatMove* advice,
                              const std::function<bool()>& keepGoing) {
  const auto start = std::chrono::steady_clock::now();
  MasterSearch search = Begin(state, deck, standing, advice);
  const SeatMove move = search.Decide(keepGoing);
  TimesTaken.Add(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  return move;
}

AdvisedMaster::AdvisedMaster(GameFlow& flow, const std::string& dataFile, const MasterBudget& budget, uint64_t seed)
    : Adviser(flow, TOP_LEVEL, dataFile), Player(HUMAN_PILE, budget, seed) {}

void AdvisedMaster::StartHand(GameFlow& flow) {
  Adviser.StartHand(flow);
  Player.StartHand(flow);
}

bool AdvisedMaster::Move(GameFlow& flow) {
  const SeatMove advice = Adviser.Suggest(flow);
  return Adviser.Follow(flow, Player.Choose(flow.State(), flow.Deck(), StandingOf(flow.Record(), HUMAN_PILE), &advice));
}

SeatMove MasterDecider::Think(GinTable& table, const SeatMove* advice) {
  const GameState& state = table.State();
  const ScoreRecord* record = table.Scores();
  const GameStanding standing =
      record ? StandingOf(*record, COMPUTER_SEAT) : GameStanding{0, 0, state.GameTarget};
  return Player.Choose(state, table.Deck(), standing, advice,
                       [&table] { return table.KeepThinking(); });
}

bool MasterDecider::TakesUpcard(GinTable& table) {
  if (!Adviser) return Think(table, nullptr).What == SeatMove::TAKE_UPCARD;
  const OfferStage offer = table.State().Offer;
  const SeatMove advice{Adviser->WantsUpcard(COMPUTER_SEAT) ? SeatMove::TAKE_UPCARD
                        : PassAllowed(offer)                 ? SeatMove::PASS
                                                             : SeatMove::TAKE_STOCK};
  return Think(table, &advice).What == SeatMove::TAKE_UPCARD;
}

ComputerDecider::Discard MasterDecider::ChooseDiscard(GinTable& table) {
  SeatMove advice;
  if (Adviser) {
    const NxDeck& deck = table.Deck();
    const uint32_t k = Adviser->ChooseDiscard();
    uint64_t kept = deck.PileMask(COMPUTER_PILE);
    if (k < deck.CardsInPile(COMPUTER_PILE)) kept &= ~CardBit(deck.CardIndexAt(COMPUTER_PILE, k));
    const bool knock = IsLegalKnock(LeastDeadwood(kept), table.State().KnockLimit);
    advice = {knock ? SeatMove::KNOCK : SeatMove::DISCARD, k};
  }
  const SeatMove move = Think(table, Adviser ? &advice : nullptr);
  return {move.Position, move.What == SeatMove::KNOCK};
}
