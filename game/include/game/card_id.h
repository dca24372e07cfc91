#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Card identity: id = suit * 13 + rank index. Suits in the order hearts,
// diamonds, spades, clubs; rank index 0 is the ace, 12 the king.

constexpr uint32_t NoCard = 53;
constexpr uint32_t NUM_CARDS = 52;
constexpr uint32_t NUM_RANKS = 13;
constexpr uint32_t NUM_SUITS = 4;

enum CardSuit : uint32_t { HEARTS = 0, DIAMONDS = 1, SPADES = 2, CLUBS = 3 };

constexpr uint32_t SuitOf(uint32_t card) { return card / NUM_RANKS; }
constexpr uint32_t RankOf(uint32_t card) { return card % NUM_RANKS; }
constexpr uint32_t MakeCard(uint32_t suit, uint32_t rank) { return suit * NUM_RANKS + rank; }
constexpr bool IsCard(uint32_t card) { return card < NUM_CARDS; }

// Sets of cards as 64-bit masks, one bit per card id: the players and the
// meld searches test and combine hands this way.
constexpr uint64_t CardBit(uint32_t card) { return uint64_t{1} << card; }
constexpr uint64_t ALL_CARD_BITS = CardBit(NUM_CARDS) - 1;
// The four cards of one rank index.
constexpr uint64_t RankBits(uint32_t rank) {
  return CardBit(rank) | CardBit(rank + NUM_RANKS) | CardBit(rank + 2 * NUM_RANKS) | CardBit(rank + 3 * NUM_RANKS);
}

// Deadwood value by rank index: ace 1, two to ten face value, courts 10.
constexpr int32_t CardPoints[NUM_RANKS] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 10, 10, 10};

// Rank captions "A", "2" .. "10", "J", "Q", "K".
const char* RankCaption(uint32_t rank);

// Short name such as "10D" or "AH".
std::string CardName(uint32_t card);

// Accepts a card id 0..51 or a short name (rank caption followed by H, D,
// S or C, either case).
std::optional<uint32_t> ParseCard(std::string_view text);
