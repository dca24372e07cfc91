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
    {1101, "Next &Hand"},
    {1102, "&New Game"},
    {1103, "&Resume Game"},
    {1104, "&Score"},
    {1105, "Sta&tistics"},
    {1202, "&Pass"},
    {1203, "Sort Hand by &Value"},
    {1204, "Sort Hand by &Suit"},
    {1205, "&Watch Computer Hand"},
    {1305, "Sce&nery..."},
    {1401, "Take &Stock Card"},
    {1402, "Take &Upcard"},
    {1403, "&Discard this Card"},
    {1404, "&Knock with this Card"},
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
    {9056, "You"},
    {9057, "Computer"},
    {9058, "Games Won"},
    {9059, "Total Points"},
    {9060, "Best Score"},
    {9063, "Category"},
    {9064, "Simple Gin:"},
    {9065, "Standard Gin:"},
    {9066, "Oklahoma Gin:"},
    {9067, "Your Cards Laid Off"},
    {9068, "Computer Cards Laid Off"},
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
    {9200, "Selection:  "},
    {9201, "stock"},
    {9202, "Max. knock score:  "},
    {9203, "Warning"},
    {9204, "No statistics will be kept for any game in which you watch \nthe computer's hand.  Watch computer's hand anyway?"},
    {21101, "Deal Next Hand"},
    {21102, "Start a new game"},
    {21104, "View the score sheet"},
    {21105, "View play statistics"},
    {21202, "Let Opponent Take First Discard"},
    {21203, "Sort your current cards by face value"},
    {21204, "Sort your current cards by suit"},
    {21205, "Toggle display of computer hand during play"},
    {21305, "Choose a picture for the table"},
    {22304, "Sort Hand by Sui&t"},
    {22305, "Game S&core"},
};

constexpr bool SortedById() {
  for (size_t i = 1; i < std::size(STRINGS); ++i)
    if (STRINGS[i - 1].Id >= STRINGS[i].Id) return false;
  return true;
}
static_assert(SortedById(), "the string table is searched by id and must stay sorted");

}  // namespace

const char* ResourceString(uint32_t id) {
  auto it = std::lower_bound(std::begin(STRINGS), std::end(STRINGS), id,
                             [](const Entry& e, uint32_t key) { return e.Id < key; });
  return it != std::end(STRINGS) && it->Id == id ? it->Text : "";
}
