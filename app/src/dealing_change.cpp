#include "app/dealing_change.h"

#include "app/config_switch.h"

DealingChoices CurrentDealingChoices(const Preferences& preferences) {
  return {preferences.DealType, preferences.HandSorting, preferences.SortDirection};
}

namespace {

// Oklahoma never deals eleven cards, so there a new dealing method waits for
// the next deal.
bool DealingRestartsGame(const DealingChoices& chosen, const Preferences& preferences, const GameState& state) {
  const bool dealChanged = (chosen.DealType != 0) != (preferences.DealType != 0);
  return dealChanged && state.Variation != OKLAHOMA_GIN;
}

}  // namespace

bool DealingAbandonsGame(const DealingChoices& chosen, const Preferences& preferences, const GameState& state,
                         const ScoreRecord& record) {
  return DealingRestartsGame(chosen, preferences, state) && !record.GameOver;
}

WindowUpdate ApplyDealing(const DealingChoices& chosen, Preferences& preferences, TableParts& table, GameFlow& flow) {
  WindowUpdate update;
  const bool restart = DealingRestartsGame(chosen, preferences, table.State());
  preferences.DealType = chosen.DealType != 0 ? 1 : 0;
  preferences.HandSorting = chosen.HandSorting <= 2 ? chosen.HandSorting : 2;
  preferences.SortDirection = chosen.SortDirection != 0 ? 1 : 0;
  ApplyPreferences(preferences, flow.Settings);
  if (restart) update.NewGameStarted = flow.NewGame(false, true);
  if (flow.SortAgain(flow.Settings.SortAfterDeal)) update.Redraw = true;
  if (update.NewGameStarted) update.Redraw = true;
  return update;
}
