// quorla-lab places: where the table shows its cards, for the scripts that
// press on them as a person does. The places come from the game's own
// layout, so a script follows the table wherever the game puts a card.
#include <cstdio>

#include "game/card_picture_ids.h"
#include "game/deck.h"
#include "game/table_geometry.h"
#include "game/table_items.h"
#include "lab_command.h"
#include "options.h"

namespace {

const char* const PILE_NAMES[] = {"human", "computer", "stock", "discard"};

void PrintHelp() {
  std::printf(
      "usage: quorla-lab places [--cards N]\n"
      "\n"
      "Prints where the table shows the cards of both hands when each holds N\n"
      "cards (0..11, default 10), and where it shows the stock and the discard\n"
      "pile, in table pixels (the table at its own size is 576x384), as the game\n"
      "lays them out. One line a place:\n"
      "  PILE POSITION LEFT TOP RIGHT BOTTOM\n"
      "PILE is human, computer, stock or discard; POSITION counts a hand's cards\n"
      "from 0 at its left, and is 0 for the stock and the discard pile. The\n"
      "rectangle (right and bottom exclusive) is the part of the card that\n"
      "shows: a press inside it finds that card.\n");
}

void PrintPlace(uint32_t pile, uint32_t position, const TRect& r) {
  std::printf("%s %u %d %d %d %d\n", PILE_NAMES[pile], position, r.left, r.top, r.right, r.bottom);
}

int Run(const std::vector<std::string_view>& args) {
  uint32_t cards = CENTRED_COUNT;
  CommandOptions options("places", PrintHelp);
  options.Whole("--cards", 0, 11, cards);
  if (auto status = options.Parse(args)) return *status;
  NxDeck deck(TABLE_PILE_COUNT, FIRST_CARD_BACK_ID, TABLE_AREA, CARD_SIZE);
  deck.Shuffle();
  // The stock takes what the hands and the upcard leave, so no card is dealt twice.
  const uint32_t counts[TABLE_PILE_COUNT] = {cards, cards, NUM_CARDS - 2 * cards - 1, 1};
  for (uint32_t pile = 0; pile < TABLE_PILE_COUNT; ++pile) {
    const PileLayout& at = TABLE_PILES[pile];
    deck.Deal(pile, counts[pile], at.Position, at.Offset, at.BaseLayer, true);
  }
  for (uint32_t pile : {HUMAN_PILE, COMPUTER_PILE})
    for (uint32_t i = 0; i < cards; ++i) PrintPlace(pile, i, ShownPart(deck.Pile(pile), i));
  for (uint32_t pile : {STOCK_PILE, DISCARD_PILE}) PrintPlace(pile, 0, deck.Pile(pile).Bounds);
  return 0;
}

}  // namespace

const LabCommand& PlacesCommand() {
  static const LabCommand command{"places", "where the table shows the hands' cards and the piles", Run, PrintHelp};
  return command;
}
