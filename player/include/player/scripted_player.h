#pragma once

class ComputerPlay;
class GameFlow;

// A plain human for headless play: takes the upcard when it lowers the
// deadwood clearly, passes while the offer allows it, knocks as soon as it
// can, otherwise throws the card that leaves the least deadwood. False when
// it is not the human's turn.
bool PlayScriptedHumanMove(GameFlow& flow);

// One step of a headless game: the scripted human's move on its turn, one
// learning step while the computer learns (then the next hand, or a new
// game once this one is over), otherwise the flow's idle step.
void StepHeadlessGame(GameFlow& flow, ComputerPlay& computer);
