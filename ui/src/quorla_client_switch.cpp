// The game table window: switching to another player configuration.
#include "ui/quorla_client.h"

#include "game/table_geometry.h"

SwitchOutcome QuorlaClient::SwitchConfiguration(PlayerConfigs& configs, const std::string& chosen,
                                                bool saveFirst) {
  if (chosen == configs.NameInUse()) return {};
  // A card in flight goes home before the game is saved or replaced.
  Objects.Flow.CloseScoreSheet();
  if (Objects.Deck.HeldCard()) Objects.Deck.ReturnHeldCard();
  Objects.State.Dragging = false;
  TableParts parts = Parts();
  const SwitchOutcome outcome = ::SwitchConfiguration(configs, chosen, Settings, parts, Objects.Flow, saveFirst);
  ReportUnsaved(outcome.Saved);
  if (!outcome.Switched) return outcome;
  ConfigDirectory = configs.DirectoryOf(configs.NameInUse());
  // The new configuration's saved game is offered on its own terms.
  Resumable = ResumeAvailability();
  Resumable.CheckSettings(*Settings.Store, Objects.Flow.HumanMoves());
  if (outcome.ResumeAttempted) Resumable.NoteAttempt();
  // The new configuration may draw its cards from another face deck.
  if (FaceDeckChanged()) {
    UseChosenFaceDeck();
    ApplyScale();
  } else
    LoadBackdropPicture();
  if (outcome.Resumed)
    PresentRestoredGame();
  else if (Objects.Deck.IsLaidOut())
    ThePicture.PaintArea(TABLE_AREA);
  AfterInput();
  return outcome;
}
