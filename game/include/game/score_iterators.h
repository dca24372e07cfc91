#pragma once

#include <cstddef>
#include <cstdint>

#include "game/hand_score.h"
#include "game/match.h"

// The read interface of melds and scores. Next() after the end yields
// ITERATOR_END.
constexpr unsigned ITERATOR_END = 0xFFFFFFFF;

// The cards of one meld (runs in ascending order).
class NxMatchIterator {
 public:
  explicit NxMatchIterator(const NxMatch& match) : Match(match) {}
  bool HasMore() const { return Position < Match.NumCards; }
  unsigned Next() { return HasMore() ? NxMatch::CardAt(Match, Position++) : ITERATOR_END; }

 private:
  const NxMatch& Match;
  unsigned Position = 0;
};

// The melds of the best arrangement, in order.
class NxScoreMatchIterator {
 public:
  explicit NxScoreMatchIterator(const NxHandScore& score) : Case(score.BestCase()) {}
  bool HasMore() const { return Case && Position < Case->Melds.size(); }
  const NxMatch* Next() { return HasMore() ? &Case->Melds[Position++] : nullptr; }

 private:
  const NxArrangement* Case;
  size_t Position = 0;
};

// The deadwood cards of the best arrangement.
class NxScoreUnmatchedIterator {
 public:
  explicit NxScoreUnmatchedIterator(const NxHandScore& score) : Case(score.BestCase()) {}
  bool HasMore() const { return Case && Position < Case->Deadwood.size(); }
  unsigned Next() { return HasMore() ? Case->Deadwood[Position++] : ITERATOR_END; }

 private:
  const NxArrangement* Case;
  size_t Position = 0;
};
