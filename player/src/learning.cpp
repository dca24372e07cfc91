#include "neural/net.h"
#include "player/computer_play.h"
#include "player/trial_watcher.h"

// Positions after the 32nd of a hand still reach the network but are not
// kept for the replays.
void ComputerPlay::RecordObservation() {
  if (Watcher) Watcher->Reached(ComputerView.data());
  EnsureObservationStore();
  if (ObservationCount >= MAX_OBSERVATIONS) return;
  ObservationStore[ObservationCount++] = ComputerView;
}

void ComputerPlay::WatchOutcome(double computerOutcome) {
  if (Watcher) Watcher->HandEnds(computerOutcome);
}

// Targets outside what the game produces are never trained on: one such
// training can throw the weights far from anything play would reach.
void ComputerPlay::HandOutcome(double computerOutcome) {
  if (!CurrentNet) return;
  if (IsLearningTarget(computerOutcome)) CurrentNet->TrainOnOutcomes(&computerOutcome);
  OwnPasses = 1;
  RotateSuits(true);
  ReplayPosition = 0;
}

// A hand with n recorded positions is learned as the live sequence, three
// replays of the recording with the suits rotated one step further each
// time (n + 1 steps each), and four single trainings on the human's final
// position in its four rotations: one step per idle pass.
bool ComputerPlay::LearnStep(PlayState state, double computerOutcome, double humanOutcome) {
  if (state != Learning || !CurrentNet) return false;
  if (OwnPasses < 4) {
    if (!IsLearningTarget(computerOutcome)) return false;
    if (ReplayPosition >= ObservationCount) {
      CurrentNet->TrainOnOutcomes(&computerOutcome);
      ++OwnPasses;
      if (OwnPasses < 4) RotateSuits(true);
      ReplayPosition = 0;
    } else {
      CurrentNet->GetOutput(ObservationStore[ReplayPosition].data(), true, false);
      ++ReplayPosition;
    }
    return true;
  }
  if (HumanPasses <= 3) {
    if (!IsLearningTarget(humanOutcome)) return false;
    CurrentNet->GetOutput(HumanView.data(), true, true);
    CurrentNet->TrainOnOutcomes(&humanOutcome);
    ++HumanPasses;
    if (HumanPasses < 4) RotateSuits(false);
    return true;
  }
  return false;
}

// Rebuilds the network's sequence state for a hand saved unfinished.
void ComputerPlay::ReplayObservations() {
  if (!CurrentNet || !ReplayPending) return;
  ReplayPending = false;
  if (OwnPasses != 0 || ObservationCount == 0 || !ObservationStore) return;
  CurrentNet->GetOutput(ObservationStore[0].data(), true, true);
  for (uint32_t i = 1; i < ObservationCount; ++i) CurrentNet->GetOutput(ObservationStore[i].data(), true, false);
}
