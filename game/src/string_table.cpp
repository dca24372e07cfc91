#include "game/string_table.h"

#include <algorithm>
#include <iterator>

namespace {

struct Entry {
  uint32_t Id;
  const char* Text;
};

// Sorted by id.
constexpr Entry STRINGS[] = {
    {3000, "A"},
    {3001, "2"},
    {3002, "3"},
    {3003, "4"},
    {3004, "5"},
    {3005, "6"},
    {3006, "7"},
    {3007, "8"},
    {3008, "9"},
    {3009, "10"},
    {3010, "J"},
    {3011, "Q"},
    {3012, "K"},
    {8000, "Please knock or discard a card"},
    {8001, "Your turn to take a card"},
    {8002, "Computer's play"},
    {8003, "You begin:  take the upcard or pass"},
    {8004, "You begin:  knock or discard a card"},
    {8005, "Computer begins"},
    {8006, "Computer passes:  take the upcard or pass"},
    {8007, "Computer passes too:  take the stock card "},
    {8008, "Congratulations, you win this hand!!!"},
    {8009, "Sorry, you lose this hand"},
    {8010, "You undercut and win!!!"},
    {8011, "Sorry, you've been undercut"},
    {8012, "Game over.  Sorry, you lose."},
    {8013, "Game over.  Congratulations, you win!!!"},
    {8014, "Game ends in a tie!"},
    {8015, "Only 2 cards left in stock.  Hand ends in tie."},
    {8035, "Knock"},
    {8036, "GIN!!!"},
    {8037, "Gin Rummy Rule"},
    {8038, "Stock Exhausted"},
    {8039, "Illegal Discard! You cannot discard the same card you just selected from the Discard pile."},
    {8043, "Illegal Knock! Your unmatched points exceed the maximum knock score.  Play resumes."},
    {8045, "Stock Depletion Warning"},
    {8046, "The stock contains only 3 cards.  Play ends if only 2 cards remain after a turn."},
    {8047, "The stock contains only 4 cards.  Play ends if only 2 cards remain after a turn."},
    {8110, "The current game is not finished. Do you really want to start a new game?"},
    {8111, "Game in Progress"},
    {9032, "Quorla Data File Error"},
    {9033, "Unable to access data file "},
    {9034, ". Using default data instead."},
    {9035, " data file is incorrect format"},
    {9036, ". Quorla will close."},
    {9037, "Unable to save data to file "},
    {9038, ". Disk may be full or directory may not exist"},
    {9100, "Error"},
    {9101, "Stream failure on closing"},
    {9102, "Error Resuming Quorla Game"},
    {9103, "Unable to open file "},
    {9104, "Corrupted file "},
    {9105, ". Beginning new game."},
    {9106, "Stream failure on opening"},
    {9110, "Player Configuration Warning"},
    {9111, "Configuration Default is reserved. Choose another configuration name."},
    {9112, "No Available Configurations"},
    {9113, "You need to remove one or more existing player configurations before adding another player."},
    {9114, "Insufficient Disk Space"},
    {9115, "Try adding configuration again after freeing at least "},
    {9116, " bytes on drive "},
    {9117, "Unable to copy QLPLAY.QLF to the new configuration. New configuration may fail."},
    {9118, "Unable to copy BACKIMG.QLF to the new configuration. Player may need to select scenery."},
    {9119, "You are currently using the configuration "},
    {9120, ". Do you really want to remove this configuration?"},
    {9121, "Unable to remove directory "},
    {9122, ". Directory may contain subdirectories or may not exist."},
    {9123,
     "Configuration names hold up to 8 characters. A name may not be \".\" or \"..\", begin with a dot or a space, "
     "or contain \"/\", \"\\\" or control characters. Choose another configuration name."},
    {9124, "Unable to create directory "},
    {9125, ". No configuration was created."},
    {9126, "That name is already used by another configuration. Choose another configuration name."},
};

}  // namespace

const char* ResourceString(uint32_t id) {
  auto it = std::lower_bound(std::begin(STRINGS), std::end(STRINGS), id,
                             [](const Entry& e, uint32_t key) { return e.Id < key; });
  return it != std::end(STRINGS) && it->Id == id ? it->Text : "";
}
