#include "game/message_catalogue.h"

#include <charconv>
#include <fstream>
#include <string_view>

namespace {

constexpr uint32_t MAGIC = 0x950412de;
constexpr uint32_t SWAPPED_MAGIC = 0xde120495;
// gettext separates an entry's context from its message with EOT.
constexpr char CONTEXT_END = '\x04';

class CatalogueBytes {
 public:
  explicit CatalogueBytes(const std::string& bytes) : Bytes(bytes) {
    if (Bytes.size() < 28) throw CatalogueError("the message catalogue is truncated");
    const uint32_t magic = Raw(0);
    if (magic != MAGIC && magic != SWAPPED_MAGIC) throw CatalogueError("the file is not a message catalogue");
    Swapped = magic == SWAPPED_MAGIC;
    if (Word(4) >> 16 != 0) throw CatalogueError("the message catalogue is of an unknown revision");
  }

  uint32_t Word(size_t at) const {
    const uint32_t raw = Raw(at);
    return Swapped ? __builtin_bswap32(raw) : raw;
  }

  // The string the descriptor at `at` (its length, then its offset) names.
  std::string_view StringAt(size_t at) const {
    const uint32_t length = Word(at), offset = Word(at + 4);
    // gettext ends each string with a NUL that the length leaves out.
    if (offset >= Bytes.size() || length >= Bytes.size() - offset || Bytes[offset + length] != '\0')
      throw CatalogueError("the message catalogue is damaged: a text lies outside the file");
    return std::string_view(Bytes).substr(offset, length);
  }

  size_t Size() const { return Bytes.size(); }

 private:
  uint32_t Raw(size_t at) const {
    if (at > Bytes.size() || Bytes.size() - at < 4) throw CatalogueError("the message catalogue is truncated");
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(Bytes[at + i]);
    return value;
  }

  const std::string& Bytes;
  bool Swapped = false;
};

bool ParseId(std::string_view text, uint32_t& id) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), id);
  return error == std::errc() && end == text.data() + text.size() && !text.empty();
}

}  // namespace

std::vector<CatalogueEntry> ParseMessageCatalogue(const std::string& bytes) {
  const CatalogueBytes file(bytes);
  const uint32_t count = file.Word(8), originals = file.Word(12), translations = file.Word(16);
  // Each entry takes two descriptors of 8 bytes: a count the file cannot hold
  // is damage, not a reason to reserve memory.
  if (count > file.Size() / 16) throw CatalogueError("the message catalogue is damaged: it counts more texts than it holds");
  std::vector<CatalogueEntry> entries;
  for (uint32_t i = 0; i < count; ++i) {
    const std::string_view key = file.StringAt(originals + size_t{i} * 8);
    const std::string_view text = file.StringAt(translations + size_t{i} * 8);
    const size_t split = key.find(CONTEXT_END);
    CatalogueEntry entry;
    if (split == std::string_view::npos || !ParseId(key.substr(0, split), entry.Id)) continue;
    entry.English = key.substr(split + 1);
    // A plural entry keeps its forms after NULs; the table has none, so the
    // first form is the text.
    entry.Translated = text.substr(0, text.find('\0'));
    entries.push_back(std::move(entry));
  }
  return entries;
}

std::vector<CatalogueEntry> ReadMessageCatalogue(const std::filesystem::path& file) {
  std::error_code error;
  const uintmax_t size = std::filesystem::file_size(file, error);
  if (error) throw CatalogueError("the message catalogue " + file.string() + " cannot be read");
  if (size > MAX_CATALOGUE_BYTES) throw CatalogueError("the message catalogue " + file.string() + " is too large");
  std::ifstream in(file, std::ios::binary);
  std::string bytes(size, '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(size));
  bytes.resize(static_cast<size_t>(in.gcount()));
  if (in.bad()) throw CatalogueError("the message catalogue " + file.string() + " cannot be read");
  return ParseMessageCatalogue(bytes);
}
