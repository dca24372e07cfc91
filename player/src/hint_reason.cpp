#include "player/hint_reason.h"

#include <cstdio>

#include "game/move_history.h"
#include "game/string_table.h"
#include "game/text_ids.h"

namespace {

std::string Count(uint32_t n) { return std::to_string(n); }

std::string MoveWords(const SeatMove& move, const NxDeck& deck, uint32_t seat) {
  switch (move.What) {
    case SeatMove::PASS: return ResourceString(REASON_MOVE_PASS);
    case SeatMove::TAKE_UPCARD: return ResourceString(REASON_MOVE_UPCARD);
    case SeatMove::TAKE_STOCK: return ResourceString(REASON_MOVE_STOCK);
    case SeatMove::DISCARD:
    case SeatMove::KNOCK:
      return FillIn(ResourceString(move.What == SeatMove::KNOCK ? REASON_MOVE_KNOCK : REASON_MOVE_DISCARD),
                    CardText(deck.CardIndexAt(PileOf(seat), move.Position)));
    case SeatMove::NONE: break;
  }
  return {};
}

// The candidate of the search that is `move`, or the count when none is.
size_t CandidateOf(const MasterSearch& search, const SeatMove& move) {
  for (size_t i = 0; i < search.CandidateCount(); ++i)
    if (IsSameMove(search.CandidateMove(i), move)) return i;
  return search.CandidateCount();
}

// The best of the candidates that pass `keep`, other than `chosen`.
template <typename Keep>
size_t BestOther(const MasterSearch& search, size_t chosen, Keep keep) {
  size_t best = search.CandidateCount();
  for (size_t i = 0; i < search.CandidateCount(); ++i) {
    if (i == chosen || !keep(search.CandidateMove(i))) continue;
    if (best == search.CandidateCount() || search.MeanPoints(i) > search.MeanPoints(best)) best = i;
  }
  return best;
}

// Whether no other card the seat may throw helps the other player less.
bool LeastUseful(uint32_t card, const MasterBelief& belief) {
  const double use = UseForTheOther(card, belief);
  for (uint32_t other : belief.OwnCards())
    if (other != card && other != belief.UpcardTaken() && UseForTheOther(other, belief) < use - 1e-9) return false;
  return true;
}

}  // namespace

double UseForTheOther(uint32_t card, const MasterBelief& belief) {
  const uint64_t unseen = belief.Unseen();
  const uint32_t unseenCount = static_cast<uint32_t>(__builtin_popcountll(unseen));
  const uint32_t known = static_cast<uint32_t>(__builtin_popcountll(belief.OtherHeld()));
  const double share =
      unseenCount == 0 || belief.OtherCount() <= known ? 0.0 : double(belief.OtherCount() - known) / unseenCount;
  double use = 0.0;
  for (uint32_t partner = 0; partner < NUM_CARDS; ++partner) {
    if (!MasterBelief::Related(card, partner)) continue;
    if (belief.OtherHeld() >> partner & 1) use += 1.0;
    else if (unseen >> partner & 1) use += share * belief.Weight(partner);
  }
  return use;
}

std::string HintReason(const MasterSearch& search, const MasterBelief& belief, const SeatMove& chosen,
                       const NxDeck& deck) {
  const uint32_t worlds = search.Worlds();
  const size_t index = CandidateOf(search, chosen);
  if (worlds == 0 || index == search.CandidateCount()) return {};
  const uint32_t seat = belief.OwnSeat();
  // A knock that loses often is chosen for its points, and says so below.
  if (chosen.What == SeatMove::KNOCK && search.LossCount(index) == 0)
    return FillIn(ResourceString(REASON_KNOCK_NEVER_UNDERCUT), Count(worlds));
  if (chosen.What == SeatMove::KNOCK && search.LossCount(index) * 4 <= worlds)
    return FillIn(ResourceString(REASON_KNOCK_SAFE), Count(search.LossCount(index)), Count(worlds));
  if (chosen.What == SeatMove::DISCARD) {
    const size_t knock = BestOther(search, index, [](const SeatMove& m) { return m.What == SeatMove::KNOCK; });
    if (knock < search.CandidateCount() && search.LossCount(knock) > 0)
      return FillIn(ResourceString(REASON_PLAY_ON), Count(search.LossCount(knock)), Count(worlds));
    if (LeastUseful(deck.CardIndexAt(PileOf(seat), chosen.Position), belief)) return ResourceString(REASON_SAFE_DISCARD);
  }
  const size_t next = BestOther(search, index, [](const SeatMove&) { return true; });
  const double gain = next < search.CandidateCount() ? search.MeanPoints(index) - search.MeanPoints(next) : 0.0;
  if (gain < 0.05) return ResourceString(REASON_NONE_BETTER);
  return FillIn(ResourceString(REASON_GAIN), DecimalText(gain, 1), MoveWords(search.CandidateMove(next), deck, seat));
}
