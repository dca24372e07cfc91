#include "game/game_flow.h"

#include <algorithm>
#include <ctime>
#include <vector>

#include "game/deadwood.h"
#include "game/hand_figures.h"
#include "game/meld_marks.h"
#include "game/layoffs.h"
#include "game/rules.h"
#include "game/score_iterators.h"
#include "game/table_commands.h"
#include "game/table_geometry.h"
#include "game/text_ids.h"

namespace {

void DealPile(NxDeck& deck, uint32_t pile, uint32_t count, bool faceUp) {
  const PileLayout& layout = TABLE_PILES[pile];
  deck.Deal(pile, count, layout.Position, layout.Offset, layout.BaseLayer, faceUp);
}

}  // namespace

GameFlow::GameFlow(GameState& state, NxDeck& deck, ScoreRecord& record, Presentation& view)
    : S(state), TheDeck(deck), TheRecord(record), TheView(view) {
  SeedOwnRandom(static_cast<int32_t>(std::time(nullptr) % NxRandomGenerator::MODULUS));
}

void GameFlow::SeedOwnRandom(int32_t seed) {
  OwnRandom.Seed = seed;
  OwnRandom.InitTable();
  S.OwnRandomSeed = static_cast<uint32_t>(seed);
}

uint32_t GameFlow::DrawOwnRandom(uint32_t range) {
  return static_cast<uint32_t>(OwnRandom.rand() * (1.0 / NxRandomGenerator::MODULUS) * range);
}

void GameFlow::SetStatus(uint32_t textId) {
  S.StatusTextId = textId;
  TheView.SetStatus(textId);
}

void GameFlow::SetSelection(SelectionKind kind, uint32_t card) {
  S.Selection = kind;
  S.SelectionCard = kind == SELECT_KNOWN_CARD ? card : NoCard;
  TheView.SetSelection(kind, S.SelectionCard);
}

void GameFlow::NoteForComputer(uint32_t owner, uint32_t card) {
  if (Opponent) Opponent->NoteCard(owner, card, COMPUTER_VECTOR);
}

// The round ends with the discard of the player who moves second: the dealer.
void GameFlow::CountRoundAfter(uint32_t mover) {
  if (Opponent && mover == S.Dealer) Opponent->CountRound();
}

bool GameFlow::IsElevenTenHand() const { return Settings.ElevenTenDeal && S.Variation != OKLAHOMA_GIN; }

// ---------------------------------------------------------------- the moves in words

void GameFlow::NoteTake(uint32_t player, uint32_t card) {
  if (player == HUMAN_SEAT) ++HumanMoveCount;
  History.Took(player, card);
  TheView.ShowMoves(History);
}

void GameFlow::NoteDiscard(uint32_t player, uint32_t card, bool knocked) {
  if (player == HUMAN_SEAT) ++HumanMoveCount;
  History.Discarded(player, card, knocked);
  TheView.ShowMoves(History);
}

// The computer player moves the cards itself; what it did shows in the piles.
void GameFlow::NoteComputerTake(uint32_t discardsBefore, uint32_t upcard, bool took) {
  if (!took) {
    History.Passed(COMPUTER_SEAT);
    TheView.ShowMoves(History);
  } else if (TheDeck.CardsInPile(DISCARD_PILE) < discardsBefore) {
    NoteTake(COMPUTER_SEAT, upcard);
  } else if (TheDeck.CardsInPile(COMPUTER_PILE) > HAND_CARDS) {
    NoteTake(COMPUTER_SEAT, NoCard);
  }
}

void GameFlow::NoteComputerDiscard(uint32_t discardsBefore) {
  const int32_t top = TheDeck.TopIndex(DISCARD_PILE);
  if (TheDeck.CardsInPile(DISCARD_PILE) <= discardsBefore || top < 0) return;
  NoteDiscard(COMPUTER_SEAT, TheDeck.CardIndexAt(DISCARD_PILE, top), S.HandOver && !S.StockExhausted);
}

// ---------------------------------------------------------------- human moves

bool GameFlow::TakeStockCard() {
  if (S.Play != HumanTake || S.HandOver || !StockCardMayBeTaken(S.Offer)) return false;
  int32_t top = TheDeck.TopIndex(STOCK_PILE);
  if (top < 0) return false;
  S.UpcardTaken = NoCard;
  TheDeck.MoveCard(STOCK_PILE, top, HUMAN_PILE, true);
  NoteTake(HUMAN_SEAT, NoCard);
  if (TheDeck.CardsInPile(STOCK_PILE) < 3) S.StockExhausted = true;
  S.Offer = NORMAL_PLAY;
  S.Sort = PLAYERS_ORDER;
  S.Play = HumanDiscard;
  SetSelection(SELECT_STOCK_CARD, NoCard);
  SetStatus(PLEASE_KNOCK_OR_DISCARD);
  return true;
}

bool GameFlow::TakeUpcard() {
  if (S.Play != HumanTake || S.HandOver || !UpcardMayBeTaken(S.Offer)) return false;
  int32_t top = TheDeck.TopIndex(DISCARD_PILE);
  if (top < 0) return false;
  uint32_t card = TheDeck.CardIndexAt(DISCARD_PILE, top);
  S.UpcardTaken = card;
  TheDeck.MoveCard(DISCARD_PILE, top, HUMAN_PILE, true);
  NoteTake(HUMAN_SEAT, card);
  NoteForComputer(HUMAN_PILE, card);
  S.Offer = NORMAL_PLAY;
  S.Sort = PLAYERS_ORDER;
  S.Play = HumanDiscard;
  SetSelection(SELECT_KNOWN_CARD, card);
  SetStatus(PLEASE_KNOCK_OR_DISCARD);
  return true;
}

bool GameFlow::Pass() {
  if (!PassAllowed(S.Offer) || S.Play == ComputerTake || S.HandOver) return false;
  S.Offer = static_cast<OfferStage>(S.Offer + 1);
  ++HumanMoveCount;
  History.Passed(HUMAN_SEAT);
  TheView.ShowMoves(History);
  S.Play = ComputerTake;
  SetStatus(COMPUTERS_PLAY);
  return true;
}

bool GameFlow::Discard(uint32_t position) {
  if (S.Play != HumanDiscard || S.HandOver || position >= TheDeck.CardsInPile(HUMAN_PILE)) return false;
  uint32_t card = TheDeck.CardIndexAt(HUMAN_PILE, position);
  if (card == S.UpcardTaken) {
    TheView.Message(RULE_CAPTION, ILLEGAL_DISCARD, ICON_EXCLAMATION);
    return false;
  }
  S.Sort = PLAYERS_ORDER;
  TheDeck.MoveCard(HUMAN_PILE, position, DISCARD_PILE, true);
  NoteDiscard(HUMAN_SEAT, card, false);
  NoteForComputer(DISCARD_PILE, card);
  CountRoundAfter(HUMAN_SEAT);
  if (S.StockExhausted) {
    S.HandOver = true;
    S.Play = HandEnded;
  } else {
    S.Play = ComputerTake;
    SetStatus(COMPUTERS_PLAY);
  }
  return true;
}

bool GameFlow::Knock(uint32_t position) {
  if (S.Play != HumanDiscard || S.HandOver || position >= TheDeck.CardsInPile(HUMAN_PILE)) return false;
  uint32_t card = TheDeck.CardIndexAt(HUMAN_PILE, position);
  if (card == S.UpcardTaken) {
    TheView.Message(RULE_CAPTION, ILLEGAL_DISCARD, ICON_EXCLAMATION);
    return false;
  }
  CountRoundAfter(HUMAN_SEAT);
  S.Sort = PLAYERS_ORDER;
  TheDeck.MoveCard(HUMAN_PILE, position, DISCARD_PILE, true);
  ShowKnockCard();
  TheView.SetBusy(true);
  NoteDiscard(HUMAN_SEAT, card, EvaluateKnock(HUMAN_SEAT));
  TheView.SetBusy(false);
  NoteForComputer(DISCARD_PILE, card);
  if (S.HandOver) {
    S.Play = HandEnded;
  } else {
    // An illegal knock counts as a plain discard.
    TheDeck.RefreshPile(DISCARD_PILE);
    S.Play = ComputerTake;
    SetStatus(COMPUTERS_PLAY);
  }
  return true;
}

void GameFlow::ShowKnockCard() {
  int32_t top = TheDeck.TopIndex(DISCARD_PILE);
  if (top >= 0) TheDeck.MoveCardToPoint({KNOCK_AREA.left, KNOCK_AREA.top}, DISCARD_PILE, top, true);
}

void GameFlow::TakeBackHeldCard() {
  if (!TheDeck.HeldCard()) return;
  TheDeck.ReturnHeldCard();
  EndDrag();
}

bool GameFlow::EvaluateKnock(uint32_t player) {
  // A card the person holds with the mouse still belongs to the hand: the
  // knock is scored on every card, and the drag ends.
  TakeBackHeldCard();
  const uint32_t defender = OtherSeat(player);
  std::array<uint32_t, HAND_CARDS> deadwood;
  int32_t knockerDeadwood = ScorePile(TheDeck, PileOf(player), S.LastScores[player], deadwood);
  S.Gin = false;
  S.Undercut = false;
  if (!IsLegalKnock(knockerDeadwood, S.KnockLimit)) {
    if (player == HUMAN_SEAT)
      TheView.MessageWithFigures(RULE_CAPTION, ILLEGAL_KNOCK, RefusedKnockFigures(knockerDeadwood, S.KnockLimit),
                                 ICON_EXCLAMATION);
    else
      TheView.Message(RULE_CAPTION, ILLEGAL_KNOCK, ICON_EXCLAMATION);
    if (S.StockExhausted) S.HandOver = true;
    if (player == HUMAN_SEAT) S.Play = ComputerTake;
    return false;
  }
  S.HandOver = true;
  S.StockExhausted = false;
  S.PreviousDealer = S.Dealer;
  int32_t defenderDeadwood = knockerDeadwood == 0
                                 ? ScorePile(TheDeck, PileOf(defender), S.LastScores[defender], deadwood)
                                 : ComputeLayoffs(TheDeck, PileOf(defender), S.LastScores, deadwood, S.LaidOff);
  HandResult result = ScoreKnock(player, knockerDeadwood, defenderDeadwood);
  S.Points = result.Points;
  S.Difference = result.Difference;
  S.Gin = result.Gin;
  S.Undercut = result.Undercut;
  TheRecord.RecordHand(result.Winner, static_cast<uint32_t>(result.Points));
  S.Dealer = result.Winner;
  const bool humanKnocked = player == HUMAN_SEAT;
  TellHandPlayed(player, result.Winner, humanKnocked ? knockerDeadwood : defenderDeadwood,
                 humanKnocked ? defenderDeadwood : knockerDeadwood);
  return true;
}

void GameFlow::TellHandPlayed(uint32_t knocker, uint32_t winner, int32_t humanDeadwood, int32_t computerDeadwood) {
  if (!HandPlayed) return;
  PlayedHand hand;
  hand.Variation = S.Variation;
  hand.Target = TheRecord.Target;
  hand.ElevenTenDeal = Settings.ElevenTenDeal;
  hand.Watched = TheRecord.Watched;
  hand.Number = TheRecord.NumScores + (winner == PlayedHand::NOBODY ? 1 : 0);  // a tie adds no row
  hand.Knocker = knocker;
  hand.Winner = winner;
  const bool scored = winner != PlayedHand::NOBODY;
  hand.Gin = scored && S.Gin;
  hand.Undercut = scored && S.Undercut;
  hand.Deadwood[HUMAN_SEAT] = humanDeadwood;
  hand.Deadwood[COMPUTER_SEAT] = computerDeadwood;
  hand.Points = scored ? static_cast<uint32_t>(S.Points) : 0;
  hand.EndsGame = scored && TheRecord.GameOver;
  if (hand.EndsGame) {
    hand.HandsWon[HUMAN_SEAT] = TheRecord.HandsWon[HUMAN_SEAT];
    hand.HandsWon[COMPUTER_SEAT] = TheRecord.HandsWon[COMPUTER_SEAT];
    hand.Shutout = TheRecord.Shutout;
    hand.Totals = TheRecord.ComputeFinalTotals();
  }
  HandPlayed(hand);
}

// ------------------------------------------------------------- game and hand

bool GameFlow::NewGame(bool askFirst, bool fromCommand) {
  if (S.ClosingRequested) return false;
  if (askFirst && !TheRecord.GameOver && !TheView.Confirm(GAME_IN_PROGRESS, UNFINISHED_GAME)) return false;
  if (S.ResumePending) {
    ResumePendingGame();
    return true;
  }
  if (Settings.DifferentCardbackEachGame) {
    uint32_t id = FIRST_CARD_BACK_ID + DrawOwnRandom(10);
    if (id == S.CardBackId) id = S.CardBackId >= LAST_CARD_BACK_ID ? S.CardBackId - 1 : S.CardBackId + 1;
    S.CardBackId = id;
    TheDeck.SetCardBack(id);
  }
  TheRecord.NewGame(S.Watching);
  S.Dealer = DrawOwnRandom(SEAT_COUNT);
  DealHand();
  if (fromCommand) S.AbortPending = true;
  return true;
}

void GameFlow::ForgetMoves() {
  ++HandsPlaced;
  History.Clear();
  TheView.ShowMoves(History);
}

void GameFlow::ResumePendingGame() {
  ForgetMoves();
  for (uint32_t pile = 0; pile < TheDeck.PileCount(); ++pile) TheDeck.RefreshPile(pile);
  TheView.SetStatus(S.StatusTextId);
  TheView.SetSelection(S.Selection, S.SelectionCard);
  TheView.ShowKnockLimit(S.KnockLimit);
  if (S.ShowScoreSheetAfterResume) {
    S.ScoreSheetShown = true;
    TheView.ShowScoreSheet();
  }
  S.ResumePending = false;
}

bool GameFlow::NextHand() {
  if (!S.HandOver || TheRecord.GameOver) return false;
  DealHand();
  return true;
}

bool GameFlow::SortHand(HandSort sort) {
  SortState wanted = sort == HandSort::BY_SUIT ? SORTED_BY_SUIT : SORTED_BY_VALUE;
  if (sort == HandSort::NONE || S.HandOver || S.Sort == wanted) return false;
  TakeBackHeldCard();
  SortPile(TheDeck, HUMAN_PILE, sort, Settings.SortDirectionAfterDeal);
  S.Sort = wanted;
  return true;
}

bool GameFlow::ArrangeByMelds() {
  if (S.HandOver) return false;
  TakeBackHeldCard();
  const std::vector<uint32_t> order = OrderByMelds(TheDeck.PileCards(HUMAN_PILE));
  TheDeck.Arrange(HUMAN_PILE, order.data(), static_cast<uint32_t>(order.size()));
  S.Sort = PLAYERS_ORDER;
  return true;
}

bool GameFlow::ToggleWatching() {
  if (!S.Watching && !TheView.Confirm(WARNING_CAPTION, WATCH_WARNING)) return false;
  S.Watching = !S.Watching;
  // Turning watching off never makes a watched game count again.
  if (S.Watching) TheRecord.SetWatching(true);
  if (!S.HandOver) {
    TheDeck.SetPileFace(COMPUTER_PILE, S.Watching);
    TheView.ShowComputerHand(S.Watching);
  }
  return true;
}

void GameFlow::ShowScoreSheet() {
  S.ScoreSheetShown = true;
  TheView.ShowScoreSheet();
}

void GameFlow::CloseScoreSheet() {
  if (!S.ScoreSheetShown) return;
  S.ScoreSheetShown = false;
  TheView.CloseScoreSheet();
}

bool GameFlow::RunCommand(uint32_t command, uint32_t hitCard) {
  if (CommandMovesCards(command)) CloseScoreSheet();
  switch (command) {
    case CM_NEXT_HAND: return NextHand();
    case CM_NEW_GAME: return NewGame(true, true);
    case CM_SCORE:
      if (S.ScoreSheetShown) return false;
      ShowScoreSheet();
      return true;
    case CM_PASS: return Pass();
    case CM_SORT_BY_VALUE: return SortHand(HandSort::BY_VALUE);
    case CM_SORT_BY_SUIT: return SortHand(HandSort::BY_SUIT);
    case CM_SORT_BY_MELDS: return ArrangeByMelds();
    case CM_WATCH_COMPUTER_HAND: return ToggleWatching();
    case CM_TAKE_STOCK_CARD: return TakeStockCard();
    case CM_TAKE_UPCARD: return TakeUpcard();
    case CM_DISCARD_THIS_CARD: return hitCard != NoCard && Discard(hitCard);
    case CM_KNOCK_WITH_THIS_CARD: return hitCard != NoCard && Knock(hitCard);
    default: return false;
  }
}

bool GameFlow::RequestClose() {
  if (S.ClosingRequested) return true;
  S.ClosingRequested = true;
  return false;
}

void GameFlow::DealHand() {
  S.Sort = PLAYERS_ORDER;
  const bool elevenTen = IsElevenTenHand();
  const uint32_t firstPlayer = S.FirstPlayer();
  const uint32_t computerCards = elevenTen && firstPlayer == COMPUTER_SEAT ? 11 : 10;
  const uint32_t humanCards = elevenTen && firstPlayer == HUMAN_SEAT ? 11 : 10;
  S.StockExhausted = false;
  SetSelection(SELECT_NOTHING, NoCard);

  TheDeck.Shuffle();
  TheDeck.SetDealOrigin(TABLE_PILES[STOCK_PILE].Position);
  DealPile(TheDeck, COMPUTER_PILE, computerCards, S.Watching);
  DealPile(TheDeck, HUMAN_PILE, humanCards, true);
  DealPile(TheDeck, STOCK_PILE, STOCK_CARDS_DEALT, false);
  if (!elevenTen) DealPile(TheDeck, DISCARD_PILE, 1, true);
  SortPile(TheDeck, HUMAN_PILE, Settings.SortAfterDeal, Settings.SortDirectionAfterDeal);
  S.Sort = Settings.SortAfterDeal == HandSort::BY_VALUE  ? SORTED_BY_VALUE
           : Settings.SortAfterDeal == HandSort::BY_SUIT ? SORTED_BY_SUIT
                                                         : PLAYERS_ORDER;

  CloseScoreSheet();
  S.LaidOff.Clear();
  ForgetMoves();

  int32_t upcard = TheDeck.TopIndex(DISCARD_PILE);
  S.KnockLimit = KnockLimit(S.Variation, S.AceRequiresGin,
                            upcard >= 0 ? TheDeck.CardIndexAt(DISCARD_PILE, upcard) : NoCard);
  if (S.Variation == OKLAHOMA_GIN && Opponent) Opponent->SelectNet(NetworkChoice(S.Variation, S.KnockLimit));
  TheView.ShowKnockLimit(S.KnockLimit);
  if (Opponent) Opponent->StartHand();

  S.HandOver = false;
  S.Gin = false;
  S.Undercut = false;
  S.UpcardTaken = NoCard;
  S.Offer = elevenTen ? NORMAL_PLAY : OFFER_TO_FIRST_PLAYER;
  if (S.Dealer == HUMAN_SEAT) {
    SetStatus(COMPUTER_BEGINS);
    S.Play = elevenTen ? ComputerDiscard : ComputerTake;
    if (elevenTen) {
      SetSelection(SELECT_STOCK_CARD, NoCard);
      // Last: commands are handled during the wait, and one that deals
      // again must find this deal complete rather than have its own deal
      // overwritten when this one carries on.
      TheView.Wait(1000);
    }
  } else if (elevenTen) {
    S.Play = HumanDiscard;
    SetStatus(YOU_BEGIN_DISCARD);
    SetSelection(SELECT_STOCK_CARD, NoCard);
  } else {
    S.Play = HumanTake;
    SetStatus(YOU_BEGIN_OFFER);
  }
}

// ------------------------------------------------------------------ idle step

bool GameFlow::HasIdleWork() const {
  if (S.ClosingRequested) return true;
  switch (S.Play) {
    case ComputerTake:
    case ComputerDiscard:
      return Opponent != nullptr;
    case HandEnded:
      return true;
    case Learning:
      return Opponent != nullptr && !LearningFinished;
    case HumanTake:
    case HumanDiscard:
      break;
  }
  return false;
}

bool GameFlow::IdleStep() {
  // A window handles its messages inside waits and modal boxes, where its
  // idle processing may call again: one step at a time, or the computer
  // would move twice.
  if (InIdleStep) return false;
  InIdleStep = true;
  RunIdleStep();
  InIdleStep = false;
  return HasIdleWork();
}

void GameFlow::RunIdleStep() {
  if (S.ClosingRequested) {
    TheView.RepeatCloseRequest();
    return;
  }
  switch (S.Play) {
    case ComputerTake: {
      if (!Opponent) return;
      const uint32_t discards = TheDeck.CardsInPile(DISCARD_PILE);
      const int32_t top = TheDeck.TopIndex(DISCARD_PILE);
      const uint32_t upcard = top >= 0 ? TheDeck.CardIndexAt(DISCARD_PILE, top) : NoCard;
      const uint64_t hand = HandsPlaced;
      const bool took = Opponent->TakeDecision(COMPUTER_SEAT);
      if (hand != HandsPlaced) break;
      NoteComputerTake(discards, upcard, took);
      if (took) {
        // A take given up half-way leaves the computer with ten cards; it
        // must never be asked to discard from them.
        if (!S.HandOver && !S.AbortPending && TheDeck.CardsInPile(COMPUTER_PILE) == HAND_CARDS + 1)
          S.Play = ComputerDiscard;
      } else {
        S.Play = HumanTake;
        SetStatus(S.Offer == OFFER_TO_DEALER ? COMPUTER_PASSES
                  : S.Offer == FIRST_PLAYER_TAKES_STOCK ? COMPUTER_PASSES_TOO
                                                        : YOUR_TURN);
      }
      break;
    }
    case ComputerDiscard:
      if (!Opponent) return;
      {
        const uint32_t discards = TheDeck.CardsInPile(DISCARD_PILE);
        const uint64_t hand = HandsPlaced;
        Opponent->DiscardDecision(COMPUTER_SEAT);
        if (hand != HandsPlaced) break;
        NoteComputerDiscard(discards);
      }
      CountRoundAfter(COMPUTER_SEAT);
      if (!S.HandOver) {
        S.Play = HumanTake;
        SetStatus(YOUR_TURN);
        WarnAboutStock();
      } else {
        S.Play = HandEnded;
      }
      break;
    case Learning:
      if (Opponent && !LearningFinished)
        LearningFinished = !Opponent->LearnStep(Learning, S.ComputerOutcome, S.HumanOutcome);
      break;
    case HandEnded:
      if (S.StockExhausted)
        AnnounceTie();
      else
        AnnounceHand();
      break;
    case HumanTake:
    case HumanDiscard:
      break;
  }
}

void GameFlow::WarnAboutStock() {
  uint32_t left = TheDeck.CardsInPile(STOCK_PILE);
  if (left == 3) TheView.Message(STOCK_WARNING_CAPTION, THREE_LEFT, ICON_NONE);
  if (left == 4) TheView.Message(STOCK_WARNING_CAPTION, FOUR_LEFT, ICON_NONE);
}

// The computer's cards are laid open as: its unmatched cards, then its
// melds one by one. When it defended a knock of the human's, its melds
// include the human's melds with its layoffs; its own cards then come in
// three groups: those laid off (fewer than three cards added to a human
// meld), those joined to a human meld as a meld of their own, then its
// melds that hold no meld of the human.
void GameFlow::LayOpenComputerHand() {
  const uint32_t knocker = S.Undercut ? OtherSeat(S.Dealer) : S.Dealer;
  // The scores are computed again from the piles: a game resumed at the end
  // of a hand has the cards but not the scores.
  std::array<uint32_t, HAND_CARDS> deadwood;
  if (knocker == HUMAN_SEAT && !S.Gin) {
    ScorePile(TheDeck, HUMAN_PILE, S.LastScores[HUMAN_SEAT], deadwood);
    ComputeLayoffs(TheDeck, COMPUTER_PILE, S.LastScores, deadwood, S.LaidOff);
  } else {
    ScorePile(TheDeck, COMPUTER_PILE, S.LastScores[COMPUTER_SEAT], deadwood);
  }
  const NxHandScore* score = S.LastScores[COMPUTER_SEAT].get();
  uint32_t count = TheDeck.CardsInPile(COMPUTER_PILE);
  if (!score || !score->BestCase()) return;
  auto held = [&](uint32_t card) { return TheDeck.PositionOf(COMPUTER_PILE, card).has_value(); };
  const NxHandScore* human = knocker == HUMAN_SEAT && !S.Gin ? S.LastScores[HUMAN_SEAT].get() : nullptr;
  auto group = [&](const NxMatch& meld) {
    if (!human || !human->BestCase()) return 2;
    NxScoreMatchIterator humanMelds(*human);
    while (humanMelds.HasMore()) {
      const NxMatch& own = *humanMelds.Next();
      if (NxMatch::Includes(meld, own)) return meld.NumCards < own.NumCards + 3 ? 0 : 1;
    }
    return 2;
  };
  std::vector<uint32_t> cards;
  NxScoreUnmatchedIterator unmatched(*score);
  while (unmatched.HasMore()) cards.push_back(unmatched.Next());
  for (int wanted = 0; wanted < 3; ++wanted) {
    NxScoreMatchIterator melds(*score);
    while (melds.HasMore()) {
      const NxMatch& meld = *melds.Next();
      if (group(meld) != wanted) continue;
      NxMatchIterator cardsOfMeld(meld);
      while (cardsOfMeld.HasMore()) cards.push_back(cardsOfMeld.Next());
    }
  }
  // Arrange takes the card ids in their new order.
  std::vector<uint32_t> order;
  for (uint32_t card : cards)
    if (held(card) && std::find(order.begin(), order.end(), card) == order.end()) order.push_back(card);
  if (order.size() == count) TheDeck.Arrange(COMPUTER_PILE, order.data(), count);
}

// The person's hand at the end: its melds first, then the cards it laid
// off on the computer's melds, then its deadwood.
void GameFlow::LayOpenHumanHand() {
  const LaidOffList& laidOff = S.LaidOff;
  const bool laidOffByHuman = !S.StockExhausted && !S.Gin && laidOff.Player == HUMAN_SEAT;
  auto isLaidOff = [&](uint32_t card) {
    return laidOffByHuman && std::find(laidOff.Cards.begin(), laidOff.Cards.begin() + laidOff.Count, card) !=
                                 laidOff.Cards.begin() + laidOff.Count;
  };
  std::vector<uint32_t> kept, laid;
  for (uint32_t card : TheDeck.PileCards(HUMAN_PILE)) (isLaidOff(card) ? laid : kept).push_back(card);
  const CardMarks marks = HandEndMarks(TheDeck, laidOffByHuman ? laidOff : LaidOffList{});
  auto inMeld = [&](uint32_t card) { return marks[card] != NO_MARK && marks[card] != DEADWOOD_MARK; };
  std::vector<uint32_t> order;
  const std::vector<uint32_t> sorted = OrderByMelds(kept);
  for (uint32_t card : sorted)
    if (inMeld(card)) order.push_back(card);
  order.insert(order.end(), laid.begin(), laid.end());
  for (uint32_t card : sorted)
    if (!inMeld(card)) order.push_back(card);
  if (order.size() == TheDeck.CardsInPile(HUMAN_PILE))
    TheDeck.Arrange(HUMAN_PILE, order.data(), static_cast<uint32_t>(order.size()));
}

// The defender's cards laid off go over to the knocker's row, right of its
// hand; the bands they keep name the melds they join.
void GameFlow::PlaceLaidOffBesideKnocker() {
  const LaidOffList& laidOff = S.LaidOff;
  if (S.Gin || laidOff.Count == 0 || laidOff.Player >= SEAT_COUNT) return;
  const uint32_t defender = PileOf(laidOff.Player);
  const int32_t row = TABLE_PILES[PileOf(OtherSeat(laidOff.Player))].Position.y;
  const int32_t room = TABLE_AREA.right - 1 - LAID_OFF_LEFT - CARD_SIZE.cx;
  const int32_t step = laidOff.Count > 1 ? std::min<int32_t>(LAID_OFF_STEP, room / int32_t(laidOff.Count - 1)) : 0;
  for (uint32_t i = 0; i < laidOff.Count; ++i)
    if (const auto at = TheDeck.PositionOf(defender, laidOff.Cards[i]))
      TheDeck.MoveCardToPoint({LAID_OFF_LEFT + int32_t(i) * step, row}, defender, *at, true);
}

void GameFlow::AnnounceHand() {
  TakeBackHeldCard();
  LayOpenComputerHand();
  LayOpenHumanHand();
  PlaceLaidOffBesideKnocker();
  TheDeck.SetPileFace(COMPUTER_PILE, true);
  TheView.ShowComputerHand(true);
  const bool humanWon = S.Dealer == HUMAN_SEAT;
  uint32_t caption = S.Gin ? GIN_CAPTION : KNOCK_CAPTION;
  uint32_t text = S.Undercut ? (humanWon ? YOU_UNDERCUT : YOU_ARE_UNDERCUT) : (humanWon ? YOU_WIN_HAND : YOU_LOSE_HAND);
  SetStatus(text);
  AnnounceWithFigures(caption, text);
  if (TheRecord.GameOver) {
    // The box bonuses can reverse the order of the running totals: the
    // winner is the one the final totals make, as the score sheet shows.
    const uint32_t winner = TheRecord.ComputeFinalTotals().Result;
    SetStatus(winner == HUMAN_SEAT ? GAME_WON : winner == COMPUTER_SEAT ? GAME_LOST : GAME_TIED_TEXT);
  }
  HandOutcomes();
  ShowScoreSheet();
}

void GameFlow::AnnounceWithFigures(uint32_t caption, uint32_t text) {
  TheView.MessageWithFigures(caption, text, HandResultFigures(FiguresOfHand(TheDeck, S)), ICON_NONE);
}

void GameFlow::AnnounceTie() {
  // A card held with the mouse counts with its hand.
  TakeBackHeldCard();
  TellHandPlayed(PlayedHand::NOBODY, PlayedHand::NOBODY, LeastDeadwood(TheDeck.PileMask(HUMAN_PILE)),
                 LeastDeadwood(TheDeck.PileMask(COMPUTER_PILE)));
  LayOpenHumanHand();
  const std::vector<uint32_t> computerOrder = OrderByMelds(TheDeck.PileCards(COMPUTER_PILE));
  TheDeck.Arrange(COMPUTER_PILE, computerOrder.data(), static_cast<uint32_t>(computerOrder.size()));
  TheDeck.SetPileFace(COMPUTER_PILE, true);
  TheView.ShowComputerHand(true);
  SetStatus(STOCK_TIE);
  TheView.Message(STOCK_CAPTION, STOCK_TIE, ICON_NONE);
  S.Points = 0;
  S.Difference = 0;
  HandOutcomes();
}

void GameFlow::HandOutcomes() {
  double points = std::min(S.Points, 100);
  double difference = std::min(S.Difference, 100);
  const uint32_t winner = S.Dealer;
  double winnerOutcome = 0.5 + 0.004 * points;
  double loserOutcome = 0.5 - 0.004 * difference;
  S.HumanOutcome = winner == HUMAN_SEAT ? winnerOutcome : loserOutcome;
  S.ComputerOutcome = winner == COMPUTER_SEAT ? winnerOutcome : loserOutcome;
  if (Opponent) {
    Opponent->HandOutcome(S.ComputerOutcome);
    Opponent->BuildHumanView(winner, S.PreviousDealer);
  }
  S.Play = Learning;
  S.HandOver = true;
  LearningFinished = false;
}
