#include <gtest/gtest.h>

// A seeded campaign of random commands at random moments on a whole headless
// table, through the entry points the window uses: the menu and right-button
// commands, the option dialogs' changes, the player configuration commands,
// Resume Game (while the window offers it), closing and starting again (with
// the kept game asked about, after a close whose save failed, or with the
// settings damaged meanwhile), and second copies of the program started on
// the same installation. Commands also arrive inside
// the computer's waits, as they do while the window pumps its messages
// there. After every step the table's invariants are checked.
//
// QUORLA_MONKEY_SEEDS, QUORLA_MONKEY_STEPS and QUORLA_MONKEY_FIRST_SEED run
// a longer campaign than the suite's; QUORLA_LONG=1 (make test-long) runs
// 12 seeds of 4,000 steps.
#include <cstdlib>
#include <map>
#include <memory>
#include <random>
#include <sstream>

#include "app/cardback_change.h"
#include "app/config_claim.h"
#include "app/config_switch.h"
#include "app/dealing_change.h"
#include "app/difficulty_change.h"
#include "app/preferences_change.h"
#include "app/table_start.h"
#include "app/variations_change.h"
#include "game/string_table.h"
#include "game/table_commands.h"
#include "game/text_ids.h"
#include "player/data_paths.h"
#include "player/scripted_player.h"
#include "store/damaged_file.h"
#include "store/player_configs.h"
#include "store/resume_availability.h"
#include "store/resume_file.h"
#include "store/setting_keys.h"
#include "table_fixture.h"
#include "test_files.h"
#include "table_scenario.h"

namespace {

uint32_t FromEnvironment(const char* name, uint32_t fallback) {
  const char* text = std::getenv(name);
  return text && *text ? static_cast<uint32_t>(std::strtoul(text, nullptr, 10)) : fallback;
}

uint32_t GamesCounted(const Statistics& stats) {
  uint32_t games = 0;
  for (uint32_t variation = 0; variation < STATISTIC_VARIATIONS; ++variation)
    games += stats.At(USER_WINS, variation) + stats.At(COMPUTER_WINS, variation);
  return games;
}

using Piles = std::vector<std::vector<uint32_t>>;

Piles PilesOf(const NxDeck& deck) {
  Piles piles;
  for (uint32_t pile : {HUMAN_PILE, COMPUTER_PILE, STOCK_PILE, DISCARD_PILE}) piles.push_back(deck.PileCards(pile));
  return piles;
}

// One table with its score sheet, as the window holds them.
struct Seat {
  Seat(uint32_t level, int32_t seed) : Table(level, SIMPLE_GIN, false, seed) {}
  HeadlessTable Table;
  ScoreSheet Sheet{Table.Record, SIMPLE_GIN};
  TableParts Parts{Table.Flow, Table.Deck, *Table.Computer, Sheet, Table.View};
};

class TableMonkey {
 public:
  explicit TableMonkey(uint32_t seed) : Random(seed) {
    Configs.FreeSpace = [](const std::string&) { return uint64_t{1} << 40; };
    Configs.MakeCurrent();
    Start();
  }

  // One random step; "" while every invariant holds. Stretches of plain
  // play, where games get finished, alternate with storms of commands.
  std::string Step() {
    ++Steps;
    const bool storm = Steps / 250 % 2 == 1;
    const uint32_t roll = Draw(1000);
    if (GameEndsUnannounced() && Draw(3) == 0)
      CloseAndStartAgain();
    else if (roll < 100 && (storm || Draw(10) == 0))
      RandomTableCommand();
    else if (roll < 160 && storm)
      RandomOptionChange();
    else if (roll < 190 && storm)
      RandomConfigurationCommand();
    else if (roll < 200 && storm)
      ResumeGame();
    else if (roll < 206)
      CloseAndStartAgain();
    else if (Flow().HasIdleWork())
      IdleStep();
    else if (!PlayScriptedHumanMove(Flow()) && !Flow().NextHand())
      Flow().NewGame(false, false);
    // A close requested inside a wait is repeated by the next idle step; the
    // window then closes.
    if (T->Table.State().ClosingRequested) CloseAndStartAgain();
    return Failure.empty() ? CheckInvariants() : Failure;
  }

  // The latest actions, for the report of a failure.
  std::string RecentActions() const {
    std::string text;
    for (const std::string& action : Trace) text += action + "\n";
    return text;
  }

  uint64_t Steps = 0;
  uint64_t Restarts = 0;
  uint64_t CommandsInWaits = 0;
  uint64_t GamesFinished = 0;
  uint64_t SecondCopies = 0;
  uint64_t SetAsideGames = 0;
  uint64_t DamagedStarts = 0;

 private:
  GameFlow& Flow() { return T->Table.Flow; }
  // The knock that ended a game has not been announced yet.
  bool GameEndsUnannounced() { return Record().GameOver && T->Table.State().Play == HandEnded; }
  uint32_t Draw(uint32_t range) { return std::uniform_int_distribution<uint32_t>(0, range - 1)(Random); }
  bool Coin() { return Draw(2) == 0; }
  void Note(const std::string& action) {
    const GameState& s = TableScenario::State(T->Table);
    Trace.push_back(std::to_string(Steps) + " " + Configs.NameInUse() + " play " + std::to_string(s.Play) +
                    (Record().GameOver ? " over" : "") + " counted " + std::to_string(GamesCounted(T->Sheet.Stats)) + " of " +
                    std::to_string(ExpectedGames[Configs.NameInUse()]) + (T->Sheet.GameJustEnded() ? " just" : "") + ": " + action);
    if (Trace.size() > 400) Trace.erase(Trace.begin());
  }

  void Start() {
    SettingsMessage = Settings.Open(Configs.SettingsPath());
    T = std::make_unique<Seat>(Settings.Prefs.DifficultyLevel, static_cast<int32_t>(Draw(700000)) + 1);
    T->Table.View.ConfirmAnswers.push_back(Coin());  // the kept game: resume it now, or later
    LastStart = StartTable(Settings, T->Parts, Flow(), Configs.ResumePath());
    T->Table.View.ConfirmAnswers.clear();
    NoteResumeOffer(LastStart.Resumed || LastStart.ResumeFailed);
    StatsSeen = GamesCounted(T->Sheet.Stats);
    SawGameOver = Record().GameOver;
  }

  // What the window's Resume Game command offers after a start or a switch.
  void NoteResumeOffer(bool attempted) {
    Resumable = ResumeAvailability();
    Resumable.CheckSettings(*Settings.Store, Flow().HumanMoves());
    if (attempted) Resumable.NoteAttempt();
  }

  // Sometimes a command is to arrive during one of the next waits.
  void ArmCommandInWait() {
    HeadlessPresentation& view = T->Table.View;
    if (view.DuringWait || Draw(4) != 0) return;
    view.DuringWaitNumber = static_cast<uint32_t>(view.WaitTimes.size()) + 1 + Draw(3);
    view.DuringWait = [this] {
      T->Table.View.DuringWait = nullptr;
      ++CommandsInWaits;
      Note("in a wait:");
      CommandInWait();
    };
  }

  // What a person can do from the menus while the computer waits.
  void CommandInWait() {
    switch (Draw(8)) {
      case 0: RunTableCommand(CM_NEW_GAME); break;
      case 1: ResumeGame(); break;
      case 2:
      case 3: RandomOptionChange(); break;
      case 4:
      case 5: RandomConfigurationCommand(); break;
      case 6: Flow().RequestClose(); break;
      default: RandomTableCommand(); break;
    }
  }

  void IdleStep() {
    ArmCommandInWait();
    // A table whose hand cannot move on any more (a finished game, waiting
    // for New Game) stays still; anything else must reach the person soon.
    uint32_t steps = 0;
    do {
      if (T->Table.State().ClosingRequested) return;
      Flow().IdleStep();
      NoteTheSheet();
      if (++steps > 5000) {
        Failure = "the idle work never ends: play state " + std::to_string(T->Table.State().Play);
        return;
      }
    } while (Flow().HasIdleWork() && Draw(8) != 0);
  }

  void RunTableCommand(uint32_t command) {
    const GameState& s = TableScenario::State(T->Table);
    const TableSituation situation{s, true, s.ScoreSheetShown, Record().GameOver, false, false};
    if (!IsCommandEnabled(command, situation)) return;
    RunWithAnswer(command);
  }

  // Questions (New Game's, Watch's) get a yes three times in four; the hit
  // card may be past the hand's end.
  void RunWithAnswer(uint32_t command) {
    Note("command " + std::to_string(command));
    T->Table.View.ConfirmAnswers.push_back(Draw(4) != 0);
    Flow().RunCommand(command, Draw(12));
    T->Table.View.ConfirmAnswers.clear();
  }

  void RandomTableCommand() {
    static const uint32_t commands[] = {CM_NEXT_HAND,        CM_NEW_GAME,           CM_SCORE,
                                        CM_PASS,             CM_SORT_BY_VALUE,      CM_SORT_BY_SUIT,
                                        CM_WATCH_COMPUTER_HAND, CM_TAKE_STOCK_CARD, CM_TAKE_UPCARD,
                                        CM_DISCARD_THIS_CARD, CM_KNOCK_WITH_THIS_CARD};
    const uint32_t command = commands[Draw(std::size(commands))];
    // Watching takes the game out of the statistics for good: seldom.
    if (command == CM_WATCH_COMPUTER_HAND && Draw(20) != 0) return;
    RunWithAnswer(command);
  }

  void RandomOptionChange() {
    TableParts& parts = T->Parts;
    const uint32_t option = Draw(5);
    Note("option " + std::to_string(option));
    switch (option) {
      case 0: {
        RuleChoices rules = CurrentRuleChoices(T->Table.State());
        rules.Variation = Draw(3);
        rules.GameTarget = Coin() ? 100 : 150;
        if (Coin()) rules.AceRequiresGin = !rules.AceRequiresGin;
        ApplyVariations(rules, parts, Flow());
        break;
      }
      case 1: {
        DealingChoices dealing{Draw(2), Draw(3), Draw(2)};
        ApplyDealing(dealing, Settings.Prefs, parts, Flow());
        break;
      }
      case 2: {
        const DifficultyChoice choice{Draw(DifficultyChoice::MASTER_CHOICE + 1), Draw(6) == 0};
        const ResetAnswer answer = choice.ResetTicked ? (Coin() ? ResetAnswer::YES : ResetAnswer::NO)
                                                      : ResetAnswer::NOT_ASKED;
        ApplyDifficulty(choice, answer, parts, Settings.Prefs);
        break;
      }
      case 3: {
        CardbackChoices backs{24456 + Draw(10), Coin()};
        ApplyCardback(backs, Settings.Prefs, parts, Flow().Settings);
        break;
      }
      default: {
        PreferenceChoices choices = CurrentPreferenceChoices(Settings.Prefs);
        choices.AlwaysResume = Coin();
        ApplyPreferenceChoices(choices, Settings.Prefs);
        break;
      }
    }
  }

  void RandomConfigurationCommand() {
    static const char* const names[] = {"bob", "amy", "zed"};
    switch (Draw(4)) {
      case 3: SecondCopyStarts(); break;
      case 0: Configs.AddConfiguration(names[Draw(3)]); break;
      case 1: {
        std::vector<std::string> all = Configs.Names();
        all.push_back(PlayerConfigs::DEFAULT_NAME);
        Switch(all[Draw(static_cast<uint32_t>(all.size()))], true);
        break;
      }
      default: {
        const std::vector<std::string> all = Configs.Names();
        if (all.empty()) return;
        const std::string name = all[Draw(static_cast<uint32_t>(all.size()))];
        ConfigBoxes.ConfirmAnswers.push_back(Draw(4) != 0);
        const PlayerConfigs::AfterRemoval after = Configs.RemoveConfigurations({name});
        ConfigBoxes.ConfirmAnswers.clear();
        if (!std::filesystem::exists(Configs.DirectoryOf(name))) ExpectedGames.erase(name);
        // The configuration in use is gone: nothing is saved into it.
        if (after != PlayerConfigs::AfterRemoval::CARRY_ON) Switch(PlayerConfigs::DEFAULT_NAME, false);
        break;
      }
    }
  }

  void Switch(const std::string& name, bool saveFirst) {
    const std::string old = Configs.NameInUse();
    if (name == old) return;
    Note("switch to " + name + (saveFirst ? "" : " without saving"));
    NoteTheSheet();
    T->Table.View.ConfirmAnswers.push_back(Coin());
    const SwitchOutcome outcome = SwitchConfiguration(Configs, name, Settings, T->Parts, Flow(), saveFirst);
    T->Table.View.ConfirmAnswers.clear();
    if (!outcome.Switched) {
      Failure = "the switch to " + name + " was refused";
      return;
    }
    NoteResumeOffer(outcome.ResumeAttempted);
    if (saveFirst) CheckSavedFiles(old);
    StatsSeen = GamesCounted(T->Sheet.Stats);
    SawGameOver = Record().GameOver;
  }

  void ResumeGame() {
    if (!Resumable.IsOffered(Flow().HumanMoves())) return;
    Resumable.NoteAttempt();
    // Now and then the file went missing or was cut short since it was
    // saved: the new game the message announces must be dealt cleanly.
    const std::string path = Configs.ResumePath();
    const uint32_t damage = Draw(6);
    std::error_code ignored;
    if (damage == 0) std::filesystem::remove(path, ignored);
    if (damage == 1) std::filesystem::resize_file(path, std::filesystem::file_size(path, ignored) / 2, ignored);
    Note("resume" + std::string(damage == 0 ? " a missing file" : damage == 1 ? " a cut file" : ""));
    const bool restored = ResumeGameOnCommand(T->Parts, Flow(), Configs.ResumePath());
    SawGameOver = Record().GameOver;
    if (restored && !Flow().Moves().Lines().empty()) Failure = "the restored game tells the moves of the one it replaced";
  }

  // Every file of a configuration's directory, for comparing before and after.
  std::map<std::string, std::vector<unsigned char>> FilesOf(const std::string& name) {
    std::map<std::string, std::vector<unsigned char>> files;
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(Configs.DirectoryOf(name), ignored))
      if (entry.is_regular_file(ignored)) files[entry.path().filename().string()] = ReadAll(entry.path().string());
    return files;
  }

  // The launcher clicked twice: a second copy comes up on the same
  // installation. On the configuration in use it is told so and leaves,
  // writing nothing; on another one it plays there, and this copy may not
  // switch to that one meanwhile.
  void SecondCopyStarts() {
    std::vector<std::string> all = Configs.Names();
    all.push_back(PlayerConfigs::DEFAULT_NAME);
    const std::string wanted = all[Draw(static_cast<uint32_t>(all.size()))];
    Note("a second copy starts on " + wanted);
    ++SecondCopies;
    const auto before = FilesOf(Configs.NameInUse());
    HeadlessPresentation boxes;
    PlayerConfigs second(Install.Path(""), boxes);
    second.Select(wanted);
    const auto claimed = ClaimConfigurationAtStart(second, boxes, [] { return std::nullopt; });
    // A real second copy is another process: the current configuration of
    // this one stays its own.
    data_paths::SetConfigurationDirectory(Configs.DirectoryOf(Configs.NameInUse()));
    if (wanted == Configs.NameInUse()) {
      if (claimed || boxes.Messages.empty() || boxes.Messages.back().Caption != CONFIG_IN_USE_CAPTION)
        Failure = "a second copy was let onto the configuration in use";
      else if (FilesOf(Configs.NameInUse()) != before)
        Failure = "a second copy wrote the files of the configuration in use";
      return;
    }
    if (!claimed) {
      Failure = "a second copy could not have the free configuration " + wanted;
      return;
    }
    const std::string old = Configs.NameInUse();
    T->Table.View.Messages.clear();
    SwitchConfiguration(Configs, wanted, Settings, T->Parts, Flow(), true);
    if (Configs.NameInUse() != old || T->Table.View.Messages.empty() ||
        T->Table.View.Messages.back().Caption != CONFIG_IN_USE_CAPTION)
      Failure = "this copy switched to " + wanted + ", which the second copy uses";
  }

  // What a close whose resume file could not be replaced leaves: the older
  // game set aside, and CanResume as the settings could or could not record.
  void FailTheResumeSave() {
    const std::string path = Configs.ResumePath();
    std::error_code ignored;
    std::filesystem::rename(path, path + SET_ASIDE_SUFFIX, ignored);
    if (Coin()) WriteSetting(*Settings.Store, keys::CanResume, 0);
  }

  // A run of NUL bytes, or random bytes, through the settings file while the
  // program was away: it is set aside as it was, with a word.
  void DamageTheSettings() {
    const std::string path = Configs.SettingsPath();
    std::vector<unsigned char> bytes = ReadAll(path);
    if (bytes.empty()) return;
    const size_t at = Draw(static_cast<uint32_t>(bytes.size()));
    const size_t length = 1 + Draw(40);
    for (size_t i = at; i < std::min(bytes.size(), at + length); ++i)
      bytes[i] = Coin() ? 0 : static_cast<unsigned char>(1 + Draw(8));
    WriteText(path, std::string(bytes.begin(), bytes.end()));
    DamagedSettings = bytes;
  }

  // The window's close: refused once, repeated from the idle step, granted;
  // the table saves and goes, and the program starts again.
  void CloseAndStartAgain() {
    Note("close");
    if (T->Table.View.DuringWait && Flow().RequestClose()) return;
    Flow().RequestClose();
    Flow().IdleStep();
    if (!Flow().RequestClose()) {
      Failure = "a repeated close request was refused";
      return;
    }
    NoteTheSheet();
    CloseTable(Settings, T->Parts, Configs.ResumePath());
    const bool resumable = IsResumable(*Settings.Store);
    const Piles saved = PilesOf(T->Table.Deck);
    T.reset();
    CheckSavedFiles(Configs.NameInUse());
    ++Restarts;
    const uint32_t mishap = Draw(12);
    const bool setAside = resumable && mishap == 0;
    if (setAside) FailTheResumeSave();
    SetAsideGames += setAside ? 1 : 0;
    DamagedSettings.clear();
    if (mishap == 1) DamageTheSettings();
    DamagedStarts += DamagedSettings.empty() ? 0 : 1;
    Start();
    if (!DamagedSettings.empty()) {
      CheckDamagedSettingsSetAside();
      return;
    }
    if (setAside && !ToldAboutTheSetAsideGame()) {
      Failure = "the game a failed save set aside was not offered back with a word";
      return;
    }
    if (!resumable) return;
    // Resumed at the start, or declined there and still offered.
    if (!LastStart.Resumed) {
      if (LastStart.ResumeFailed || !Resumable.IsOffered(Flow().HumanMoves())) {
        Failure = LastStart.ResumeFailed ? "the saved game did not resume"
                                         : "a kept game the person declined is not offered by Resume Game";
        return;
      }
      Resumable.NoteAttempt();
      if (!ResumeGameOnCommand(T->Parts, Flow(), Configs.ResumePath())) {
        Failure = "the saved game did not resume";
        return;
      }
    }
    if (PilesOf(T->Table.Deck) != saved) Failure = "the resumed piles differ from the closed table's";
  }

  // What the window's score sheet does when it draws: a finished game is
  // counted the first time its end is drawn.
  void NoteTheSheet() {
    const ScoreRecord& record = Record();
    if (record.GameOver && !SawGameOver) {
      ++GamesFinished;
      Note("game over");
      if (!record.Watched && record.ComputeFinalTotals().Result != GAME_TIED) ++ExpectedGames[Configs.NameInUse()];
    }
    SawGameOver = record.GameOver;
    if (T->Table.State().ScoreSheetShown && Draw(3) == 0) T->Sheet.DrawnLayout();
  }

  // The configuration's saved files read back, and its statistics hold
  // every finished game exactly once.
  void CheckSavedFiles(const std::string& name) {
    if (!Failure.empty() || !std::filesystem::exists(Configs.DirectoryOf(name))) return;
    SettingsStore store("Quorla", Configs.DirectoryOf(name) + PlayerConfigs::SETTINGS_FILE, true);
    if (IsResumable(store)) {
      const std::string problem = CheckResumeBytes(ReadAll(Configs.DirectoryOf(name) + RESUME_FILE));
      if (!problem.empty()) Failure = name + "'s resume file does not read back: " + problem;
    }
    Statistics stats;
    stats.Load(store);
    if (GamesCounted(stats) != ExpectedGames[name])
      Failure = name + " counted " + std::to_string(GamesCounted(stats)) + " games of " +
                std::to_string(ExpectedGames[name]) + " finished";
  }

  bool ToldAboutTheSetAsideGame() {
    const std::string lead = ResourceString(SET_ASIDE_GAME_LEAD);
    const HeadlessPresentation& view = T->Table.View;
    for (const auto& [caption, text] : view.ConfirmedTexts)
      if (text.find(lead) == 0) return true;
    for (const auto& shown : view.Messages)
      if (shown.Text.find(lead) == 0) return true;
    return false;
  }

  // The damaged file is kept aside byte for byte, and said; the statistics
  // start from what could be read of it.
  void CheckDamagedSettingsSetAside() {
    const std::string path = Configs.SettingsPath();
    if (SettingsMessage.empty())
      Failure = "damaged settings were used without a word";
    else if (ReadAll(path + DamagedFile::DAMAGED_SUFFIX) != DamagedSettings)
      Failure = "the damaged settings were not kept aside as they were";
    ExpectedGames[Configs.NameInUse()] = GamesCounted(T->Sheet.Stats);
    StatsSeen = GamesCounted(T->Sheet.Stats);
    // The kept game may have lost its CanResume line with the damage.
    std::error_code ignored;
    std::filesystem::remove(path + DamagedFile::DAMAGED_SUFFIX, ignored);
  }

  std::string CheckInvariants() {
    NoteTheSheet();
    const GameState& s = TableScenario::State(T->Table);
    std::string problem = CheckTable(Flow(), s, T->Table.Deck);
    if (!problem.empty()) return problem;
    const uint32_t counted = GamesCounted(T->Sheet.Stats);
    if (counted < StatsSeen) return "the statistics went down";
    if (counted > ExpectedGames[Configs.NameInUse()]) return "a game was counted twice";
    StatsSeen = counted;
    if (!Flow().HasIdleWork()) {
      // The table waits for the person: a move must be open to them.
      const bool canMove = (s.Play == HumanTake && (StockCardMayBeTaken(s.Offer) || UpcardMayBeTaken(s.Offer))) ||
                           s.Play == HumanDiscard || s.Play == Learning;
      if (!canMove) return "the table waits for nobody in play state " + std::to_string(s.Play);
    }
    return "";
  }

  ScoreRecord& Record() { return T->Table.Record; }

  std::mt19937 Random;
  ScratchInstallation Install;
  HeadlessPresentation ConfigBoxes;
  PlayerConfigs Configs{Install.Path(""), ConfigBoxes};
  GameSettings Settings;
  std::unique_ptr<Seat> T;
  ResumeAvailability Resumable;
  StartOutcome LastStart;
  std::string SettingsMessage;
  std::vector<unsigned char> DamagedSettings;
  std::map<std::string, uint32_t> ExpectedGames;
  uint32_t StatsSeen = 0;
  bool SawGameOver = false;
  std::string Failure;
  std::vector<std::string> Trace;
};

}  // namespace

TEST(TableMonkey, RandomCommandsAtRandomMomentsNeverCorruptOrLoseAGame) {
  const bool longMode = FromEnvironment("QUORLA_LONG", 0) != 0;
  const uint32_t seeds = FromEnvironment("QUORLA_MONKEY_SEEDS", longMode ? 12 : 3);
  const uint32_t steps = FromEnvironment("QUORLA_MONKEY_STEPS", longMode ? 4000 : 1500);
  const uint32_t first = FromEnvironment("QUORLA_MONKEY_FIRST_SEED", 1);
  uint64_t total = 0, restarts = 0, inWaits = 0, games = 0, seconds = 0, setAside = 0, damaged = 0;
  for (uint32_t seed = first; seed < first + seeds; ++seed) {
    TableMonkey monkey(seed);
    for (uint32_t step = 0; step < steps; ++step) {
      const std::string problem = monkey.Step();
      ASSERT_EQ(problem, "") << "seed " << seed << ", step " << step << ", after:\n" << monkey.RecentActions();
    }
    total += monkey.Steps;
    restarts += monkey.Restarts;
    inWaits += monkey.CommandsInWaits;
    games += monkey.GamesFinished;
    seconds += monkey.SecondCopies;
    setAside += monkey.SetAsideGames;
    damaged += monkey.DamagedStarts;
  }
  std::ostringstream summary;
  summary << seeds << " seeds, " << total << " steps, " << inWaits << " commands inside waits, " << restarts
          << " restarts (" << setAside << " after a failed save, " << damaged << " with damaged settings), "
          << seconds << " second copies, " << games << " games finished";
  RecordProperty("campaign", summary.str());
  std::printf("table monkey: %s\n", summary.str().c_str());
}
