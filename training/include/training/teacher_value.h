#pragma once

#include <cstdint>

// A hand-made judgement of a position, read off its position vector the way
// the networks see it, for fitting the top level's networks. It prefers the
// least deadwood, gives credit for every live way to finish a half-built
// meld (a card that is neither held, nor discarded, nor known to be the
// opponent's) and for the deadwood the next draw is expected to save, and
// adds a bonus while the card drawn this turn came from the discard pile.
// Its scale is the outcome's: 0.004 per point.
struct TeacherWeights {
  double HalfMeldCredit = 0.5;  // points of deadwood per live way
  double TakePoints = 2.0;      // points while the draw came from the discard pile
  double DrawSavingCredit = 1.0;  // points per point of ExpectedDrawSaving
};

double TeacherValue(const double* view, const TeacherWeights& weights = {});

// Live ways to finish the half-built melds among `held`, given the cards
// that can no longer come (`gone`): for each pair of held cards of one rank,
// each missing card of that rank; for two neighbours of one suit, each end
// that would extend them; for two cards of one suit with a gap of one, the
// card between. Held melds count too; the least deadwood decides between
// them.
int32_t LiveHalfMeldWays(uint64_t held, uint64_t gone);

// The deadwood that drawing one more card is expected to save: the mean,
// over every card that may still come (neither in `held` nor in `gone`), of
// the points that card and then the best discard save. Only cards that
// connect with the hand count, a card of a held rank or within two ranks of
// a held card of its suit; any other card counts as saving nothing.
double ExpectedDrawSaving(uint64_t held, uint64_t gone);
