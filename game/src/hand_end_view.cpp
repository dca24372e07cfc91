#include "game/hand_end_view.h"

#include "game/card.h"
#include "game/deadwood.h"
#include "game/hand_figures.h"

std::optional<HandEndView> HandEndOnTable(const NxDeck& deck, const GameState& s) {
  if (!deck.IsLaidOut() || !s.HandOver) return std::nullopt;
  // Announced, or being announced: the computer's hand is laid open first.
  const bool announcing = s.Play == HandEnded && deck.CardsInPile(COMPUTER_PILE) > 0 &&
                          deck.Pile(COMPUTER_PILE).Cards[0]->IsFaceUp();
  if (s.Play != Learning && !announcing) return std::nullopt;
  HandEndView view;
  int32_t deadwood[2];
  if (s.StockExhausted) {
    for (uint32_t seat : {HUMAN_SEAT, COMPUTER_SEAT}) deadwood[seat] = LeastDeadwood(deck.PileMask(PileOf(seat)));
    view.Line = TieLine(deadwood[HUMAN_SEAT], deadwood[COMPUTER_SEAT]);
    view.Marks = HandEndMarks(deck, LaidOffList{});
  } else {
    const HandFigures figures = FiguresOfHand(deck, s);
    deadwood[HUMAN_SEAT] = figures.HumanDeadwood;
    deadwood[COMPUTER_SEAT] = figures.ComputerDeadwood;
    const LaidOffList none;
    const LaidOffList& laidOff = s.Gin ? none : s.LaidOff;
    view.Line = HandEndLine(figures, laidOff);
    view.Marks = HandEndMarks(deck, laidOff);
  }
  for (uint32_t seat : {HUMAN_SEAT, COMPUTER_SEAT}) view.Deadwood[seat] = HandDeadwoodText(deadwood[seat]);
  return view;
}
