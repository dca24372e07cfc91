// The game table's objects and their life: start, close, resume, switch.
#include "ui/table_owner.h"

#include "app/dialog_texts.h"
#include "app/table_start.h"
#include "game/presentation.h"
#include "game/table_commands.h"
#include "store/resume_file.h"

TableOwner::TableOwner(GameSettings& settings, std::string configDirectory, std::string installDirectory,
                       Presentation& view)
    : TheSettings(settings),
      ConfigFolder(std::move(configDirectory)),
      InstallFolder(std::move(installDirectory)),
      View(view),
      Objects(view, ReadTableChoices(*settings.Store).Rules.GameTarget),
      TheSheet(Objects.Record, ReadTableChoices(*settings.Store).Rules.Variation),
      Keeper(Objects.Flow, view, settings.Prefs) {
  Keeper.OpenIn(ConfigFolder);
}

std::string TableOwner::ResumePath() const { return ConfigFolder + RESUME_FILE; }

TableParts TableOwner::Parts() { return {Objects.Flow, Objects.Deck, *Objects.Computer, TheSheet, View}; }

void TableOwner::SeatComputer() {
  Objects.Flow.StopWatching();
  // Without networks the table still reads its rule choices and statistics
  // (and deals nothing): the close that follows saves them as they were.
  Objects.SeatComputer(TheSettings.Prefs.DifficultyLevel);
}

void TableOwner::StartGame() {
  TableParts parts = Parts();
  const StartOutcome started = StartTable(TheSettings, parts, Objects.Flow, ResumePath());
  // After the start: it may have put back a game that a failed save set aside.
  Resumable.CheckSettings(*TheSettings.Store, Objects.Flow.HumanMoves());
  if (started.Resumed || started.ResumeFailed) Resumable.NoteAttempt();
  Introduction = started.ShowIntroduction;
}

void TableOwner::SaveOnClose() {
  if (!TheSettings.Store) return;
  if (Objects.Deck.HeldCard()) Objects.Deck.ReturnHeldCard();
  TableParts parts = Parts();
  ReportUnsaved(CloseTable(TheSettings, parts, ResumePath()).Saved);
}

void TableOwner::ReportUnsaved(const SaveReport& report) {
  if (!report.Complete()) View.MessageText(NotSavedCaption(), UnsavedFilesMessage(report), ICON_EXCLAMATION);
}

bool TableOwner::ResumeSavedGame() {
  Resumable.NoteAttempt();
  TableParts parts = Parts();
  return ResumeGameOnCommand(parts, Objects.Flow, ResumePath());
}

SwitchOutcome TableOwner::SwitchConfiguration(PlayerConfigs& configs, const std::string& chosen, bool saveFirst) {
  if (chosen == configs.NameInUse()) return {};
  // A card in flight goes home before the game is saved or replaced.
  Objects.Flow.CloseScoreSheet();
  if (Objects.Deck.HeldCard()) Objects.Deck.ReturnHeldCard();
  Objects.Flow.EndDrag();
  TableParts parts = Parts();
  const SwitchOutcome outcome = ::SwitchConfiguration(configs, chosen, TheSettings, parts, Objects.Flow, saveFirst);
  ReportUnsaved(outcome.Saved);
  if (!outcome.Switched) return outcome;
  ConfigFolder = configs.DirectoryOf(configs.NameInUse());
  Keeper.OpenIn(ConfigFolder);
  // The new configuration's saved game is offered on its own terms.
  Resumable = ResumeAvailability();
  Resumable.CheckSettings(*TheSettings.Store, Objects.Flow.HumanMoves());
  if (outcome.ResumeAttempted) Resumable.NoteAttempt();
  return outcome;
}

bool TableOwner::IsCommandEnabled(uint32_t command) const {
  const GameState& s = Objects.State();
  return ::IsCommandEnabled(command, {s, true, s.ScoreSheetShown, Objects.Record.GameOver,
                                      TheSettings.Prefs.DisableScenery,
                                      Resumable.IsOffered(Objects.Flow.HumanMoves())});
}
