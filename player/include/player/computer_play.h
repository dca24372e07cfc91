#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "game/gin_table.h"
#include "game/opponent.h"
#include "game/rules.h"
#include "player/network_data_files.h"
#include "player/position_network.h"

class ComputerDecider;
class DecisionTimes;
class MasterDecider;
class NxFile;
class NxObjectReader;
class NxObjectWriter;
class NxTemporalDifferenceNet;
class TrialWatcher;

// The computer opponent. It keeps two position vectors up to date during a
// hand, chooses its takes, discards and knocks by asking a temporal-
// difference network for the value of each candidate position, learns from
// every hand, and keeps one pair of networks per difficulty level in the
// network data files.
class ComputerPlay : public ComputerOpponent {
 public:
  using Vector = std::array<double, POSITION_CELLS>;
  // The feature cells of column 13.
  static constexpr uint32_t PROGRESS = 13, DREW_DISCARD = 27, KNOCK_LIMIT = 41, HAND_VALUE = 55;
  // What a card's cell says for the seat: in its hand, or gone by (passed
  // over or thrown); and what the draw cell says of the last draw.
  static constexpr double CELL_HELD = 0.9, CELL_GONE = -0.2;
  static constexpr double FROM_DISCARD_PILE = 0.9, FROM_STOCK = 0.1;
  static constexpr uint32_t MAX_OBSERVATIONS = 32;
  // Level 4, the top of the four stored levels; Master plays with its networks.
  static constexpr uint32_t TOP_LEVEL = NUM_LEVELS - 1;
  static constexpr uint32_t NO_PLAN = NoCard;
  // No hand comes anywhere near this many rounds; a stored count above it is damage.
  static constexpr uint32_t MAX_ROUNDS = 10000;

  // seat 1 is the computer's seat; a player for the human seat (matches
  // between levels) uses seat 0 and makes its moves through the flow.
  explicit ComputerPlay(GinTable& table, uint32_t level = 0, uint32_t seat = COMPUTER_SEAT);
  ~ComputerPlay() override;

  ComputerPlay(const ComputerPlay&) = delete;
  ComputerPlay& operator=(const ComputerPlay&) = delete;

  // --- life cycle
  // Builds the networks, loads the current level's weights and replays a
  // resumed hand. Sets the table's closing flags when no weights load.
  void Init();
  void BuildNets();
  uint32_t Level() const { return CurrentLevel; }
  // The level dialog: saves the old level unless resetting, loads the new one.
  void ChangeLevel(uint32_t level, bool reset);
  // After a configuration switch: makes `level` current and loads it from
  // the new configuration's own file, falling back to the default file only
  // when that fails. The old player's weights are not saved here.
  void ReloadForConfiguration(uint32_t level);

  // --- position encoding
  void SelectNet(uint32_t choice) override;
  void NoteCard(uint32_t owner, uint32_t card, uint32_t view) override;
  void CountRound() override { ++RoundCount; }
  void StartHand() override;
  void BuildHumanView(uint32_t winner, uint32_t previousDealer) override;
  int32_t HandPoints(uint32_t player, uint32_t count) const;
  void RotateSuits(bool observations);
  // Whether `value` is one the encoding can put into `cell` (0 for a
  // feature not yet set).
  static bool IsCellValue(uint32_t cell, double value);
  static bool IsPosition(const Vector& position);
  static uint32_t CellOf(uint32_t card) { return SuitOf(card) * 14 + RankOf(card); }

  // --- move selection
  bool TakeDecision(uint32_t player) override;
  void DiscardDecision(uint32_t player) override;
  bool WantsUpcard(uint32_t player);
  // Hands the choices of take, discard and knock to `decider` (nullptr:
  // back to the networks); the cards, the position vectors and learning
  // go on as before. The decider must outlive its use.
  void SetDecider(ComputerDecider* decider) { Decider = decider; }
  // Master, the fifth level: at the top level, a search of every decision
  // that keeps this player's own choice unless another clearly beats it.
  // The networks, their learning and their data stay the top level's. Any
  // other level turns it off. Its samples follow the deck's shuffle, so a
  // seeded table plays the same way again.
  void PlayAsMaster(bool on);
  bool PlaysAsMaster() const;
  // How long Master's decisions took; nullptr when it never played here.
  const DecisionTimes* MasterTimes() const;
  // The discard of the position rated best (or planned with the take).
  uint32_t ChooseDiscard();
  // For a seat that moves through the flow: chooses the discard, notes it
  // and the position after it (trained when `train`), and whether to knock
  // with it. The caller then discards or knocks.
  struct DiscardPlan {
    uint32_t Position;
    bool Knock;
  };
  DiscardPlan PlanDiscard(bool train);
  // PlanDiscard for the discard at position k, chosen by someone else.
  DiscardPlan NoteDiscard(uint32_t k, bool train);
  // Notes the position after the seat took the upcard or left it, whatever
  // WantsUpcard said; a discard planned with a take not made is dropped.
  void NoteUpcardChoice(uint32_t upcard, bool take);
  // Notes a card this seat took; fromDiscard for the top of the discard pile.
  void NoteOwnTake(uint32_t card, bool fromDiscard);
  void ForgetPlannedDiscard() { PlannedDiscard = NO_PLAN; }
  // One discard tried while choosing: the network's value of the position
  // with `Dropped` thrown and, at the top level, the deadwood with `Taken`
  // kept in its place and the meld reports of the hand with and without it.
  struct DiscardCandidate {
    double Value;
    int32_t Deadwood;
    uint32_t Taken;   // the card taken this turn, or one past the last card
    uint32_t Dropped;
    bool First;       // the first one tried is the best so far whatever it is worth
    bool Taking;      // weighing whether to take the upcard at all
    const uint32_t* ReportWithTaken;
    const uint32_t* ReportBefore;
  };
  // The best candidate so far: its rating and (top level) its deadwood.
  struct BestCandidate {
    double Value;
    int32_t Deadwood;
  };
  bool RateCandidate(DiscardCandidate candidate, BestCandidate& best, uint32_t knockLimit) const;
  int32_t DeadwoodReport(const unsigned* cards, uint32_t* list);
  // Shows every rated position to `watcher` (nullptr: nobody), for fitting
  // the networks to a judgement of the positions play really meets.
  void WatchTrials(TrialWatcher* watcher) { Watcher = watcher; }
  // Benchmarks may ask for the time spent in the meld search of decisions.
  void SetMeldSearchTiming(bool on) { TimeMeldSearch = on; }
  double MeldSearchSeconds() const { return MeldSearchTime; }

  // --- learning
  void RecordObservation();
  void HandOutcome(double computerOutcome) override;
  // Tells the watcher, if any, the outcome of a hand, learned from or not.
  void WatchOutcome(double computerOutcome);
  bool LearnStep(PlayState state, double computerOutcome, double humanOutcome) override;
  void ReplayObservations();

  // --- data files
  bool LoadNets(uint32_t level, bool fromDefault);
  // Reads every level from this one file and never writes (matches between
  // fixed networks).
  void UseFixedDataFile(const std::string& path) { DataFiles.UseFixedFile(path); }
  void SaveNets(uint32_t level);
  // The close's save of the current level, whose failure the close reports
  // with the other files; the player then goes without saving again.
  bool SaveNetsOnClose();
  bool CopyDefaultData();
  void ApplyLevelRates(uint32_t level);

  // --- resume stream
  void Write(NxObjectWriter& out) const;
  // False, with the reader's error set, on a damaged block; nothing changes then.
  bool Read(NxObjectReader& in, uint32_t streamVersion);

  // --- read access
  const Vector& GetComputerView() const { return ComputerView; }
  const Vector& GetHumanView() const { return HumanView; }
  Vector& MutableComputerView() { return ComputerView; }
  uint32_t GetNetChoice() const { return NetChoiceValue; }
  NxTemporalDifferenceNet* GetNet(uint32_t choice) const { return choice == LOW_NET ? LowNet : HighNet; }
  NxTemporalDifferenceNet* GetCurrentNet() const { return CurrentNet; }
  uint32_t GetRoundCount() const { return RoundCount; }
  uint32_t GetObservationCount() const { return ObservationCount; }
  uint32_t GetOwnPasses() const { return OwnPasses; }
  uint32_t GetHumanPasses() const { return HumanPasses; }
  uint32_t GetReplayPosition() const { return ReplayPosition; }
  uint32_t GetPlannedDiscard() const { return PlannedDiscard; }
  bool AreNetsValid() const { return NetsValid; }
  bool IsReplayPending() const { return ReplayPending; }

 private:

  static double HandValueFeature(int32_t points);
  static double ProgressFeature(uint32_t count);
  static double KnockLimitFeature(uint32_t limit);
  double Evaluate();
  // WantsUpcard, or the decider's answer with the position noted as the
  // networks would have noted it.
  bool TakesUpcard(uint32_t player);
  uint32_t RateDiscards(unsigned* cards, uint32_t count, uint32_t taken, int32_t handValue, bool taking,
                        BestCandidate& best, const uint32_t* reportBefore);
  void TakeTopDiscard();
  void DrawStockCard();
  // Moves the card on top of `pile` into the computer's hand as a visible
  // take; false when a wait was abandoned and the card stays where it is.
  bool AnimateTake(uint32_t pile, TPoint showAt, SelectionKind kind);
  bool TryToKnock();
  void FailDataLoad();
  void DeleteNets();
  void EnsureObservationStore();

  uint32_t OwnPile() const { return PileOf(Seat); }
  uint32_t OtherPile() const { return PileOf(OtherSeat(Seat)); }

  GinTable& Table;
  uint32_t CurrentLevel;
  uint32_t Seat;
  NetworkDataFiles DataFiles;
  NxTemporalDifferenceNet* LowNet = nullptr;
  NxTemporalDifferenceNet* HighNet = nullptr;
  NxTemporalDifferenceNet* CurrentNet = nullptr;
  uint32_t NetChoiceValue = HIGH_NET;
  Vector ComputerView{};
  Vector HumanView{};
  uint32_t RoundCount = 0;
  uint32_t ObservationCount = 0;
  uint32_t OwnPasses = 0;
  uint32_t HumanPasses = 0;
  uint32_t ReplayPosition = 0;
  uint32_t PlannedDiscard = NO_PLAN;
  double LastDrawFeature = 0.1;
  std::unique_ptr<Vector[]> ObservationStore;
  bool NetsValid = true;
  bool SavedOnClose = false;
  bool ReplayPending = false;
  bool Level4Missing = false;
  bool TimeMeldSearch = false;
  double MeldSearchTime = 0.0;
  TrialWatcher* Watcher = nullptr;
  ComputerDecider* Decider = nullptr;
  std::unique_ptr<MasterDecider> Master;
};
