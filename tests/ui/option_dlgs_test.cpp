#include <gtest/gtest.h>

// The option dialogs alone: their texts, the values they start from and
// return, and Cancel, Help and the reset question.
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

#include "app/dialog_texts.h"
#include "game/text_ids.h"
#include "ui/about_dlg.h"
#include "ui/cardback_dlg.h"
#include "ui/dealing_dlg.h"
#include "ui/difficulty_dlg.h"
#include "ui/preferences_dlg.h"
#include "ui/variations_dlg.h"
#include "ui_test_support.h"

namespace {

QStringList GroupTitles(QWidget& dialog) {
  QStringList titles;
  for (const QGroupBox* group : dialog.findChildren<QGroupBox*>()) titles << group->title();
  return titles;
}

// OK, Cancel and Help with their texts; Help leaves the dialog open.
void ExpectButtonRow(OptionDlg& dialog, const char* topic) {
  EXPECT_EQ(dialog.OkButton().text(), "OK");
  ASSERT_NE(dialog.CancelButton(), nullptr);
  ASSERT_NE(dialog.HelpButton(), nullptr);
  EXPECT_EQ(dialog.CancelButton()->text(), "Cancel");
  EXPECT_EQ(dialog.HelpButton()->text(), "Help");
  EXPECT_EQ(dialog.HelpTopic(), topic);
  dialog.open();
  QTest::mouseClick(dialog.HelpButton(), Qt::LeftButton);
  EXPECT_TRUE(dialog.isVisible());
  QTest::mouseClick(dialog.CancelButton(), Qt::LeftButton);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

void Shot(QWidget& dialog, const QString& name) {
  dialog.adjustSize();
  SaveShot(Rendered(dialog, 1), name);
  SaveShot(Rendered(dialog, 2), QString(name).replace(".png", "@2.png"));
}

}  // namespace

TEST(VariationsDlg, TextsStartValuesAndChoices) {
  VariationsDlg dialog({STANDARD_GIN, false, 250});
  EXPECT_EQ(dialog.windowTitle(), "Variations");
  EXPECT_EQ(GroupTitles(dialog), (QStringList{"Gin Rummy Variation", "Play To"}));
  EXPECT_EQ(dialog.VariationButton(0).text(), "Simple (requires Gin to knock)");
  EXPECT_EQ(dialog.VariationButton(1).text(), "Standard (max. knock score is 10)");
  EXPECT_EQ(dialog.VariationButton(2).text(), "Oklahoma (first upcard determines max. knock score)");
  EXPECT_EQ(dialog.AceRequiresGinBox().text(), "Require Gin when first upcard is ace");
  const char* targets[] = {"100 points", "150 points", "250 points", "500 points"};
  for (uint32_t i = 0; i < 4; ++i) EXPECT_EQ(dialog.TargetButton(i).text(), targets[i]);
  Shot(dialog, "variations.png");

  EXPECT_TRUE(dialog.VariationButton(1).isChecked());
  EXPECT_TRUE(dialog.TargetButton(2).isChecked());
  EXPECT_FALSE(dialog.AceRequiresGinBox().isChecked());
  RuleChoices unchanged = dialog.Choices();
  EXPECT_EQ(unchanged.Variation, uint32_t{STANDARD_GIN});
  EXPECT_EQ(unchanged.GameTarget, 250u);

  dialog.open();
  QTest::mouseClick(&dialog.TargetButton(3), Qt::LeftButton, {}, QPoint(6, 8));
  EXPECT_FALSE(dialog.TargetButton(2).isChecked());  // one target at a time
  EXPECT_EQ(dialog.Choices().GameTarget, 500u);
  ExpectButtonRow(dialog, "variations");
}

TEST(VariationsDlg, AStoredTargetItCannotShowIsKept) {
  VariationsDlg dialog({SIMPLE_GIN, true, 300});
  for (uint32_t i = 0; i < 4; ++i) EXPECT_FALSE(dialog.TargetButton(i).isChecked());
  EXPECT_EQ(dialog.Choices().GameTarget, 300u);
}

TEST(DifficultyDlg, TextsAndTheResetQuestion) {
  DifficultyDlg dialog(1);
  EXPECT_EQ(dialog.windowTitle(), "Set Difficulty Level");
  const char* levels[] = {"1 (initially beginner)", "2 (initially intermediate)", "3 (initially advanced)",
                          "4 (initially expert)"};
  for (uint32_t i = 0; i < 4; ++i) EXPECT_EQ(dialog.LevelButton(i).text(), levels[i]);
  EXPECT_EQ(dialog.ResetBox().text(), "Reset to default (initial)");
  EXPECT_TRUE(dialog.LevelButton(1).isChecked());
  EXPECT_FALSE(dialog.ResetBox().isChecked());
  Shot(dialog, "difficulty.png");

  std::vector<QString> asked;
  ResetAnswer reply = ResetAnswer::CANCEL;
  dialog.SetResetAsker([&](const QString& caption, const QString& text) {
    asked.push_back(caption + "|" + text);
    return reply;
  });
  dialog.open();
  // Without the reset box nothing is asked.
  QTest::mouseClick(&dialog.LevelButton(3), Qt::LeftButton, {}, QPoint(6, 8));
  QTest::mouseClick(&dialog.OkButton(), Qt::LeftButton);
  EXPECT_TRUE(asked.empty());
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.Answer(), ResetAnswer::NOT_ASKED);
  EXPECT_EQ(dialog.Choice().Level, 3u);

  dialog.open();
  QTest::mouseClick(&dialog.LevelButton(2), Qt::LeftButton, {}, QPoint(6, 8));
  QTest::mouseClick(&dialog.ResetBox(), Qt::LeftButton, {}, QPoint(6, 8));
  QTest::mouseClick(&dialog.OkButton(), Qt::LeftButton);
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0], "Warning|Resetting difficulty level 3 to its default will destroy any dynamic learning for "
                      "that level. Do you really want to reset?");
  EXPECT_TRUE(dialog.isVisible());  // Cancel on the question: choose again

  reply = ResetAnswer::NO;
  QTest::mouseClick(&dialog.OkButton(), Qt::LeftButton);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.Answer(), ResetAnswer::NO);
  EXPECT_EQ(dialog.Choice().Level, 2u);
  EXPECT_TRUE(dialog.Choice().ResetTicked);

  DifficultyDlg other(0);
  ExpectButtonRow(other, "difficulty");
}

TEST(DealingDlg, TextsStartValuesAndChoices) {
  DealingDlg dialog({1, 2, 1});
  EXPECT_EQ(dialog.windowTitle(), "Dealing/Sorting");
  EXPECT_EQ(GroupTitles(dialog), (QStringList{"Dealing Methods", "Sorting after Deal", "Sort Order (left to right)"}));
  EXPECT_EQ(dialog.DealButton(0).text(), "Traditional -- 10 cards/player; first player must take ");
  EXPECT_EQ(dialog.DealLabel(0).text(), "upcard or pass");
  EXPECT_EQ(dialog.DealButton(1).text(), "Eleven/Ten -- (Simple && Standard Gin) first player");
  EXPECT_EQ(dialog.DealLabel(1).text(), "gets 11 cards and must immediately discard (Simple && Standard Gin only)");
  // The label shows its doubled ampersands as one, like the button.
  EXPECT_EQ(dialog.DealLabel(1).buddy(), &dialog.DealButton(1));
  const char* sortings[] = {"No sorting", "Sort by face values", "Sort by suits"};
  for (uint32_t i = 0; i < 3; ++i) EXPECT_EQ(dialog.SortingButton(i).text(), sortings[i]);
  EXPECT_EQ(dialog.DirectionButton(0).text(), "Ascending");
  EXPECT_EQ(dialog.DirectionButton(1).text(), "Descending");
  Shot(dialog, "dealing.png");

  EXPECT_TRUE(dialog.DealButton(1).isChecked());
  EXPECT_TRUE(dialog.SortingButton(2).isChecked());
  EXPECT_TRUE(dialog.DirectionButton(1).isChecked());
  dialog.open();
  QTest::mouseClick(&dialog.DirectionButton(0), Qt::LeftButton, {}, QPoint(6, 8));
  EXPECT_EQ(dialog.Choices().SortDirection, 0u);
  ExpectButtonRow(dialog, "dealing");
}

TEST(CardbackDlg, TenBacksInTwoRowsOfFiveOneChosen) {
  CardbackDlg dialog({24459, true});
  EXPECT_EQ(dialog.windowTitle(), "Select Cardback");
  EXPECT_EQ(dialog.DifferentBackBox().text(), "Use Different Cardback for Each Game");
  EXPECT_TRUE(dialog.DifferentBackBox().isChecked());
  dialog.open();
  for (uint32_t i = 0; i < CardbackDlg::BACKS; ++i) {
    QToolButton& back = dialog.BackButton(i);
    EXPECT_EQ(back.isChecked(), i == 3) << i;
    EXPECT_FALSE(back.icon().isNull()) << i;
    const QToolButton& first = dialog.BackButton(i < 5 ? 0 : 5);
    EXPECT_EQ(back.y(), first.y()) << i;
    if (i % 5 != 0) {
      EXPECT_GT(back.x(), dialog.BackButton(i - 1).x()) << i;
    }
  }
  EXPECT_GT(dialog.BackButton(5).y(), dialog.BackButton(0).y());
  EXPECT_EQ(dialog.BackButton(5).x(), dialog.BackButton(0).x());
  Shot(dialog, "cardback.png");

  QTest::mouseClick(&dialog.BackButton(7), Qt::LeftButton);
  QTest::mouseClick(&dialog.DifferentBackBox(), Qt::LeftButton, {}, QPoint(6, 8));
  EXPECT_FALSE(dialog.BackButton(3).isChecked());
  const CardbackChoices chosen = dialog.Choices();
  EXPECT_EQ(chosen.DeckId, 24463u);
  EXPECT_FALSE(chosen.RandomDeck);
  ExpectButtonRow(dialog, "cardback");
}

TEST(PreferencesDlg, TextsStartValuesAndChoices) {
  PreferencesDlg dialog({true, false, 3, false, true, false, "fr"});
  EXPECT_EQ(dialog.windowTitle(), "Configure Preferences");
  EXPECT_EQ(GroupTitles(dialog), (QStringList{"Startup", "Button Bar", "Table", "Language"}));
  EXPECT_EQ(dialog.AlwaysResumeBox().text(), "Always resume unfinished previous game");
  EXPECT_EQ(dialog.DisableSceneryBox().text(), "Disable scenery");
  const char* places[] = {"Right", "Left", "Top", "Bottom"};
  for (uint32_t i = 0; i < 4; ++i) EXPECT_EQ(dialog.LocationButton(i).text(), places[i]);
  EXPECT_EQ(dialog.HideBarBox().text(), "Hide button bar");
  EXPECT_EQ(dialog.ShowMeldsBox().text(), "Mark melds and deadwood in your hand");
  EXPECT_EQ(dialog.AnimationBox().text(), "Animate card moves");
  Shot(dialog, "preferences.png");

  EXPECT_TRUE(dialog.AlwaysResumeBox().isChecked());
  EXPECT_TRUE(dialog.ShowMeldsBox().isChecked());
  EXPECT_FALSE(dialog.AnimationBox().isChecked());
  EXPECT_TRUE(dialog.LocationButton(3).isChecked());
  EXPECT_EQ(dialog.LanguageBox().currentText(), QString::fromUtf8("Fran\u00e7ais"));
  dialog.open();
  QTest::mouseClick(&dialog.AlwaysResumeBox(), Qt::LeftButton, {}, QPoint(6, 8));
  QTest::mouseClick(&dialog.DisableSceneryBox(), Qt::LeftButton, {}, QPoint(6, 8));
  QTest::mouseClick(&dialog.LocationButton(2), Qt::LeftButton, {}, QPoint(6, 8));
  QTest::mouseClick(&dialog.HideBarBox(), Qt::LeftButton, {}, QPoint(6, 8));
  QTest::mouseClick(&dialog.ShowMeldsBox(), Qt::LeftButton, {}, QPoint(6, 8));
  QTest::mouseClick(&dialog.AnimationBox(), Qt::LeftButton, {}, QPoint(6, 8));
  // The languages stand in their own names after the desktop's.
  QTest::keyClick(&dialog.LanguageBox(), Qt::Key_Up);
  EXPECT_EQ(dialog.LanguageBox().currentText(), "Deutsch");
  EXPECT_FALSE(dialog.LocationButton(0).isEnabled());  // no edge for a hidden bar
  const PreferenceChoices chosen = dialog.Choices();
  EXPECT_FALSE(chosen.ShowMelds);
  EXPECT_TRUE(chosen.Animation);
  EXPECT_FALSE(chosen.AlwaysResume);
  EXPECT_TRUE(chosen.DisableScenery);
  EXPECT_EQ(chosen.ToolbarLocation, 2u);
  EXPECT_TRUE(chosen.HideToolbar);
  EXPECT_EQ(chosen.Language, "de");
  ExpectButtonRow(dialog, "preferences");
}

TEST(AboutDlg, NameMakerAndOkOnly) {
  AboutDlg dialog;
  EXPECT_EQ(dialog.windowTitle(), "About Quorla");
  EXPECT_EQ(dialog.Lines().value(0), "Quorla");
  EXPECT_TRUE(dialog.Lines().contains("Palomet Technologies"));
  EXPECT_EQ(dialog.CancelButton(), nullptr);
  EXPECT_EQ(dialog.findChildren<QPushButton*>().size(), 1);
  Shot(dialog, "about.png");
  dialog.open();
  QTest::mouseClick(&dialog.OkButton(), Qt::LeftButton);
  EXPECT_FALSE(dialog.isVisible());
}
