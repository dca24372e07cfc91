#include "app/variations_change.h"

#include "player/computer_play.h"
#include "store/score_sheet.h"

RuleChoices CurrentRuleChoices(const GameState& state) {
  RuleChoices choices;
  choices.Variation = state.Variation;
  choices.AceRequiresGin = state.AceRequiresGin;
  choices.GameTarget = state.GameTarget;
  return choices;
}

WindowUpdate ApplyVariations(const RuleChoices& chosen, TableParts& table, GameFlow& flow) {
  WindowUpdate update;
  GameState& state = table.State;
  const uint32_t variation = chosen.Variation <= OKLAHOMA_GIN ? chosen.Variation : state.Variation;
  const uint32_t target = IsValidGameTarget(chosen.GameTarget) ? chosen.GameTarget : state.GameTarget;
  const bool variationChanged = variation != state.Variation;
  const bool targetChanged = target != state.GameTarget;
  const bool aceRuleChanged = chosen.AceRequiresGin != state.AceRequiresGin;
  if (variationChanged) {
    state.Variation = variation;
    if (variation != OKLAHOMA_GIN) table.Computer.SelectNet(variation == SIMPLE_GIN ? LOW_NET : HIGH_NET);
    table.Sheet.SetVariation(variation);
    update.RebuildTitle = true;
  }
  if (targetChanged) {
    state.GameTarget = target;
    table.Sheet.SetTarget(target);
  }
  state.AceRequiresGin = chosen.AceRequiresGin;
  if (variationChanged || targetChanged || aceRuleChanged) {
    // A command abandons the computer's move in progress.
    update.NewGameStarted = flow.NewGame(false, true);
    update.Redraw = true;
  }
  return update;
}
