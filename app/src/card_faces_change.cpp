#include "app/card_faces_change.h"

#include <algorithm>
#include <cctype>

namespace {

bool Contains(const std::vector<std::string>& names, const std::string& name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
  return text;
}

// "svg-oxygen-air" -> "Oxygen Air".
std::string TitleFromFolder(std::string_view folder) {
  if (folder.substr(0, 4) == "svg-") folder.remove_prefix(4);
  std::string title;
  bool wordStart = true;
  for (char c : folder) {
    if (c == '-' || c == '_') {
      title += ' ';
      wordStart = true;
      continue;
    }
    title += wordStart ? static_cast<char>(std::toupper(static_cast<unsigned char>(c))) : c;
    wordStart = false;
  }
  return title;
}

}  // namespace

std::string FaceDeckInUse(const std::string& chosen, const std::vector<std::string>& installed,
                          const std::string& defaultDeck) {
  if (!chosen.empty() && Contains(installed, chosen)) return chosen;
  if (Contains(installed, defaultDeck)) return defaultDeck;
  return installed.empty() ? std::string() : installed.front();
}

WindowUpdate ApplyCardFaces(const CardFacesChoice& chosen, const std::string& inUse, Preferences& preferences) {
  WindowUpdate update;
  if (!IsFaceDeckName(chosen.Deck) || chosen.Deck == inUse) return update;
  preferences.CardFaces = chosen.Deck;
  update.NewCardFaces = true;
  update.Redraw = true;
  return update;
}

std::string FaceDeckTitle(std::string_view description, std::string_view folder) {
  // Only the untranslated name: "Name[de]=" and the like are other keys.
  constexpr std::string_view key = "Name=";
  size_t start = 0;
  while (start < description.size()) {
    size_t end = description.find('\n', start);
    if (end == std::string_view::npos) end = description.size();
    const std::string_view line = Trimmed(description.substr(start, end - start));
    if (line.substr(0, key.size()) == key) {
      const std::string_view name = Trimmed(line.substr(key.size()));
      // A title is shown in a list: printable ASCII of sensible length only.
      const bool plain = std::all_of(name.begin(), name.end(), [](char c) { return c >= 0x20 && c < 0x7F; });
      if (!name.empty() && name.size() <= 48 && plain) return std::string(name);
      break;
    }
    start = end + 1;
  }
  return TitleFromFolder(folder);
}
