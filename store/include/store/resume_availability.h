#pragma once

#include <cstdint>

class SettingsStore;

// Whether the Resume Game command is offered: while the saved game found at
// start-up is there (written, and in the current format) and the person has
// not yet made a move in the game that replaces it, and never again after
// one attempt to resume, whatever its outcome.
class ResumeAvailability {
 public:
  // `humanMoves`: the table's count of the person's moves at this moment.
  void CheckSettings(SettingsStore& store, uint64_t humanMoves);
  bool IsOffered(uint64_t humanMoves) const { return Resumable && !Attempted && humanMoves == MovesAtCheck; }
  void NoteAttempt() { Attempted = true; }

 private:
  bool Resumable = false;
  bool Attempted = false;
  uint64_t MovesAtCheck = 0;
};
