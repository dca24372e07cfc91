#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "game/played_hand.h"

struct sqlite3;

// A hand as the history holds it.
struct RecordedHand {
  std::string Played;  // local time, "YYYY-MM-DD HH:MM:SS"
  uint32_t Level = 0;  // 0..3 the shown levels, 4 Master
  PlayedHand Hand;
};

// A finished game as the history holds it.
struct RecordedGame {
  uint32_t Level = 0;
  uint32_t Variation = 0;
  bool Watched = false;
  uint32_t Winner = PlayedHand::NOBODY;  // NOBODY for a tie
};

// The history of play of one configuration: every hand and every game
// played to its end, in an SQLite database (write-ahead log, one
// transaction per hand) in the configuration's directory. It only ever adds
// to what the game keeps elsewhere: the statistics, the score sheet and the
// saved game never depend on it, so a history that cannot be read or
// written costs its own records and nothing else.
class PlayHistory {
 public:
  static constexpr const char* FILE_NAME = "HISTORY.DB";
  // The layout this program writes; a newer one is read but never written.
  static constexpr int LAYOUT_VERSION = 1;

  PlayHistory() = default;
  ~PlayHistory();
  PlayHistory(const PlayHistory&) = delete;
  PlayHistory& operator=(const PlayHistory&) = delete;

  // Opens the database, creating it when missing. False, with the reason in
  // Problem(), when it cannot be used; recording then does nothing.
  bool Open(const std::string& path);
  void Close();
  bool IsOpen() const { return Db != nullptr; }

  // Adds the hand and, when it ends the game, the game, in one transaction:
  // after a crash the history holds the hand or nothing of it.
  bool Record(const PlayedHand& hand, uint32_t level);

  // What went wrong last, as one line ("" when nothing did).
  const std::string& Problem() const { return LastProblem; }

  // Every hand recorded, oldest first; nothing when the history cannot be read.
  std::vector<RecordedHand> Hands();
  std::vector<RecordedGame> Games();

 private:
  bool Fail(const std::string& what);
  bool Execute(const char* sql);
  bool CreateLayout();
  bool InsertHand(const PlayedHand& hand, uint32_t level);
  bool InsertGame(const PlayedHand& hand, uint32_t level);

  sqlite3* Db = nullptr;
  bool Writable = false;
  std::string LastProblem;
};
