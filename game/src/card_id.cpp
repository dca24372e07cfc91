#include "game/card_id.h"

#include <cctype>

namespace {
constexpr const char* RANK_CAPTIONS[NUM_RANKS] = {"A", "2", "3", "4", "5", "6", "7",
                                                  "8", "9", "10", "J", "Q", "K"};
constexpr char SUIT_LETTERS[NUM_SUITS + 1] = "HDSC";

std::optional<uint32_t> ParseNumber(std::string_view text) {
  if (text.empty() || text.size() > 2) return std::nullopt;
  uint32_t value = 0;
  for (char c : text) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return std::nullopt;
    value = value * 10 + static_cast<uint32_t>(c - '0');
  }
  return value;
}

std::optional<uint32_t> ParseRank(std::string_view text) {
  for (uint32_t rank = 0; rank < NUM_RANKS; ++rank) {
    std::string_view caption = RANK_CAPTIONS[rank];
    if (caption.size() != text.size()) continue;
    bool same = true;
    for (size_t i = 0; i < text.size(); ++i)
      same = same && std::toupper(static_cast<unsigned char>(text[i])) == caption[i];
    if (same) return rank;
  }
  return std::nullopt;
}

std::optional<uint32_t> ParseSuit(char letter) {
  char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
  for (uint32_t suit = 0; suit < NUM_SUITS; ++suit)
    if (SUIT_LETTERS[suit] == upper) return suit;
  return std::nullopt;
}
}  // namespace

const char* RankCaption(uint32_t rank) { return rank < NUM_RANKS ? RANK_CAPTIONS[rank] : "?"; }

std::string CardName(uint32_t card) {
  if (!IsCard(card)) return "--";
  return std::string(RANK_CAPTIONS[RankOf(card)]) + SUIT_LETTERS[SuitOf(card)];
}

std::optional<uint32_t> ParseCard(std::string_view text) {
  if (auto number = ParseNumber(text)) {
    if (IsCard(*number)) return number;
    return std::nullopt;
  }
  if (text.size() < 2) return std::nullopt;
  auto rank = ParseRank(text.substr(0, text.size() - 1));
  auto suit = ParseSuit(text.back());
  if (!rank || !suit) return std::nullopt;
  return MakeCard(*suit, *rank);
}
