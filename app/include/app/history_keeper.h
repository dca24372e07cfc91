#pragma once

#include <cstdint>
#include <string>

#include "game/game_flow.h"
#include "game/user_messages.h"
#include "store/play_history.h"
#include "store/preferences.h"

// Keeps the history of play of the configuration in use: every hand the
// flow reports at its end goes into the configuration's history at the
// level being played. A history that cannot be opened or written is told
// once, when the first hand it misses ends, and then left alone until the
// next configuration or start: play never waits for it.
class HistoryKeeper {
 public:
  HistoryKeeper(GameFlow& flow, UserMessages& messages, const Preferences& prefs);
  ~HistoryKeeper();
  HistoryKeeper(const HistoryKeeper&) = delete;
  HistoryKeeper& operator=(const HistoryKeeper&) = delete;

  // With a trailing '/'.
  void OpenIn(const std::string& configDirectory);
  PlayHistory& History() { return TheHistory; }

  // 0..3 the shown levels, 4 Master.
  static uint32_t LevelOf(const Preferences& prefs);

 private:
  void Keep(const PlayedHand& hand);

  GameFlow& Flow;
  UserMessages& Messages;
  const Preferences& Prefs;
  PlayHistory TheHistory;
  bool Told = false;
};
