#pragma once

#include <string>
#include <vector>

#include "game/deck.h"

// "JH QH KH" -> card ids; aborts the test program on a bad name.
std::vector<unsigned> Cards(const std::string& names);

// A deck with the game table's geometry and no pictures, shuffled from a
// fixed seed and dealt like a traditional hand (10, 10, 31, 1).
std::unique_ptr<NxDeck> DealtTableDeck(int32_t seed);
