#include <gtest/gtest.h>

// The option dialogs' "apply what changed" on a whole headless table.
#include <algorithm>
#include <vector>

#include "app/card_faces_change.h"
#include "app/cardback_change.h"
#include "app/dealing_change.h"
#include "app/difficulty_change.h"
#include "app/preferences_change.h"
#include "app/variations_change.h"
#include "player/network_data.h"
#include "player/scripted_player.h"
#include "table_fixture.h"
#include "test_files.h"
#include "table_scenario.h"

namespace {

struct OptionTable {
  explicit OptionTable(uint32_t variation = STANDARD_GIN) : Table(0, variation, false, 777) {
    TableScenario::State(Table).GameTarget = 100;
    Table.Flow.NewGame(false, false);
  }
  HeadlessTable Table;
  ScoreSheet Sheet{Table.Record, Table.State().Variation};
  TableParts Parts{Table.Flow, Table.Deck, *Table.Computer, Sheet, Table.View};
  Preferences Prefs;

  // Plays until a hand has been scored and the next one dealt.
  void PlayIntoSecondHand() {
    for (int step = 0; step < 5000 && (Table.Record.NumScores == 0 || Table.State().HandOver); ++step)
      StepHeadlessGame(Table.Flow, *Table.Computer);
    ASSERT_GT(Table.Record.NumScores, 0u);
  }
  std::vector<uint32_t> Hand() const { return Table.Deck.PileCards(HUMAN_PILE); }
};

std::string LevelBlock(const std::string& path, uint32_t level) {
  return FileText(path).substr(level * 16024, 16024);
}

}  // namespace

TEST(VariationsChange, OnlyARealChangeCostsTheGame) {
  ScratchInstallation install;
  OptionTable t;
  t.PlayIntoSecondHand();
  const uint32_t rows = t.Table.Record.NumScores;

  WindowUpdate same = ApplyVariations(CurrentRuleChoices(t.Table.State()), t.Parts, t.Table.Flow);
  EXPECT_FALSE(same.NewGameStarted || same.RebuildTitle || same.Redraw);
  EXPECT_EQ(t.Table.Record.NumScores, rows);

  // Values the dialog cannot offer change nothing either.
  RuleChoices odd = CurrentRuleChoices(t.Table.State());
  odd.GameTarget = 123;
  odd.Variation = 3;
  EXPECT_FALSE(ApplyVariations(odd, t.Parts, t.Table.Flow).NewGameStarted);
  EXPECT_EQ(t.Table.State().GameTarget, 100u);
  EXPECT_EQ(t.Table.State().Variation, uint32_t{STANDARD_GIN});

  // Only the target: a new game all the same, with the sheet's scale.
  RuleChoices longer = CurrentRuleChoices(t.Table.State());
  longer.GameTarget = 500;
  // The window asks before a change that costs an unfinished game, and only then.
  EXPECT_FALSE(VariationsAbandonGame(CurrentRuleChoices(t.Table.State()), t.Table.State(), t.Table.Record));
  EXPECT_FALSE(VariationsAbandonGame(odd, t.Table.State(), t.Table.Record));
  EXPECT_TRUE(VariationsAbandonGame(longer, t.Table.State(), t.Table.Record));
  t.Table.Record.GameOver = true;
  EXPECT_FALSE(VariationsAbandonGame(longer, t.Table.State(), t.Table.Record));
  t.Table.Record.GameOver = false;
  WindowUpdate update = ApplyVariations(longer, t.Parts, t.Table.Flow);
  EXPECT_TRUE(update.NewGameStarted);
  EXPECT_FALSE(update.RebuildTitle);
  EXPECT_TRUE(t.Table.State().AbortPending);
  EXPECT_EQ(t.Table.Record.NumScores, 0u);
  EXPECT_EQ(t.Table.Record.Target, 500u);
  EXPECT_EQ(t.Sheet.ScrollRange(), 100u);
  EXPECT_EQ(CheckTable(t.Table.Flow, t.Table.State(), t.Table.Deck), "");
  longer.GameTarget = 250;
  ApplyVariations(longer, t.Parts, t.Table.Flow);
  EXPECT_EQ(t.Sheet.ScrollRange(), 50u);

  RuleChoices ace = CurrentRuleChoices(t.Table.State());
  ace.AceRequiresGin = !ace.AceRequiresGin;
  EXPECT_TRUE(VariationsAbandonGame(ace, t.Table.State(), t.Table.Record));
  EXPECT_TRUE(ApplyVariations(ace, t.Parts, t.Table.Flow).NewGameStarted);
  EXPECT_EQ(t.Table.State().AceRequiresGin, ace.AceRequiresGin);
}

TEST(VariationsChange, ANewVariationPicksTheNetworkTheSheetAndTheTitle) {
  ScratchInstallation install;
  OptionTable t;
  RuleChoices simple = CurrentRuleChoices(t.Table.State());
  simple.Variation = SIMPLE_GIN;
  WindowUpdate update = ApplyVariations(simple, t.Parts, t.Table.Flow);
  EXPECT_TRUE(update.RebuildTitle && update.NewGameStarted);
  EXPECT_EQ(t.Table.Computer->GetNetChoice(), uint32_t{LOW_NET});
  EXPECT_EQ(t.Sheet.Variation(), uint32_t{SIMPLE_GIN});
  EXPECT_EQ(t.Table.State().KnockLimit, 0u);

  RuleChoices oklahoma = simple;
  oklahoma.Variation = OKLAHOMA_GIN;
  ApplyVariations(oklahoma, t.Parts, t.Table.Flow);
  EXPECT_EQ(t.Sheet.Variation(), uint32_t{OKLAHOMA_GIN});
  EXPECT_EQ(t.Table.State().Variation, uint32_t{OKLAHOMA_GIN});
}

TEST(DifficultyChange, CancelKeepsTheDialogAndNoChangesTheLevelWithoutReset) {
  ScratchInstallation install;
  // The player's learning differs from the defaults in every level.
  network_data::WriteFreshDataFile(install.PlayerPath("QLPLAY.QLF"), 12);
  const std::string learned = LevelBlock(install.PlayerPath("QLPLAY.QLF"), 2);
  const std::string initial = LevelBlock(install.Path("QLDEFLT.QLF"), 2);
  ASSERT_NE(learned, initial);
  OptionTable t;
  t.Prefs.DifficultyLevel = 0;

  EXPECT_TRUE(ApplyDifficulty({2, true}, ResetAnswer::CANCEL, t.Parts, t.Prefs).KeepDialogOpen);
  EXPECT_TRUE(ApplyDifficulty({2, true}, ResetAnswer::NOT_ASKED, t.Parts, t.Prefs).KeepDialogOpen);
  EXPECT_TRUE(ApplyDifficulty({5, false}, ResetAnswer::NOT_ASKED, t.Parts, t.Prefs).KeepDialogOpen);
  EXPECT_EQ(t.Table.Computer->Level(), 0u);

  WindowUpdate no = ApplyDifficulty({2, true}, ResetAnswer::NO, t.Parts, t.Prefs);
  EXPECT_FALSE(no.KeepDialogOpen || no.Close);
  EXPECT_EQ(t.Table.Computer->Level(), 2u);
  EXPECT_EQ(t.Prefs.DifficultyLevel, 2u);
  t.Table.Computer->SaveNets(2);
  EXPECT_EQ(LevelBlock(install.PlayerPath("QLPLAY.QLF"), 2), learned);

  // The same level with a confirmed reset goes back to the defaults.
  WindowUpdate yes = ApplyDifficulty({2, true}, ResetAnswer::YES, t.Parts, t.Prefs);
  EXPECT_FALSE(yes.Close);
  t.Table.Computer->SaveNets(2);
  EXPECT_EQ(LevelBlock(install.PlayerPath("QLPLAY.QLF"), 2), initial);
  EXPECT_EQ(CheckTable(t.Table.Flow, t.Table.State(), t.Table.Deck), "");
}

// Master is level 4 with a search on top: the same networks, learning and
// reset, stored so that a reader of four levels sees level 4.
TEST(DifficultyChange, MasterPlaysWithLevelFoursNetworksAndIsStoredBesideIt) {
  ScratchInstallation install;
  network_data::WriteFreshDataFile(install.PlayerPath("QLPLAY.QLF"), 12);
  const std::string learned = LevelBlock(install.PlayerPath("QLPLAY.QLF"), 3);
  const std::string initial = LevelBlock(install.Path("QLDEFLT.QLF"), 3);
  OptionTable t;
  const uint32_t master = DifficultyChoice::MASTER_CHOICE;
  EXPECT_EQ(ResetQuestion(master), ResetQuestion(3));

  ApplyDifficulty({master, false}, ResetAnswer::NOT_ASKED, t.Parts, t.Prefs);
  EXPECT_EQ(t.Table.Computer->Level(), 3u);
  EXPECT_TRUE(t.Table.Computer->PlaysAsMaster());
  EXPECT_EQ(CurrentDifficultyChoice(*t.Table.Computer), master);
  EXPECT_EQ(t.Prefs.DifficultyLevel, 3u);
  EXPECT_TRUE(t.Prefs.Master);
  t.Table.Computer->SaveNets(3);
  EXPECT_EQ(LevelBlock(install.PlayerPath("QLPLAY.QLF"), 3), learned);

  // Level 4 itself is a change, and back to Master with a reset loads
  // level 4's defaults.
  ApplyDifficulty({3, false}, ResetAnswer::NOT_ASKED, t.Parts, t.Prefs);
  EXPECT_FALSE(t.Table.Computer->PlaysAsMaster());
  EXPECT_FALSE(t.Prefs.Master);
  ApplyDifficulty({master, true}, ResetAnswer::YES, t.Parts, t.Prefs);
  EXPECT_TRUE(t.Table.Computer->PlaysAsMaster());
  t.Table.Computer->SaveNets(3);
  EXPECT_EQ(LevelBlock(install.PlayerPath("QLPLAY.QLF"), 3), initial);

  // Any other level turns the search off.
  ApplyDifficulty({1, false}, ResetAnswer::NOT_ASKED, t.Parts, t.Prefs);
  EXPECT_FALSE(t.Table.Computer->PlaysAsMaster());
  EXPECT_EQ(CurrentDifficultyChoice(*t.Table.Computer), 1u);
  EXPECT_FALSE(t.Prefs.Master);
  EXPECT_EQ(CheckTable(t.Table.Flow, t.Table.State(), t.Table.Deck), "");
}

TEST(DifficultyChange, ALevelThatLoadsFromNowhereClosesWithoutSaving) {
  ScratchInstallation install;
  OptionTable t;
  std::filesystem::remove(install.Path("QLDEFLT.QLF"));
  WriteText(install.PlayerPath("QLPLAY.QLF"), "damaged");
  WindowUpdate update = ApplyDifficulty({1, false}, ResetAnswer::NOT_ASKED, t.Parts, t.Prefs);
  EXPECT_TRUE(update.Close);
  EXPECT_TRUE(t.Table.State().DoNotSave);
  EXPECT_TRUE(t.Table.State().ClosingRequested);
}

TEST(DealingChange, OklahomaKeepsTheGameWhenTheDealChanges) {
  ScratchInstallation install;
  OptionTable t(OKLAHOMA_GIN);
  const std::vector<uint32_t> hand = t.Hand();
  EXPECT_FALSE(DealingAbandonsGame({1, 0, 0}, t.Prefs, t.Table.State(), t.Table.Record));
  WindowUpdate update = ApplyDealing({1, 0, 0}, t.Prefs, t.Parts, t.Table.Flow);
  EXPECT_FALSE(update.NewGameStarted);
  EXPECT_EQ(t.Hand(), hand);  // "No sorting" leaves the hand as it is
  EXPECT_EQ(t.Prefs.DealType, 1u);
  EXPECT_TRUE(t.Table.Flow.Settings.ElevenTenDeal);
}

TEST(DealingChange, ANewDealOutsideOklahomaStartsAGameAndTheHandIsSortedAgain) {
  ScratchInstallation install;
  OptionTable t(STANDARD_GIN);
  t.PlayIntoSecondHand();
  EXPECT_TRUE(DealingAbandonsGame({1, 2, 0}, t.Prefs, t.Table.State(), t.Table.Record));
  EXPECT_FALSE(DealingAbandonsGame({0, 2, 1}, t.Prefs, t.Table.State(), t.Table.Record));  // sorting alone
  t.Table.Record.GameOver = true;
  EXPECT_FALSE(DealingAbandonsGame({1, 2, 0}, t.Prefs, t.Table.State(), t.Table.Record));
  t.Table.Record.GameOver = false;
  WindowUpdate update = ApplyDealing({1, 2, 0}, t.Prefs, t.Parts, t.Table.Flow);
  EXPECT_TRUE(update.NewGameStarted);
  EXPECT_EQ(t.Table.Record.NumScores, 0u);
  EXPECT_EQ(t.Table.Deck.CardsInPile(HUMAN_PILE) + t.Table.Deck.CardsInPile(COMPUTER_PILE), 21u);
  EXPECT_EQ(t.Table.State().Sort, SORTED_BY_SUIT);
  const std::vector<uint32_t> ascending = t.Hand();

  // Only the direction: the hand is sorted again, in the same game.
  update = ApplyDealing({1, 2, 1}, t.Prefs, t.Parts, t.Table.Flow);
  EXPECT_FALSE(update.NewGameStarted);
  EXPECT_TRUE(update.Redraw);
  std::vector<uint32_t> descending = t.Hand();
  EXPECT_NE(descending, ascending);
  std::vector<uint32_t> sortedA = ascending, sortedD = descending;
  std::sort(sortedA.begin(), sortedA.end());
  std::sort(sortedD.begin(), sortedD.end());
  EXPECT_EQ(sortedD, sortedA);
  ApplyDealing({1, 2, 0}, t.Prefs, t.Parts, t.Table.Flow);
  EXPECT_EQ(t.Hand(), ascending);
  EXPECT_EQ(CheckTable(t.Table.Flow, t.Table.State(), t.Table.Deck), "");
}

TEST(CardbackChange, OnlyAKnownDifferentBackIsPutOnTheDeck) {
  ScratchInstallation install;
  OptionTable t;
  t.Table.Deck.SetCardBack(24456);
  TableScenario::State(t.Table).CardBackId = 24456;
  EXPECT_FALSE(ApplyCardback({24456, false}, t.Prefs, t.Parts, t.Table.Flow.Settings).Redraw);
  EXPECT_FALSE(ApplyCardback({99, false}, t.Prefs, t.Parts, t.Table.Flow.Settings).Redraw);
  EXPECT_EQ(t.Table.State().CardBackId, 24456u);
  WindowUpdate update = ApplyCardback({24460, true}, t.Prefs, t.Parts, t.Table.Flow.Settings);
  EXPECT_TRUE(update.Redraw);
  EXPECT_EQ(t.Table.State().CardBackId, 24460u);
  EXPECT_TRUE(t.Prefs.RandomDeck);
  EXPECT_TRUE(t.Table.Flow.Settings.DifferentCardbackEachGame);
}

TEST(PreferencesChange, EachChangeAsksTheWindowForWhatItAffects) {
  Preferences prefs;
  PreferenceChoices chosen = CurrentPreferenceChoices(prefs);
  chosen.AlwaysResume = true;
  WindowUpdate update = ApplyPreferenceChoices(chosen, prefs);
  EXPECT_FALSE(update.Relayout || update.ReloadBackdrop);
  EXPECT_EQ(prefs.AlwaysResume, 1u);

  chosen.ToolbarLocation = 7;  // no such place
  EXPECT_FALSE(ApplyPreferenceChoices(chosen, prefs).Relayout);
  EXPECT_EQ(prefs.ToolbarLocation, 1u);
  chosen.ToolbarLocation = 2;
  EXPECT_TRUE(ApplyPreferenceChoices(chosen, prefs).Relayout);
  chosen.HideToolbar = true;
  EXPECT_TRUE(ApplyPreferenceChoices(chosen, prefs).Relayout);
  chosen.DisableScenery = true;
  update = ApplyPreferenceChoices(chosen, prefs);
  EXPECT_TRUE(update.ReloadBackdrop && !update.Relayout && !update.TablePresentation);
  for (bool* table : {&chosen.ShowMelds, &chosen.Animation}) {
    *table = !*table;
    update = ApplyPreferenceChoices(chosen, prefs);
    EXPECT_TRUE(update.TablePresentation && !update.Relayout && !update.ReloadBackdrop);
    EXPECT_FALSE(ApplyPreferenceChoices(chosen, prefs).TablePresentation);
  }
  EXPECT_FALSE(prefs.ShowMelds || prefs.Animation);
}

TEST(CardFacesChange, TheChosenDeckIsUsedWhileInstalledAndOnlyAnotherOneIsApplied) {
  const std::vector<std::string> installed{"svg-a", "svg-big", "svg-c"};
  EXPECT_EQ(FaceDeckInUse("svg-c", installed, "svg-big"), "svg-c");
  EXPECT_EQ(FaceDeckInUse("", installed, "svg-big"), "svg-big");
  EXPECT_EQ(FaceDeckInUse("svg-gone", installed, "svg-big"), "svg-big");
  EXPECT_EQ(FaceDeckInUse("svg-gone", installed, "svg-missing"), "svg-a");
  EXPECT_EQ(FaceDeckInUse("svg-c", {}, "svg-big"), "");

  Preferences prefs;
  EXPECT_FALSE(ApplyCardFaces({"svg-big"}, "svg-big", prefs).NewCardFaces);
  EXPECT_FALSE(ApplyCardFaces({"../svg-c"}, "svg-big", prefs).NewCardFaces);
  EXPECT_EQ(prefs.CardFaces, "");
  const WindowUpdate update = ApplyCardFaces({"svg-c"}, "svg-big", prefs);
  EXPECT_TRUE(update.NewCardFaces && update.Redraw && !update.NewGameStarted);
  EXPECT_EQ(prefs.CardFaces, "svg-c");

  EXPECT_EQ(FaceDeckTitle("[Deck]\nName[de]=Papier\nName= Paris \r\nName=Other\n", "svg-gm-paris"), "Paris");
  EXPECT_EQ(FaceDeckTitle("", "svg-oxygen-air"), "Oxygen Air");
  EXPECT_EQ(FaceDeckTitle("Name=\x01\x02\n", "svg-x"), "X");
}
