#pragma once

class GameFlow;

// A plain human for headless play: takes the upcard when it lowers the
// deadwood clearly, passes while the offer allows it, knocks as soon as it
// can, otherwise throws the card that leaves the least deadwood. False when
// it is not the human's turn.
bool PlayScriptedHumanMove(GameFlow& flow);
