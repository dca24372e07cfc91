#pragma once

#include <cstdint>
#include <vector>

// A share of games won with its 95% interval (Wilson's score interval, which
// stays inside 0..1 and is honest for small slices and rates near 0 or 1).
struct WinShare {
  uint64_t Won = 0;
  uint64_t Games = 0;
  double Rate = 0, Low = 0, High = 0;
};

WinShare ShareOfGamesWon(uint64_t won, uint64_t games);

// The win rate of one seat over consecutive slices of a match, so that a
// learning player's change shows as it plays.
class WinCurve {
 public:
  struct Slice {
    uint64_t FirstGame = 0;  // counted from 1
    WinShare Share;
  };

  explicit WinCurve(uint64_t gamesPerSlice) : PerSlice(gamesPerSlice ? gamesPerSlice : 1) {}

  // Counts one game; true when it completed a slice (then Slices().back()).
  bool Add(bool won);
  // Closes a last slice shorter than the others, if the match ended inside
  // one; true when there was one.
  bool Finish();

  uint64_t GamesPerSlice() const { return PerSlice; }
  const std::vector<Slice>& Slices() const { return Done; }

 private:
  void CloseSlice();

  uint64_t PerSlice;
  uint64_t Games = 0;
  uint64_t Won = 0;
  uint64_t SliceGames = 0;
  std::vector<Slice> Done;
};
