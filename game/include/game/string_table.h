#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "game/message_catalogue.h"

// Every user-visible text of the game is a resource string with a numeric
// id. An unknown id yields an empty string.
const char* ResourceString(uint32_t id);

// The table's own English text, whatever language is in use.
const char* EnglishResourceString(uint32_t id);

// Every id of the table, in order.
std::vector<uint32_t> ResourceIds();

// Makes ResourceString answer in another language: an id whose entry has the
// table's English text shows its translation; the other ids, and entries
// made for an English text since changed, stay English. No entries is
// English. Returns how many ids are translated. Called before the window is
// made: the texts returned before stay valid, later calls replace them.
size_t UseTranslation(const std::vector<CatalogueEntry>& entries);

// `value` with `decimals` places after the spoken language's decimal mark.
std::string DecimalText(double value, int decimals);

// `text` with %1 and %2 replaced.
std::string FillIn(std::string text, const std::string& first, const std::string& second = {});
