#pragma once

#include <cstdint>
#include <string>

// Every user-visible text of the game is a resource string with a numeric
// id. An unknown id yields an empty string.
const char* ResourceString(uint32_t id);

// `text` with %1 and %2 replaced.
std::string FillIn(std::string text, const std::string& first, const std::string& second = {});
