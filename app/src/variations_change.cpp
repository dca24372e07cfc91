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

namespace {

// The dialog's choices measured against the table; a variation or target the
// dialog cannot offer counts as the one in force.
struct RuleChange {
  uint32_t Variation;
  uint32_t Target;
  bool VariationChanged;
  bool TargetChanged;
  bool AceRuleChanged;
  bool RestartsGame() const { return VariationChanged || TargetChanged || AceRuleChanged; }
};

RuleChange Compare(const RuleChoices& chosen, const GameState& state) {
  RuleChange change;
  change.Variation = chosen.Variation <= OKLAHOMA_GIN ? chosen.Variation : state.Variation;
  change.Target = IsValidGameTarget(chosen.GameTarget) ? chosen.GameTarget : state.GameTarget;
  change.VariationChanged = change.Variation != state.Variation;
  change.TargetChanged = change.Target != state.GameTarget;
  change.AceRuleChanged = chosen.AceRequiresGin != state.AceRequiresGin;
  return change;
}

}  // namespace

bool VariationsAbandonGame(const RuleChoices& chosen, const GameState& state, const ScoreRecord& record) {
  return Compare(chosen, state).RestartsGame() && !record.GameOver;
}

WindowUpdate ApplyVariations(const RuleChoices& chosen, TableParts& table, GameFlow& flow) {
  WindowUpdate update;
  const RuleChange change = Compare(chosen, table.State());
  const uint32_t variation = change.Variation;
  const uint32_t target = change.Target;
  if (change.VariationChanged) {
    flow.SetVariation(variation);
    if (variation != OKLAHOMA_GIN) table.Computer.SelectNet(variation == SIMPLE_GIN ? LOW_NET : HIGH_NET);
    table.Sheet.SetVariation(variation);
    update.RebuildTitle = true;
  }
  if (change.TargetChanged) {
    flow.SetGameTarget(target);
    table.Sheet.SetTarget(target);
  }
  flow.SetAceRequiresGin(chosen.AceRequiresGin);
  if (change.RestartsGame()) {
    // A command abandons the computer's move in progress.
    update.NewGameStarted = flow.NewGame(false, true);
    update.Redraw = true;
  }
  return update;
}
