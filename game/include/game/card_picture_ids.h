#pragma once

#include <cstdint>

// Resource ids of the card pictures. The game stores the back it shows by
// its id; whoever draws the table loads the pictures by these ids.
constexpr uint32_t CARD_FACE_BASE_ID = 24400;  // + card id
constexpr uint32_t CARD_MASK_ID = 24453;
constexpr uint32_t FIRST_CARD_BACK_ID = 24456;
constexpr uint32_t LAST_CARD_BACK_ID = 24465;
