#include <gtest/gtest.h>

// Starting a table, closing it at any moment of a game, and starting again.
#include <filesystem>
#include <functional>
#include <memory>

#include "app/game_save.h"
#include "app/table_start.h"
#include "game/string_table.h"
#include "store/resume_file.h"
#include "player/scripted_player.h"
#include "store/setting_keys.h"
#include "table_fixture.h"
#include "test_files.h"
#include "table_scenario.h"

namespace {

struct StartingTable {
  explicit StartingTable(int32_t seed = 4242) : Table(0, SIMPLE_GIN, false, seed) {}
  HeadlessTable Table;
  ScoreSheet Sheet{Table.Record, SIMPLE_GIN};
  TableParts Parts{Table.Flow, Table.Deck, *Table.Computer, Sheet, Table.View};
};

struct Moment {
  const char* Name;
  uint32_t Variation;
  uint32_t DealType;
  bool InWait;  // the close request arrives during a wait of the computer's move
  std::function<bool(const GameState&, const ScoreRecord&)> Reached;
};

// Plays until the moment is reached and asks to close there (inside the
// wait when the moment is one); the request is refused first and granted
// when repeated. False when the moment never came.
bool PlayAndCloseAt(StartingTable& t, const Moment& moment) {
  bool asked = false;
  for (int step = 0; step < 20000 && !asked; ++step) {
    if (!moment.InWait && moment.Reached(t.Table.State(), t.Table.Record) && step > 40) {
      t.Table.Flow.RequestClose();
      asked = true;
    }
    if (moment.InWait && step > 40) {
      t.Table.View.DuringWaitNumber = static_cast<uint32_t>(t.Table.View.WaitTimes.size()) + 1;
      t.Table.View.DuringWait = [&] {
        if (moment.Reached(t.Table.State(), t.Table.Record)) asked = !t.Table.Flow.RequestClose();
      };
    }
    StepHeadlessGame(t.Table.Flow, *t.Table.Computer);
  }
  t.Table.View.DuringWait = nullptr;
  if (!asked) return false;
  t.Table.Flow.IdleStep();  // the window repeats the request from here
  return t.Table.Flow.RequestClose();
}

}  // namespace

TEST(TableStart, ClosingAtAnyMomentResumesAValidGameWithTheStatistics) {
  const Moment moments[] = {
      {"the computer's draw", STANDARD_GIN, 0, true, [](const GameState& s, const ScoreRecord&) { return s.Play == ComputerTake; }},
      {"the computer's first discard of an eleven/ten deal", SIMPLE_GIN, 1, true,
       [](const GameState& s, const ScoreRecord&) { return s.Play == ComputerDiscard; }},
      {"the computer's discard", OKLAHOMA_GIN, 0, false, [](const GameState& s, const ScoreRecord&) { return s.Play == ComputerDiscard; }},
      {"an announcement", STANDARD_GIN, 1, false,
       [](const GameState& s, const ScoreRecord& r) { return s.Play == HandEnded && !r.GameOver; }},
      {"the learning pause", OKLAHOMA_GIN, 1, false,
       [](const GameState& s, const ScoreRecord& r) { return s.Play == Learning && !r.GameOver; }},
  };
  int32_t seed = 900;
  for (const Moment& moment : moments) {
    SCOPED_TRACE(moment.Name);
    ScratchInstallation install;
    const std::string settingsPath = install.PlayerPath("QUORLA.INI");
    const std::string resumePath = install.PlayerPath("RESUME.QLF");
    uint32_t userWins = 0;
    {
      GameSettings settings;
      settings.Open(settingsPath);
      TableChoices choices;
      choices.Rules.Variation = moment.Variation;
      WriteTableChoices(*settings.Store, choices);
      settings.Prefs.AlwaysResume = 1;
      settings.Prefs.DealType = moment.DealType;
      settings.Prefs.HandSorting = 1;
      StartingTable first(++seed);
      StartOutcome start = StartTable(settings, first.Parts, first.Table.Flow, resumePath);
      EXPECT_TRUE(start.NewGame);
      EXPECT_FALSE(start.Resumed);
      first.Sheet.Stats.Values[1][moment.Variation] = 7;
      ASSERT_TRUE(PlayAndCloseAt(first, moment));
      ASSERT_EQ(CheckTable(first.Table.Flow, first.Table.State(), first.Table.Deck), "");
      EXPECT_TRUE(CloseTable(settings, first.Parts, resumePath).ResumeWritten);
      // Games finished on the way are counted on top.
      userWins = first.Sheet.Stats.Values[1][moment.Variation];
      EXPECT_GE(userWins, 7u);
    }
    GameSettings settings;
    settings.Open(settingsPath);
    StartingTable again(1);
    StartOutcome start = StartTable(settings, again.Parts, again.Table.Flow, resumePath);
    EXPECT_TRUE(start.Resumed);
    EXPECT_FALSE(start.NewGame || start.ResumeFailed);
    EXPECT_EQ(again.Table.State().Variation, moment.Variation);
    EXPECT_EQ(again.Sheet.Stats.Values[1][moment.Variation], userWins);
    EXPECT_EQ(CheckTable(again.Table.Flow, again.Table.State(), again.Table.Deck), "");
    // The resumed game plays on.
    for (int step = 0; step < 400; ++step) {
      StepHeadlessGame(again.Table.Flow, *again.Table.Computer);
      ASSERT_EQ(CheckTable(again.Table.Flow, again.Table.State(), again.Table.Deck), "") << "step " << step;
    }
  }
}

TEST(TableStart, AKeptGameIsResumedOnlyWhenAskedToAndAfterADamagedFileDealsANewGame) {
  ScratchInstallation install;
  const std::string settingsPath = install.PlayerPath("QUORLA.INI");
  const std::string resumePath = install.PlayerPath("RESUME.QLF");
  const auto startAnswering = [&](bool answer) {
    GameSettings settings;  // AlwaysResume is off
    settings.Open(settingsPath);
    auto table = std::make_unique<StartingTable>();
    table->Table.View.ConfirmAnswers.push_back(answer);
    const StartOutcome start = StartTable(settings, table->Parts, table->Table.Flow, resumePath);
    CloseTable(settings, table->Parts, resumePath);
    return std::make_pair(start, table->Table.View.ConfirmedTexts);
  };
  {
    GameSettings settings;
    settings.Open(settingsPath);
    StartingTable first;
    StartOutcome start = StartTable(settings, first.Parts, first.Table.Flow, resumePath);
    EXPECT_TRUE(start.ShowIntroduction);
    EXPECT_FALSE(start.ResumeOffered);
    EXPECT_TRUE(first.Table.View.ConfirmedTexts.empty()) << "nothing to resume: no question";
    ASSERT_TRUE(CloseTable(settings, first.Parts, resumePath).ResumeWritten);
  }
  // No deals a new game and leaves the kept game to Resume Game; yes resumes it.
  const std::string kept = FileText(resumePath);
  auto [declined, asked] = startAnswering(false);
  EXPECT_TRUE(declined.NewGame && declined.ResumeOffered);
  EXPECT_FALSE(declined.Resumed || declined.ResumeFailed);
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].first, KEPT_GAME_CAPTION);
  EXPECT_EQ(asked[0].second, ResourceString(KEPT_GAME_QUESTION));
  EXPECT_TRUE(startAnswering(true).first.Resumed);

  // A close that could not save left the older game set aside, and the
  // settings still claim the resume file: it is put back, with a word.
  std::filesystem::rename(resumePath, resumePath + SET_ASIDE_SUFFIX);
  auto [restored, told] = startAnswering(true);
  EXPECT_TRUE(restored.Resumed);
  ASSERT_EQ(told.size(), 1u);
  EXPECT_EQ(told[0].second.find(ResourceString(SET_ASIDE_GAME_LEAD) + resumePath + SET_ASIDE_SUFFIX), 0u);
  EXPECT_FALSE(std::filesystem::exists(resumePath + SET_ASIDE_SUFFIX));

  // A saved game whose file has gone: no question, the message of old.
  std::filesystem::remove(resumePath);
  {
    GameSettings settings;
    settings.Open(settingsPath);
    StartingTable table;
    EXPECT_TRUE(StartTable(settings, table.Parts, table.Table.Flow, resumePath).NewGame);
    EXPECT_TRUE(table.Table.View.ConfirmedTexts.empty());
    ASSERT_FALSE(table.Table.View.Messages.empty());
    EXPECT_EQ(table.Table.View.Messages.back().Text, "Unable to open file " + resumePath + ". Beginning new game.");
  }

  SettingsStore store("Quorla", settingsPath, true);
  WriteSetting(store, keys::AlwaysResume, 1);
  WriteText(resumePath, ":broken");
  GameSettings settings;
  settings.Open(settingsPath);
  StartingTable again;
  StartOutcome start = StartTable(settings, again.Parts, again.Table.Flow, resumePath);
  EXPECT_TRUE(start.ResumeFailed && start.NewGame);
  EXPECT_TRUE(again.Table.View.ConfirmedTexts.empty()) << "the player always resumes: no question";
  EXPECT_EQ(CheckTable(again.Table.Flow, again.Table.State(), again.Table.Deck), "");
}

TEST(TableStart, ATableMarkedNotToBeSavedKeepsTheSavedGameButStillSavesTheChoices) {
  ScratchInstallation install;
  const std::string settingsPath = install.PlayerPath("QUORLA.INI");
  const std::string resumePath = install.PlayerPath("RESUME.QLF");
  WriteText(resumePath, "the previous saved game");
  SettingsStore store("Quorla", settingsPath, true);
  WriteSetting(store, keys::CanResume, 1);
  GameSettings settings;
  settings.Open(settingsPath);
  StartingTable table;
  TableScenario::State(table.Table).DoNotSave = true;
  EXPECT_TRUE(StartTable(settings, table.Parts, table.Table.Flow, resumePath).Close);
  TableScenario::State(table.Table).CardBackId = 24461;
  EXPECT_FALSE(CloseTable(settings, table.Parts, resumePath).ResumeWritten);
  EXPECT_EQ(FileText(resumePath), "the previous saved game");
  EXPECT_EQ(ReadSetting(store, keys::CanResume), 1u);
  EXPECT_EQ(ReadSetting(store, keys::DeckId), 24461u);
}
