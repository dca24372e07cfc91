#pragma once

#include <cstdint>

// Every user-visible text of the game is a resource string with a numeric
// id. An unknown id yields an empty string.
const char* ResourceString(uint32_t id);
