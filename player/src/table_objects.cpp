#include "player/table_objects.h"

TableObjects::TableObjects(Presentation& view, uint32_t target)
    : Deck(TABLE_PILE_COUNT, FIRST_CARD_BACK_ID, TABLE_AREA, CARD_SIZE),
      Record(target),
      Flow(TheState, Deck, Record, view) {
  Flow.SetGameTarget(target);
}

TableObjects::~TableObjects() { Flow.SetOpponent(nullptr); }

bool TableObjects::SeatComputer(uint32_t level) {
  Flow.SetOpponent(nullptr);
  Computer = std::make_unique<ComputerPlay>(Flow, level);
  Computer->Init();
  Flow.SetOpponent(Computer.get());
  return !TheState.DoNotSave && !TheState.ClosingRequested;
}

void TableObjects::Seed(int32_t seed) {
  Flow.SeedOwnRandom(seed % NxRandomGenerator::MODULUS);
  Deck.Random().Seed = seed % NxRandomGenerator::MODULUS;
  Deck.Random().InitTable();
}
