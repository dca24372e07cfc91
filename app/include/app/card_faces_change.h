#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "app/window_update.h"
#include "store/preferences.h"

// The Select Card Faces dialog's value: the folder name of a face deck of
// the card data (svg-...).
struct CardFacesChoice {
  std::string Deck;
};

// The face deck the cards are drawn from: the player's choice when it is
// installed, otherwise the default deck when it is, otherwise the first
// installed one; empty when no deck is installed (plain cards).
std::string FaceDeckInUse(const std::string& chosen, const std::vector<std::string>& installed,
                          const std::string& defaultDeck);

// Applies the Select Card Faces dialog: a deck other than the one in use
// becomes the player's choice and the cards are drawn anew. A name that
// cannot be a deck folder is ignored.
WindowUpdate ApplyCardFaces(const CardFacesChoice& chosen, const std::string& inUse, Preferences& preferences);

// The name a deck's description file gives it (its first "Name=" line), or
// one made from the folder name ("svg-oxygen-air" gives "Oxygen Air").
std::string FaceDeckTitle(std::string_view description, std::string_view folder);
