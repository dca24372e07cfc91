#pragma once

#include <cstdint>

// Pile numbers of the game table's deck.
enum PileNumber : uint32_t { HUMAN_PILE = 0, COMPUTER_PILE = 1, STOCK_PILE = 2, DISCARD_PILE = 3 };

// The two seats. Saved games, score records and every array kept per seat
// use these values, so they must never change.
enum SeatNumber : uint32_t { HUMAN_SEAT = 0, COMPUTER_SEAT = 1 };
constexpr uint32_t SEAT_COUNT = 2;

constexpr uint32_t OtherSeat(uint32_t seat) { return 1 - seat; }
// A seat's hand is the pile that carries the seat's number.
constexpr PileNumber PileOf(uint32_t seat) { return static_cast<PileNumber>(seat); }
