#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Parses one line of card ids (0..51) or card names (10D, AH, ...) separated
// by spaces. On failure the message says what is wrong with the line.
struct ParsedHand {
  std::vector<uint32_t> Cards;
  std::string Error;
  bool Ok() const { return Error.empty(); }
};

ParsedHand ParseHandLine(std::string_view line);
bool IsBlank(std::string_view line);
