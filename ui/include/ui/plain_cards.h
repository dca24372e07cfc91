#pragma once

#include <cstdint>

#include <QImage>

// Card pictures drawn by the game itself, for when no card decks are
// installed: the rank and suit sign on white, and ten patterned backs.
// Both are scale times the card size, Format_RGB32.
QImage PlainFace(uint32_t cardId, double scale);
QImage PatternedBack(uint32_t backIndex, double scale);
