#pragma once

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

// The program's texts in another language come from gettext message
// catalogues (po/<language>.po, compiled to locale/<language>/LC_MESSAGES/
// quorla.mo next to the program), so that translators work with their own
// tools. Each entry's context is the text's id in the string table and its
// message the table's English text.
struct CatalogueEntry {
  uint32_t Id = 0;
  std::string English;
  std::string Translated;
};

// A catalogue that cannot be read: the message says why, in one line.
class CatalogueError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The largest catalogue read; ours are some tens of kilobytes.
inline constexpr uintmax_t MAX_CATALOGUE_BYTES = 4 << 20;

// The entries of a compiled catalogue (.mo) whose context is a text id, in
// the file's order; the header and entries without an id context are left
// out. Throws CatalogueError for a file that is missing, too large,
// truncated or not a catalogue.
std::vector<CatalogueEntry> ReadMessageCatalogue(const std::filesystem::path& file);
std::vector<CatalogueEntry> ParseMessageCatalogue(const std::string& bytes);
