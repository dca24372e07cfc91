#include "game/score_case_pool.h"

#include <memory>
#include <vector>

namespace {
// Enough for the deepest search of a hand plus the knocker's melds; more
// cases than this are simply deleted.
constexpr size_t MAX_KEPT = 64;

std::vector<std::unique_ptr<NxScoreCase>>& FreeCases() {
  thread_local std::vector<std::unique_ptr<NxScoreCase>> cases;
  return cases;
}

NxScoreCase* Recycled() {
  auto& cases = FreeCases();
  if (cases.empty()) return nullptr;
  NxScoreCase* scoreCase = cases.back().release();
  cases.pop_back();
  return scoreCase;
}
}  // namespace

NxScoreCase* NxScoreCasePool::Take(const NxScoreCase& from) {
  NxScoreCase* scoreCase = Recycled();
  if (!scoreCase) return new NxScoreCase(from);
  *scoreCase = from;
  return scoreCase;
}

NxScoreCase* NxScoreCasePool::Take(const NxPtrArray<NxMatch>& matches, const NxArray<unsigned>& cards,
                                   unsigned count) {
  NxScoreCase* scoreCase = Recycled();
  if (!scoreCase) return new NxScoreCase(matches, cards, count);
  scoreCase->Reset(matches, cards, count);
  return scoreCase;
}

void NxScoreCasePool::Give(NxScoreCase* scoreCase) {
  if (!scoreCase) return;
  auto& cases = FreeCases();
  if (cases.size() >= MAX_KEPT) {
    delete scoreCase;
    return;
  }
  cases.emplace_back(scoreCase);
}
