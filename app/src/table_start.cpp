#include "app/table_start.h"

#include "app/game_save.h"
#include "app/kept_game.h"
#include "player/data_paths.h"
#include "store/resume_file.h"
#include "store/setting_keys.h"

StartOutcome StartTable(GameSettings& settings, TableParts& table, GameFlow& flow, const std::string& resumePath) {
  StartOutcome outcome;
  SettingsStore& store = *settings.Store;
  ApplyPreferences(settings.Prefs, flow.Settings);
  ApplyTableChoices(ReadTableChoices(store), table);
  table.Computer.PlayAsMaster(settings.Prefs.Master);
  table.Sheet.Stats.Load(store);
  outcome.ShowIntroduction = ReadSetting(store, keys::FirstPlay) != 0;
  if (table.State().DoNotSave || table.State().ClosingRequested) {
    outcome.Close = true;
    return outcome;
  }
  const KeptGameOffer offer = OfferKeptGame(settings, table, resumePath, false);
  outcome.Resumed = offer.Resumed;
  outcome.ResumeFailed = offer.Attempted && !offer.Resumed;
  outcome.ResumeOffered = offer.Declined;
  // With a restored game pending, the flow's new game starts play with it.
  const bool started = flow.NewGame(false, false);
  outcome.NewGame = started && !outcome.Resumed;
  return outcome;
}

bool ResumeGameOnCommand(TableParts& table, GameFlow& flow, const std::string& resumePath) {
  flow.CloseScoreSheet();
  if (table.Deck.HeldCard()) table.Deck.ReturnHeldCard();
  flow.EndDrag();
  if (ReadResume(resumePath, table, true).Outcome == ResumeOutcome::RESTORED) {
    flow.ForgetMoves();
    return true;
  }
  flow.NewGame(false, true);
  return false;
}

CloseOutcome CloseTable(GameSettings& settings, TableParts& table, const std::string& resumePath) {
  CloseOutcome outcome;
  SettingsStore& store = *settings.Store;
  {
    SettingsStore::Batch oneWrite(store);
    outcome.Saved = SaveGameState(table, store, settings.Prefs, resumePath, false);
    table.Sheet.Stats.Save(store);
  }
  NoteSettingsWrite(store, outcome.Saved);
  if (!table.Computer.SaveNetsOnClose()) outcome.Saved.Unsaved.push_back(data_paths::PlayerDataPath());
  outcome.ResumeWritten = !table.State().DoNotSave && ReadSetting(store, keys::CanResume) != 0;
  return outcome;
}
