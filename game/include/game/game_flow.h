#pragma once

#include <cstdint>
#include <functional>

#include "game/deck.h"
#include "game/game_state.h"
#include "game/gin_table.h"
#include "game/hand_sort.h"
#include "game/move_history.h"
#include "game/opponent.h"
#include "game/played_hand.h"
#include "game/presentation.h"
#include "game/score_record.h"
#include "neural/random.h"

// The preferences the flow consults at a deal and a new game. Headless
// matches sort the dealt hand by value; the game applies the player's
// preference, whose default leaves the dealt order.
struct FlowSettings {
  bool ElevenTenDeal = false;
  HandSort SortAfterDeal = HandSort::BY_VALUE;
  SortDirection SortDirectionAfterDeal = SortDirection::ASCENDING;
  bool DifferentCardbackEachGame = false;
};

// The state machine of a hand and a game between the human and the computer
// opponent: dealing, the upcard offer, taking and discarding, knocking and
// gin, the end of the stock, announcing and scoring a hand, the learning
// pause after it. Human moves arrive through the operations below (each
// refused silently when it is not allowed); the computer moves from the
// idle step. It draws nothing itself: texts and boxes go through the
// presentation, cards move through the deck.
class GameFlow : public GinTable {
 public:
  GameFlow(GameState& state, NxDeck& deck, ScoreRecord& record, Presentation& view);

  void SetOpponent(ComputerOpponent* opponent) { Opponent = opponent; }
  // The game's own choices (dealer, card back) draw from this generator.
  void SeedOwnRandom(int32_t seed);
  FlowSettings Settings;
  // Told of every hand as it ends, before it is announced, so that no close
  // or crash after the end loses it.
  std::function<void(const PlayedHand&)> HandPlayed;

  // --- the table as the computer player sees it
  const GameState& State() const override { return S; }
  void PassOffer() override;
  void EndOffer() override;
  void MarkStockExhausted() override;
  void EndHandIfStockExhausted() override;
  const NxHandScore& KeepKnockScore(uint32_t seat, const unsigned* kept) override;
  void ShowSelection(SelectionKind kind, uint32_t card) override { SetSelection(kind, card); }
  bool WaitInMove(uint32_t milliseconds) override;
  void BeginMove() override;
  bool KeepThinking() override;
  void CloseWithoutSaving() override;
  void KeepFromSaving() override;
  NxDeck& Deck() override { return TheDeck; }
  Presentation& View() override { return TheView; }
  bool EvaluateKnock(uint32_t player) override;
  void ShowKnockCard() override;
  uint64_t HandSerial() const override { return HandsPlaced; }
  const ScoreRecord* Scores() const override { return &TheRecord; }
  ScoreRecord& Record() { return TheRecord; }

  // --- human operations; false when refused
  bool TakeStockCard();
  bool TakeUpcard();
  bool Pass();
  bool Discard(uint32_t position);
  bool Knock(uint32_t position);
  bool NextHand();
  // askFirst: the menu's New Game, which confirms an unfinished game;
  // fromCommand: started by a command, which abandons a computer move.
  bool NewGame(bool askFirst, bool fromCommand);
  // A close request: refused (and remembered) the first time, so that a
  // wait in progress ends; granted when repeated.
  bool RequestClose();
  // The menu's sorts; refused while the hand is over or already so sorted.
  bool SortHand(HandSort sort);
  // Sort by Melds: the best melds first, then the unmatched cards by value.
  // The hand keeps no sort state: any move of the person's undoes it, as a
  // rearrangement by hand would.
  bool ArrangeByMelds();
  // Watch Computer Hand: asks before turning watching on; false when the
  // person declined.
  bool ToggleWatching();
  void ShowScoreSheet();
  void CloseScoreSheet();
  // Runs a command of the menus or the right-button menu; `hitCard` is the
  // hand position a right-button press hit. Commands that move cards close
  // the score sheet first. False when the command was refused.
  bool RunCommand(uint32_t command, uint32_t hitCard = NoCard);

  // --- the rules and the card back, chosen in dialogs or by the tools;
  // they take effect at the next deal unless the caller starts a new game
  void SetVariation(uint32_t variation) { S.Variation = variation; }
  void SetAceRequiresGin(bool aceRequiresGin) { S.AceRequiresGin = aceRequiresGin; }
  void SetGameTarget(uint32_t target) { S.GameTarget = target; }
  void SetCardBack(uint32_t cardBackId) { S.CardBackId = cardBackId; }

  // --- the person's hand on the table, between presses and releases
  // A press on hand position `position` (NoCard when it hit none): the
  // card under the pointer for the right-button menu and a drag.
  void NoteHitCard(uint32_t position) { S.HitCard = position; }
  void BeginDrag(uint32_t position, bool fromDiscard);
  void EndDrag();
  // The person rearranged the hand: it is no longer in a sorted order.
  void ForgetSortOrder() { S.Sort = PLAYERS_ORDER; }
  // Sorts again even when the hand is believed already so sorted (a new
  // sort direction); false when the sort was refused.
  bool SortAgain(HandSort sort);
  void StopWatching() { S.Watching = false; }
  // The person closed the score sheet window by its own frame.
  void NoteScoreSheetClosed() { S.ScoreSheetShown = false; }

  // --- a saved game put on the table
  // The stored fields in file order (see GameState); false, with the error
  // on the reader, when they do not hold.
  bool ReadStoredFlowFields(NxObjectReader& in) { return S.ReadFlowFields(in); }
  bool ReadStoredSheetFields(NxObjectReader& in) { return S.ReadSheetFields(in); }
  // Before play has started the restored game resumes at the first idle
  // step; during play the move in progress is given up for it.
  void AwaitRestoredGame(bool playStarted);
  // The score sheet shows again once the restored game resumes.
  void ShowScoreSheetOnResume(bool show) { S.ShowScoreSheetAfterResume = show; }

  // --- machine-driven
  // One step of the computer's play, an announcement or a learning step.
  // True while more steps are waiting; false once the table waits for the
  // person (or a call arrives while a step is still running).
  bool IdleStep();
  bool HasIdleWork() const;
  void DealHand();
  void AnnounceHand();
  void AnnounceTie();
  void HandOutcomes();

  bool IsElevenTenHand() const;
  const MoveHistory& Moves() const { return History; }
  // How many takes, passes and discards the person has made on this table,
  // over every hand and game: a new game with a move made is under way.
  uint64_t HumanMoves() const { return HumanMoveCount; }
  // A hand from elsewhere (a new deal, a restored game) starts with no moves
  // told: the saved game does not keep them.
  void ForgetMoves();

 private:
  void TellHandPlayed(uint32_t knocker, uint32_t winner, int32_t humanDeadwood, int32_t computerDeadwood);
  void SetStatus(uint32_t textId);
  void SetSelection(SelectionKind kind, uint32_t card);
  void RunIdleStep();
  void CountRoundAfter(uint32_t mover);
  void NoteForComputer(uint32_t owner, uint32_t card);
  void WarnAboutStock();
  void LayOpenComputerHand();
  void TakeBackHeldCard();
  void ResumePendingGame();
  void NoteTake(uint32_t player, uint32_t card);
  void NoteDiscard(uint32_t player, uint32_t card, bool knocked);
  void NoteComputerTake(uint32_t discardsBefore, uint32_t upcard, bool took);
  void NoteComputerDiscard(uint32_t discardsBefore);
  void AnnounceWithFigures(uint32_t caption, uint32_t text);
  void LayOpenHumanHand();
  void PlaceLaidOffBesideKnocker();
  uint32_t DrawOwnRandom(uint32_t range);

  GameState& S;
  NxDeck& TheDeck;
  ScoreRecord& TheRecord;
  Presentation& TheView;
  ComputerOpponent* Opponent = nullptr;
  NxRandomGenerator OwnRandom;
  MoveHistory History;
  uint64_t HumanMoveCount = 0;
  uint64_t HandsPlaced = 0;
  bool InIdleStep = false;
  bool LearningFinished = false;
};
