#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "game/deck.h"
#include "game/game_flow.h"
#include "game/game_state.h"
#include "game/headless_presentation.h"
#include "game/score_record.h"
#include "player/computer_play.h"

class NxObjectReader;

// Reads the resume layout into the given objects, in file order. Each part
// checks its own values; nothing is compared across parts here.
bool ReadResumeLayout(NxObjectReader& in, GameFlow& flow, NxDeck& deck, ComputerPlay& computer, ScoreRecord& record);

// What must hold between the parts of a restored game: every card in
// exactly one of the four piles, hand sizes that fit the play state, a
// knock limit the rules can produce. Empty when it holds.
std::string CheckRestoredTable(const GameState& state, const NxDeck& deck);

// A resume file read into objects of its own, away from any real table,
// so that a file can be checked completely before a table is touched, and
// looked at.
class ResumeImage {
 public:
  ResumeImage();
  ~ResumeImage();

  // Empty when the bytes hold a complete, consistent game; otherwise the
  // first problem found.
  std::string Parse(const std::vector<uint8_t>& bytes);

  const GameState& SavedState() const { return Game; }
  const NxDeck& SavedDeck() const { return Cards; }
  const ComputerPlay& Computer() const { return Player; }
  const ScoreRecord& Record() const { return Sheet; }

 private:
  GameState Game;
  NxDeck Cards;
  HeadlessPresentation Silent;
  ScoreRecord Sheet;
  GameFlow Flow;
  ComputerPlay Player;
};
