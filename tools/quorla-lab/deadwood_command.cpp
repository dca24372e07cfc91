// quorla-lab deadwood: the least deadwood of hands read from standard input.
#include <cstdio>
#include <iostream>
#include <string>

#include "game/card_id.h"
#include "game/hand_score.h"
#include "game/score_iterators.h"
#include "hand_input.h"
#include "lab_command.h"
#include "options.h"

namespace {
void PrintHelp() {
  std::printf(
      "usage: quorla-lab deadwood [--melds]\n"
      "\n"
      "Reads hands from standard input, one per line: 10 or 11 cards given as\n"
      "ids 0..51 or names (A, 2..10, J, Q, K followed by H, D, S or C, e.g. 10D),\n"
      "separated by spaces. Prints each hand's least deadwood on its own line.\n"
      "\n"
      "  --melds   also print the best arrangement: melds in brackets, then the\n"
      "            deadwood cards\n"
      "\n"
      "A malformed line is reported on stderr with its line number; the other\n"
      "lines are still scored and the exit status is then 1.\n");
}

std::string Arrangement(const NxHandScore& score) {
  std::string text;
  NxScoreMatchIterator melds(score);
  while (melds.HasMore()) {
    NxMatchIterator cards(*melds.Next());
    text += " [";
    bool first = true;
    while (cards.HasMore()) {
      if (!first) text += ' ';
      text += CardName(cards.Next());
      first = false;
    }
    text += ']';
  }
  NxScoreUnmatchedIterator deadwood(score);
  while (deadwood.HasMore()) text += ' ' + CardName(deadwood.Next());
  return text;
}

int Run(const std::vector<std::string_view>& args) {
  bool showMelds = false;
  CommandOptions options("deadwood", PrintHelp);
  options.Flag("--melds", showMelds);
  if (auto status = options.Parse(args)) return *status;
  int status = 0;
  std::string line;
  for (unsigned long lineNumber = 1; std::getline(std::cin, line); ++lineNumber) {
    if (IsBlank(line)) continue;
    ParsedHand hand = ParseHandLine(line);
    if (!hand.Ok()) {
      std::fprintf(stderr, "line %lu: %s\n", lineNumber, hand.Error.c_str());
      status = 1;
      continue;
    }
    NxHandScore score(hand.Cards.data(), static_cast<unsigned>(hand.Cards.size()));
    if (showMelds)
      std::printf("%d%s\n", score.BestDeadwood(), Arrangement(score).c_str());
    else
      std::printf("%d\n", score.BestDeadwood());
  }
  return status;
}
}  // namespace

const LabCommand& DeadwoodCommand() {
  static const LabCommand command{"deadwood", "least deadwood of hands read from standard input", Run, PrintHelp};
  return command;
}
