#include "hand_input.h"

#include <array>

#include "game/card_id.h"

namespace {
bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r'; }
}  // namespace

bool IsBlank(std::string_view line) {
  for (char c : line)
    if (!IsSpace(c)) return false;
  return true;
}

ParsedHand ParseHandLine(std::string_view line) {
  ParsedHand hand;
  std::array<bool, NUM_CARDS> seen{};
  size_t pos = 0;
  while (pos < line.size()) {
    while (pos < line.size() && IsSpace(line[pos])) ++pos;
    size_t end = pos;
    while (end < line.size() && !IsSpace(line[end])) ++end;
    if (end == pos) break;
    std::string_view word = line.substr(pos, end - pos);
    pos = end;
    auto card = ParseCard(word);
    if (!card) {
      hand.Error = "unknown card '" + std::string(word) + "'";
      return hand;
    }
    if (seen[*card]) {
      hand.Error = "duplicate card " + CardName(*card);
      return hand;
    }
    seen[*card] = true;
    hand.Cards.push_back(*card);
  }
  if (hand.Cards.size() != 10 && hand.Cards.size() != 11)
    hand.Error = "expected 10 or 11 cards, found " + std::to_string(hand.Cards.size());
  return hand;
}
