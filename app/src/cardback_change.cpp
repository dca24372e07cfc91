#include "app/cardback_change.h"

#include "game/card_picture_ids.h"

CardbackChoices CurrentCardbackChoices(const GameState& state, const Preferences& preferences) {
  return {state.CardBackId, preferences.RandomDeck};
}

WindowUpdate ApplyCardback(const CardbackChoices& chosen, Preferences& preferences, TableParts& table,
                           FlowSettings& settings) {
  WindowUpdate update;
  const bool known = chosen.DeckId >= FIRST_CARD_BACK_ID && chosen.DeckId <= LAST_CARD_BACK_ID;
  if (known && chosen.DeckId != table.State().CardBackId) {
    table.Flow.SetCardBack(chosen.DeckId);
    table.Deck.SetCardBack(chosen.DeckId);
    update.Redraw = true;
  }
  preferences.RandomDeck = chosen.RandomDeck;
  settings.DifferentCardbackEachGame = chosen.RandomDeck;
  return update;
}
