#include "store/resume_image.h"

#include <array>

#include "game/object_stream.h"
#include "game/rules.h"
#include "store/score_stream.h"

namespace {

constexpr uint32_t PILES = 4;
constexpr uint32_t FULL_STOCK = 31;
constexpr TRect TABLE_AREA{0, 0, 576, 384};
constexpr TSize CARD_SIZE{69, 96};

// The hand sizes (human, computer) each play state allows.
bool HandsFit(PlayState play, uint32_t human, uint32_t computer) {
  switch (play) {
    case HumanDiscard:
      return human == 11 && computer == 10;
    case ComputerDiscard:
      return human == 10 && computer == 11;
    case HumanTake:
    case ComputerTake:
    case Learning:
    case HandEnded:
      return human == 10 && computer == 10;
  }
  return false;
}

}  // namespace

bool ReadResumeLayout(NxObjectReader& in, GameFlow& flow, NxDeck& deck, ComputerPlay& computer, ScoreRecord& record) {
  in.ReadHeader();
  if (!in.Good() || !flow.ReadStoredFlowFields(in)) return false;
  if (!NxDeck::Streamer::Read(in, deck)) return false;
  if (!computer.Read(in, STREAM_VERSION)) return false;
  if (!ReadScoreRecord(in, record)) return false;
  if (!flow.ReadStoredSheetFields(in)) return false;
  if (!in.AtEnd()) in.Fail("data after the laid-off list");
  return in.Good();
}

std::string CheckRestoredTable(const GameState& state, const NxDeck& deck) {
  if (deck.PileCount() != PILES) return "the deck does not have four piles";
  // The table is always laid out the same way; other geometry would have
  // the window allocate and draw whatever the file says.
  if (!(deck.Table() == TABLE_AREA) || !(deck.CardSize() == CARD_SIZE)) return "the table geometry is not the game's";
  std::array<bool, NUM_CARDS> seen{};
  uint32_t total = 0;
  for (uint32_t pile = 0; pile < PILES; ++pile) {
    for (uint32_t i = 0; i < deck.CardsInPile(pile); ++i) {
      uint32_t card = deck.CardIndexAt(pile, i);
      if (card >= NUM_CARDS || seen[card]) return "a card lies in two places";
      if (!(deck.Card(card)->Size() == CARD_SIZE)) return "the table geometry is not the game's";
      seen[card] = true;
      ++total;
    }
  }
  if (total != NUM_CARDS) return "cards are missing from the piles";
  if (!HandsFit(state.Play, deck.CardsInPile(HUMAN_PILE), deck.CardsInPile(COMPUTER_PILE)))
    return "the hand sizes do not fit the play state";
  if (deck.CardsInPile(STOCK_PILE) > FULL_STOCK) return "the stock holds too many cards";
  if (state.KnockLimit > STANDARD_KNOCK_LIMIT) return "knock limit out of range";
  if (state.HandOver != (state.Play == HandEnded || state.Play == Learning)) return "hand-over flag out of step";
  for (uint32_t i = 0; i < state.LaidOff.Count; ++i)
    for (uint32_t j = 0; j < i; ++j)
      if (state.LaidOff.Cards[i] == state.LaidOff.Cards[j]) return "a card laid off twice";
  return "";
}

ResumeImage::ResumeImage()
    : Cards(PILES, FIRST_CARD_BACK_ID, TABLE_AREA, CARD_SIZE), Sheet(100), Flow(Game, Cards, Sheet, Silent), Player(Flow) {}

ResumeImage::~ResumeImage() = default;

std::string ResumeImage::Parse(const std::vector<uint8_t>& bytes) {
  NxObjectReader in(bytes);
  if (!ReadResumeLayout(in, Flow, Cards, Player, Sheet)) return in.ErrorText().empty() ? "damaged" : in.ErrorText();
  return CheckRestoredTable(Game, Cards);
}
