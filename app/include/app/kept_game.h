#pragma once

#include <string>

#include "store/game_settings.h"
#include "store/table_parts.h"

// The saved game a start, or a switch to its configuration, finds.
struct KeptGameOffer {
  bool Attempted = false;  // the saved game was read (Resumed tells with what outcome)
  bool Resumed = false;    // the saved game is on the table
  bool Declined = false;   // the person chose a new game: the saved game stays offered until they move
};

// A game that a failed save set aside (the resume file's name plus
// SET_ASIDE_SUFFIX) becomes the saved game again, when no other saved game
// can be resumed and it would read back. The note that tells the person
// what happened, or empty when nothing was put back.
std::string RestoreSetAsideGame(GameSettings& settings, const std::string& resumePath);

// Resumes the configuration's saved game when there is one: at once when
// the player always resumes, otherwise when the person says so; a game
// that a failed save had set aside is put back first, with a word. The
// question tells what a no means: a new game, with the saved game still
// offered by Resume Game until the person moves or closes.
KeptGameOffer OfferKeptGame(GameSettings& settings, TableParts& table, const std::string& resumePath,
                            bool playStarted);
