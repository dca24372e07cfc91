#include "app/config_switch.h"

#include "app/game_save.h"
#include "app/kept_game.h"
#include "store/resume_file.h"
#include "store/setting_keys.h"
#include "game/text_ids.h"

void ApplyPreferences(const Preferences& preferences, FlowSettings& settings) {
  settings.ElevenTenDeal = preferences.DealType != 0;
  settings.SortAfterDeal = preferences.HandSorting == 2   ? HandSort::BY_SUIT
                          : preferences.HandSorting == 1 ? HandSort::BY_VALUE
                                                         : HandSort::NONE;
  settings.SortDirectionAfterDeal =
      preferences.SortDirection != 0 ? SortDirection::DESCENDING : SortDirection::ASCENDING;
  settings.DifferentCardbackEachGame = preferences.RandomDeck;
}

void ApplyTableChoices(const TableChoices& choices, TableParts& table) {
  table.Flow.SetVariation(choices.Rules.Variation);
  table.Flow.SetAceRequiresGin(choices.Rules.AceRequiresGin);
  table.Flow.SetGameTarget(choices.Rules.GameTarget);
  table.Flow.SetCardBack(choices.DeckId);
  table.Deck.SetCardBack(choices.DeckId);
  table.Sheet.SetVariation(choices.Rules.Variation);
  table.Sheet.SetTarget(choices.Rules.GameTarget);
  // Oklahoma chooses at each deal.
  if (choices.Rules.Variation != OKLAHOMA_GIN)
    table.Computer.SelectNet(choices.Rules.Variation == SIMPLE_GIN ? LOW_NET : HIGH_NET);
}

namespace {

void RefuseInUseElsewhere(const PlayerConfigs& configs, const std::string& chosen, TableParts& table) {
  table.View.MessageText(CONFIG_IN_USE_CAPTION, configs.InUseMessage(chosen, CONFIG_IN_USE_NOT_SWITCHED),
                         ICON_EXCLAMATION);
}

}  // namespace

SwitchOutcome SwitchConfiguration(PlayerConfigs& configs, const std::string& chosen, GameSettings& settings,
                                  TableParts& table, GameFlow& flow, bool saveFirst) {
  SwitchOutcome outcome;
  if (chosen == configs.NameInUse()) return outcome;
  // Another running copy plays there: its files are not this copy's to write.
  if (configs.InUseElsewhere(chosen)) {
    RefuseInUseElsewhere(configs, chosen, table);
    return outcome;
  }
  table.View.SetBusy(true);
  if (saveFirst && settings.Store) {
    {
      SettingsStore::Batch oneWrite(*settings.Store);
      outcome.Saved = SaveGameState(table, *settings.Store, settings.Prefs, configs.ResumePath(), true);
    }
    NoteSettingsWrite(*settings.Store, outcome.Saved);
  }
  const Preferences before = settings.Prefs;
  configs.Select(chosen);
  if (!configs.MakeCurrent()) {
    // Claimed by another copy since the check above.
    table.View.SetBusy(false);
    RefuseInUseElsewhere(configs, chosen, table);
    return outcome;
  }
  const std::string damage = settings.Open(configs.SettingsPath());
  if (!damage.empty()) table.View.MessageText(SETTINGS_WARNING_CAPTION, damage, ICON_EXCLAMATION);
  table.Sheet.Stats.Load(*settings.Store);
  ApplyPreferences(settings.Prefs, flow.Settings);
  // The player's own networks come first: the default file is needed only
  // when they cannot be read.
  table.Computer.ReloadForConfiguration(settings.Prefs.DifficultyLevel);
  table.Computer.PlayAsMaster(settings.Prefs.Master);
  WriteSetting(*settings.Store, keys::FirstPlay, 0);
  outcome.ToolbarChanged = !before.SameToolbar(settings.Prefs);
  const KeptGameOffer offer = OfferKeptGame(settings, table, configs.ResumePath(), true);
  outcome.Resumed = offer.Resumed;
  outcome.ResumeAttempted = offer.Attempted;
  // The other player's hand is on the table now: the moves told were of
  // the hand that left.
  if (outcome.Resumed) flow.ForgetMoves();
  if (!outcome.Resumed) {
    ApplyTableChoices(ReadTableChoices(*settings.Store), table);
    flow.NewGame(false, true);
  }
  outcome.Switched = true;
  table.View.SetBusy(false);
  return outcome;
}
