#pragma once

#include <cstdint>
#include <vector>

class NxDeck;

enum class SortDirection { ASCENDING, DESCENDING };

// The orders the two sorts give, as card ids; the comparison looks at rank
// only (ace lowest), equal ranks keep their current order.
std::vector<uint32_t> OrderByValue(std::vector<uint32_t> cards, SortDirection direction);
// Suit groups hearts, spades, diamonds, clubs (red and black alternating),
// each sorted by rank.
std::vector<uint32_t> OrderBySuit(const std::vector<uint32_t>& cards, SortDirection direction);

// The best arrangement's melds first, each in its own order, then the cards
// left unmatched by rising value: the order a player checks a knock in.
std::vector<uint32_t> OrderByMelds(const std::vector<uint32_t>& cards);

enum class HandSort { NONE, BY_VALUE, BY_SUIT };
void SortPile(NxDeck& deck, uint32_t pile, HandSort sort, SortDirection direction);
