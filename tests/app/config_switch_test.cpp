#include "app/config_switch.h"

#include <gtest/gtest.h>

// Switching player configurations with a game on the table.
#include "app/config_claim.h"
#include "app/game_save.h"
#include "configs_fixture.h"
#include "game/text_ids.h"
#include "player/data_paths.h"
#include "player/scripted_player.h"
#include "store/resume_file.h"
#include "store/setting_keys.h"
#include "table_fixture.h"
#include "table_scenario.h"

namespace fs = std::filesystem;

namespace {

// A table in play under the default configuration, with its settings open.
struct SwitchFixture : ConfigsFixture {
  SwitchFixture() {
    Configs.MakeCurrent();
    Settings.Open(Configs.SettingsPath());
  }
  HeadlessTable Table;
  ScoreSheet Sheet{Table.Record, STANDARD_GIN};
  TableParts Parts{Table.Flow, Table.Deck, *Table.Computer, Sheet, Table.View};
  GameSettings Settings;
};

}  // namespace

TEST_F(SwitchFixture, SwitchingSavesTheOldGameAndStartsOrResumesTheNewOne) {
  Table.Flow.NewGame(false, false);
  ASSERT_TRUE(Configs.AddConfiguration("bob"));
  SettingsStore bobSettings("Quorla", Dir() + "BOB/QUORLA.INI", true);
  WriteSetting(bobSettings, keys::GinVariation, OKLAHOMA_GIN);
  WriteSetting(bobSettings, keys::GameTarget, 250);

  SwitchOutcome toBob = SwitchConfiguration(Configs, "bob", Settings, Parts, Table.Flow, true);
  EXPECT_TRUE(toBob.Switched);
  EXPECT_FALSE(toBob.Resumed);
  EXPECT_EQ(ReadSetting(*Settings.Store, keys::FirstPlay), 0u);
  EXPECT_EQ(Table.State().Variation, OKLAHOMA_GIN);
  EXPECT_EQ(Table.State().GameTarget, 250u);
  EXPECT_EQ(Sheet.ScrollRange(), 50u);
  EXPECT_EQ(Table.Record.NumScores, 0u);
  EXPECT_EQ(data_paths::ConfigurationDirectory(), Dir() + "BOB/");
  // The old configuration got the game and the settings.
  SettingsStore defaultSettings("Quorla", Install.Path("QUORLA.INI"), true);
  EXPECT_TRUE(IsResumable(defaultSettings));
  EXPECT_TRUE(fs::exists(Install.Path("RESUME.QLF")));

  const std::vector<uint8_t> bobsGame = ResumeBytes(Parts);
  WriteSetting(defaultSettings, keys::AlwaysResume, 1);
  SwitchOutcome back = SwitchConfiguration(Configs, "Default", Settings, Parts, Table.Flow, true);
  EXPECT_TRUE(back.Resumed);
  EXPECT_EQ(Table.State().Variation, STANDARD_GIN);
  EXPECT_TRUE(IsResumable(bobSettings));
  EXPECT_FALSE(SwitchConfiguration(Configs, "Default", Settings, Parts, Table.Flow, true).Switched);

  Settings.Prefs.AlwaysResume = 1;
  WriteSetting(bobSettings, keys::AlwaysResume, 1);
  EXPECT_TRUE(SwitchConfiguration(Configs, "bob", Settings, Parts, Table.Flow, true).Resumed);
  EXPECT_EQ(ResumeBytes(Parts), bobsGame);
}

TEST_F(SwitchFixture, ASwitchDuringTheComputersDrawAbandonsItsMove) {
  Table.View.Watch(&Table.State());
  ASSERT_TRUE(Configs.AddConfiguration("bob"));
  TableScenario::State(Table).Dealer = 0;  // the computer begins
  Table.Flow.DealHand();
  TableScenario::State(Table).Offer = FIRST_PLAYER_TAKES_STOCK;  // it must draw: a take with waits
  Table.View.DuringWaitNumber = static_cast<uint32_t>(Table.View.WaitTimes.size()) + 1;
  Table.View.DuringWait = [&] { SwitchConfiguration(Configs, "bob", Settings, Parts, Table.Flow, true); };
  Table.Flow.IdleStep();
  EXPECT_EQ(Configs.NameInUse(), "bob");
  EXPECT_EQ(Table.Deck.CardsInPile(COMPUTER_PILE), 10u);
  EXPECT_EQ(Table.Deck.CardsInPile(HUMAN_PILE), 10u);
  EXPECT_EQ(CheckTable(Table.Flow, Table.State(), Table.Deck), "");
  // The new deal plays on to the end of its hand.
  for (int step = 0; step < 2000 && !Table.State().HandOver; ++step) {
    StepHeadlessGame(Table.Flow, *Table.Computer);
    ASSERT_EQ(CheckTable(Table.Flow, Table.State(), Table.Deck), "") << "step " << step;
  }
  EXPECT_TRUE(Table.State().HandOver);
}

TEST_F(SwitchFixture, ASwitchToAnotherLevelUsesThePlayersOwnNetworksAndTheLevelIsSaved) {
  Table.Flow.NewGame(false, false);
  ASSERT_TRUE(Configs.AddConfiguration("Mary Ann"));
  const std::string marysSettings = Dir() + "MARY ANN/QUORLA.INI";
  {
    SettingsStore mary("Quorla", marysSettings, true);
    WriteSetting(mary, keys::DifficultyLevel, 2);
  }
  // Without the default file only the player's own file can be read.
  fs::remove(Install.Path("QLDEFLT.QLF"));
  ASSERT_TRUE(SwitchConfiguration(Configs, "Mary Ann", Settings, Parts, Table.Flow, false).Switched);
  EXPECT_FALSE(Table.State().ClosingRequested);
  EXPECT_TRUE(Table.View.Messages.empty()) << Table.View.Messages.back().Text;
  EXPECT_EQ(Table.Computer->Level(), 2u);

  Table.Computer->ChangeLevel(3, false);
  SaveGameState(Parts, *Settings.Store, Settings.Prefs, Configs.ResumePath(), false);
  SettingsStore reread("Quorla", marysSettings, true);
  EXPECT_EQ(ReadSetting(reread, keys::DifficultyLevel), 3u);
}

// A second copy on the same installation: another set of configurations
// with its own lock, as a second process would hold it.
TEST_F(SwitchFixture, AConfigurationAnotherCopyUsesIsNeitherClaimedNorSwitchedTo) {
  ASSERT_TRUE(Configs.AddConfiguration("bob"));
  Table.Flow.NewGame(false, false);
  RecordedMessages secondBoxes;
  PlayerConfigs second(Dir(), secondBoxes);

  // Default is taken: the second copy is told and chooses bob instead;
  // declining to choose leaves.
  std::vector<std::string> choices = {"bob"};
  const auto chooseAgain = [&]() -> std::optional<std::string> {
    if (choices.empty()) return std::nullopt;
    std::string next = choices.back();
    choices.pop_back();
    return next;
  };
  std::vector<std::string> calledForward;
  const auto callForward = [&](const std::string& directory) { calledForward.push_back(directory); };
  EXPECT_EQ(ClaimConfigurationAtStart(second, secondBoxes, chooseAgain, callForward),
            std::optional<std::string>("bob"));
  EXPECT_EQ(calledForward, std::vector<std::string>{Dir()});
  ASSERT_EQ(secondBoxes.Messages.size(), 1u);
  EXPECT_EQ(secondBoxes.Messages[0].Text, second.InUseMessage("Default", CONFIG_IN_USE_CHOOSE_ANOTHER));
  {
    RecordedMessages thirdBoxes;
    PlayerConfigs third(Dir(), thirdBoxes);
    third.Select("bob");
    EXPECT_EQ(ClaimConfigurationAtStart(third, thirdBoxes, chooseAgain), std::nullopt);
  }

  // This copy may not switch to bob: nothing is saved, nothing changes.
  const std::vector<uint8_t> table = ResumeBytes(Parts);
  const std::string bobsSettings = FileText(Dir() + "BOB/QUORLA.INI");
  const SwitchOutcome refused = SwitchConfiguration(Configs, "bob", Settings, Parts, Table.Flow, true);
  EXPECT_FALSE(refused.Switched);
  EXPECT_EQ(Configs.NameInUse(), "Default");
  EXPECT_EQ(ResumeBytes(Parts), table);
  EXPECT_FALSE(fs::exists(Install.Path("RESUME.QLF"))) << "the refusal comes before the save";
  EXPECT_EQ(FileText(Dir() + "BOB/QUORLA.INI"), bobsSettings);
  ASSERT_FALSE(Table.View.Messages.empty());
  EXPECT_EQ(Table.View.Messages.back().Text, Configs.InUseMessage("bob", CONFIG_IN_USE_NOT_SWITCHED));
}
