#include <gtest/gtest.h>
#include <unistd.h>

// The Options menu of the frame on a real table: each dialog opened from
// its menu entry, answered as a person would, and what OK applied or
// Cancel kept.
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QListWidget>
#include <QTest>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>

#include "app/dialog_texts.h"
#include "table/device_pixels.h"
#include "game/table_commands.h"
#include "game/table_geometry.h"
#include "game/text_ids.h"
#include "player/data_paths.h"
#include "player/network_data.h"
#include "store/setting_keys.h"
#include "ui/about_dlg.h"
#include "ui/bmp_file.h"
#include "ui/card_faces_dlg.h"
#include "ui/cardback_dlg.h"
#include "ui/dealing_dlg.h"
#include "ui/difficulty_dlg.h"
#include "ui/frame_commands.h"
#include "ui/help_topics.h"
#include "ui/help_window.h"
#include "ui/preferences_dlg.h"
#include "ui/quorla_client.h"
#include "ui/quorla_frame.h"
#include "ui/statistics_dlg.h"
#include "ui/svg_card_images.h"
#include "ui/variations_dlg.h"
#include "ui_test_support.h"
#include "table_scenario.h"

namespace {

namespace fs = std::filesystem;

const QString UNFINISHED_GAME_QUESTION =
    "Game in Progress: The current game is not finished. Do you really want to start a new game?";
// Runs `act` on the modal window of type T as soon as it is up; when none
// comes, whatever modal window there is gets rejected so that no test can
// hang on a dialog.
template <typename T>
void WhenModal(std::function<void(T&)> act, int triesLeft = 400) {
  QTimer::singleShot(5, [act, triesLeft] {
    QWidget* modal = QApplication::activeModalWidget();
    if (auto* wanted = qobject_cast<T*>(modal); wanted && wanted->isVisible()) {
      act(*wanted);
    } else if (triesLeft > 0) {
      WhenModal<T>(act, triesLeft - 1);
    } else if (auto* stuck = qobject_cast<QDialog*>(modal)) {
      ADD_FAILURE() << "the expected dialog never came";
      stuck->reject();
    }
  });
}

void Choose(QAbstractButton& button) { button.click(); }

std::string LevelBlock(const fs::path& file, uint32_t level) {
  std::ifstream in(file, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return bytes.substr(level * 16024, 16024);
}

struct OptionsFrame : ::testing::Test {
  OptionsFrame() : Install("options", QUORLA_DEFAULT_DATA), Root(Install.PlayerDirectory()) {}
  ~OptionsFrame() override {
    Frame.reset();
  }

  void Open(uint32_t variation = STANDARD_GIN) {
    Settings.Open((Root / "QUORLA.INI").string());
    WriteSetting(*Settings.Store, keys::GinVariation, variation);
    Frame = std::make_unique<QuorlaFrame>(Settings, Root.string(), Install.Directory());
    Client().SetPrompter([this](const QString& caption, const QString& text, QMessageBox::Icon, bool) {
      Boxes.push_back(caption + ": " + text);
      return true;
    });
    Client().SetWaitFactor(0.0);
    Client().Table().Seed(4242);
    Frame->show();
    Frame->Start();
    Settle();
    Boxes.clear();
  }

  void Settle() {
    for (int i = 0; i < 20000 && Client().Table().Flow.HasIdleWork() && !State().ClosingRequested; ++i)
      QApplication::processEvents();
  }
  // A hand in progress that a new deal would visibly replace: the person
  // has taken the upcard and holds eleven cards.
  void TakeTheUpcard() {
    for (int i = 0; i < 50 && !(State().Play == HumanTake && State().Offer == OFFER_TO_FIRST_PLAYER); ++i) {
      Client().RunCommand(CM_NEW_GAME);
      Settle();
    }
    ASSERT_EQ(State().Play, HumanTake);
    Client().RunCommand(CM_TAKE_UPCARD);
    ASSERT_EQ(State().Play, HumanDiscard);
    ASSERT_EQ(Hand().size(), 11u);
    Boxes.clear();
  }
  template <typename T>
  void Run(uint32_t command, std::function<void(T&)> act) {
    WhenModal<T>(act);
    QAction* action = Frame->Action(command);
    ASSERT_NE(action, nullptr);
    action->trigger();
    Settle();
  }

  QuorlaClient& Client() { return *Frame->Client(); }
  GameState& State() { return TableScenario::State(Client().Table()); }
  std::vector<uint32_t> Hand() {
    return Client().Table().Deck.PileCards(HUMAN_PILE);
  }
  static std::vector<uint32_t> Sorted(std::vector<uint32_t> cards) {
    std::sort(cards.begin(), cards.end());
    return cards;
  }

  ScratchInstallation Install;
  // The player configuration's directory, with its trailing '/'.
  fs::path Root;
  GameSettings Settings;
  std::unique_ptr<QuorlaFrame> Frame;
  std::vector<QString> Boxes;
};

}  // namespace

TEST_F(OptionsFrame, TitleNamesTheVariationAndAboutOpens) {
  Open();
  EXPECT_EQ(Frame->windowTitle(), "Quorla - Standard Gin Variation");

  bool shown = false;
  QStringList lines;
  Run<AboutDlg>(CM_ABOUT, [&](AboutDlg& about) {
    shown = about.windowTitle() == "About Quorla";
    lines = about.Lines();
    SaveShot(Rendered(about, 1), "about_dlg.png");
    about.OkButton().click();
  });
  EXPECT_TRUE(shown);
  // The version, and every deck the table may draw credited with its licence.
  EXPECT_EQ(lines.filter(QRegularExpression("^Version [0-9]+\\.[0-9]+\\.[0-9]+$")).size(), 1)
      << lines.join("|").toStdString();
  QStringList decks = SvgCardImages::BackDecks() + SvgCardImages::InstalledDecks();
  decks << SvgCardImages::FACE_DECK;
  for (const QString& deck : decks) {
    const QString name = deck.mid(QStringLiteral("svg-").size()).replace('-', ' ');
    EXPECT_FALSE(lines.filter(name, Qt::CaseInsensitive).isEmpty()) << name.toStdString();
  }
  EXPECT_EQ(lines.filter("GNU GPL").size(), 3);
}

TEST_F(OptionsFrame, ChangingOnlyTheTargetAbandonsTheGameCancelKeepsIt) {
  Open();
  TakeTheUpcard();
  const std::vector<uint32_t> hand = Hand();
  Run<VariationsDlg>(CM_VARIATIONS, [](VariationsDlg& d) {
    Choose(d.TargetButton(3));
    Choose(d.VariationButton(SIMPLE_GIN));
    d.CancelButton()->click();
  });
  EXPECT_EQ(Hand(), hand);
  EXPECT_EQ(State().GameTarget, 100u);
  EXPECT_EQ(State().Variation, uint32_t{STANDARD_GIN});

  // OK without a change keeps the game as well.
  Run<VariationsDlg>(CM_VARIATIONS, [](VariationsDlg& d) { d.OkButton().click(); });
  EXPECT_EQ(Hand(), hand);

  Run<VariationsDlg>(CM_VARIATIONS, [](VariationsDlg& d) {
    Choose(d.TargetButton(3));
    d.OkButton().click();
  });
  EXPECT_EQ(State().GameTarget, 500u);
  EXPECT_EQ(Client().Table().Record.Target, 500u);
  EXPECT_NE(Hand(), hand);
  EXPECT_EQ(Frame->windowTitle(), "Quorla - Standard Gin Variation");
  // Asked first, as New Game asks.
  EXPECT_EQ(Boxes, std::vector<QString>{UNFINISHED_GAME_QUESTION});

  Run<VariationsDlg>(CM_VARIATIONS, [](VariationsDlg& d) {
    Choose(d.VariationButton(OKLAHOMA_GIN));
    d.OkButton().click();
  });
  EXPECT_EQ(State().Variation, uint32_t{OKLAHOMA_GIN});
  EXPECT_EQ(Frame->windowTitle(), "Quorla - Oklahoma Gin Variation");
}

TEST_F(OptionsFrame, AnsweringNoToAbandoningTheGameAppliesNothing) {
  Open();
  TakeTheUpcard();
  const std::vector<uint32_t> hand = Hand();
  const bool aceRule = State().AceRequiresGin;
  // The question as a real box, answered with the mouse.
  Client().SetPrompter([this](const QString& caption, const QString& text, QMessageBox::Icon icon, bool yesNo) {
    QMessageBox box(icon, caption, text, yesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, Frame.get());
    return box.exec() == QMessageBox::Yes;
  });
  auto answerNo = [this] {
    WhenModal<QMessageBox>([this](QMessageBox& box) {
      Boxes.push_back(box.windowTitle() + ": " + box.text());
      QTest::mouseClick(box.button(QMessageBox::No), Qt::LeftButton);
    });
  };
  Run<VariationsDlg>(CM_VARIATIONS, [&](VariationsDlg& d) {
    Choose(d.TargetButton(3));
    Choose(d.AceRequiresGinBox());
    answerNo();
    QTest::mouseClick(&d.OkButton(), Qt::LeftButton);
  });
  Run<DealingDlg>(CM_DEALING, [&](DealingDlg& d) {
    Choose(d.DealButton(1));
    Choose(d.SortingButton(2));
    answerNo();
    QTest::mouseClick(&d.OkButton(), Qt::LeftButton);
  });
  EXPECT_EQ(Boxes, std::vector<QString>(2, UNFINISHED_GAME_QUESTION));
  EXPECT_EQ(Hand(), hand);
  EXPECT_EQ(State().Play, HumanDiscard);
  EXPECT_EQ(State().GameTarget, 100u);
  EXPECT_EQ(State().AceRequiresGin, aceRule);
  EXPECT_EQ(Settings.Prefs.DealType, 0u);
  EXPECT_EQ(Settings.Prefs.HandSorting, 0u);
}

TEST_F(OptionsFrame, SwitchingTheDealInOklahomaKeepsTheGameElsewhereDealsAgain) {
  Open(OKLAHOMA_GIN);
  TakeTheUpcard();
  const std::vector<uint32_t> hand = Hand();
  Run<DealingDlg>(CM_DEALING, [](DealingDlg& d) {
    Choose(d.DealButton(1));
    Choose(d.SortingButton(2));
    d.OkButton().click();
  });
  EXPECT_EQ(Settings.Prefs.DealType, 1u);
  EXPECT_EQ(Settings.Prefs.HandSorting, 2u);
  EXPECT_EQ(Sorted(Hand()), Sorted(hand));  // the same cards, sorted by suits
  EXPECT_EQ(State().Sort, SORTED_BY_SUIT);
  EXPECT_EQ(State().Play, HumanDiscard);

  // Cancel keeps the preferences.
  Run<DealingDlg>(CM_DEALING, [](DealingDlg& d) {
    Choose(d.DealButton(0));
    d.CancelButton()->click();
  });
  EXPECT_EQ(Settings.Prefs.DealType, 1u);

  Run<VariationsDlg>(CM_VARIATIONS, [](VariationsDlg& d) {
    Choose(d.VariationButton(STANDARD_GIN));
    d.OkButton().click();
  });
  // Eleven/Ten now: the first player begins with eleven cards.
  const std::vector<uint32_t> standardHand = Sorted(Hand());
  Run<DealingDlg>(CM_DEALING, [](DealingDlg& d) {
    Choose(d.DealButton(0));
    d.OkButton().click();
  });
  EXPECT_EQ(Settings.Prefs.DealType, 0u);
  EXPECT_NE(Sorted(Hand()), Sorted(standardHand));
}

TEST_F(OptionsFrame, ResetAnsweredNoChangesTheLevelWithoutResetting) {
  // The player's learning differs from the defaults in every level.
  ASSERT_TRUE(network_data::WriteFreshDataFile((Root / "QLPLAY.QLF").string(), 12));
  const std::string learned = LevelBlock(Root / "QLPLAY.QLF", 2);
  const std::string initial = LevelBlock(Install.Root() / "QLDEFLT.QLF", 2);
  ASSERT_NE(learned, initial);
  Open();
  ComputerPlay& computer = *Client().Table().Computer;
  ASSERT_EQ(computer.Level(), 1u);

  Run<DifficultyDlg>(CM_DIFFICULTY, [](DifficultyDlg& d) {
    Choose(d.LevelButton(3));
    d.CancelButton()->click();
  });
  EXPECT_EQ(computer.Level(), 1u);

  QString question;
  Run<DifficultyDlg>(CM_DIFFICULTY, [&](DifficultyDlg& d) {
    EXPECT_TRUE(d.LevelButton(1).isChecked());
    Choose(d.LevelButton(2));
    Choose(d.ResetBox());
    WhenModal<QMessageBox>([&](QMessageBox& box) {
      question = box.windowTitle() + ": " + box.text();
      EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), "Cancel");
      box.button(QMessageBox::No)->click();
    });
    d.OkButton().click();
  });
  EXPECT_EQ(question, "Warning: Resetting difficulty level 3 to its default will destroy any dynamic learning for "
                      "that level. Do you really want to reset?");
  EXPECT_EQ(computer.Level(), 2u);
  EXPECT_EQ(Settings.Prefs.DifficultyLevel, 2u);
  computer.SaveNets(2);
  EXPECT_EQ(LevelBlock(Root / "QLPLAY.QLF", 2), learned);
  EXPECT_TRUE(Frame->isVisible());

  // The fifth choice: level 4's networks with Master's search, shown
  // chosen when the dialog opens again.
  Run<DifficultyDlg>(CM_DIFFICULTY, [](DifficultyDlg& d) {
    EXPECT_EQ(d.LevelButton(DifficultyChoice::MASTER_CHOICE).text(),
              "Master (thinks ahead; plays and learns with level 4's networks)");
    Choose(d.LevelButton(DifficultyChoice::MASTER_CHOICE));
    d.OkButton().click();
  });
  EXPECT_EQ(computer.Level(), 3u);
  EXPECT_TRUE(computer.PlaysAsMaster());
  EXPECT_TRUE(Settings.Prefs.Master);
  Run<DifficultyDlg>(CM_DIFFICULTY, [](DifficultyDlg& d) {
    EXPECT_TRUE(d.LevelButton(DifficultyChoice::MASTER_CHOICE).isChecked());
    EXPECT_FALSE(d.LevelButton(3).isChecked());
    d.CancelButton()->click();
  });
}

TEST_F(OptionsFrame, ALevelThatLoadsFromNowhereClosesWithoutSaving) {
  Open();
  TakeTheUpcard();
  // The player's file damaged: the level comes from the defaults instead.
  std::ofstream(Root / "QLPLAY.QLF") << "damaged";
  Run<DifficultyDlg>(CM_DIFFICULTY, [](DifficultyDlg& d) {
    Choose(d.LevelButton(2));
    d.OkButton().click();
  });
  EXPECT_EQ(Client().Table().Computer->Level(), 2u);
  EXPECT_TRUE(Frame->isVisible());
  EXPECT_FALSE(State().DoNotSave);

  // Without the defaults as well, nothing loads: the window closes unsaved.
  fs::remove(Install.Root() / "QLDEFLT.QLF");
  std::ofstream(Root / "QLPLAY.QLF") << "damaged";
  Run<DifficultyDlg>(CM_DIFFICULTY, [](DifficultyDlg& d) {
    Choose(d.LevelButton(3));
    d.OkButton().click();
  });
  for (int i = 0; i < 50 && Frame->isVisible(); ++i) QApplication::processEvents(QEventLoop::AllEvents, 10);
  EXPECT_FALSE(Frame->isVisible());
  EXPECT_TRUE(State().DoNotSave);
  EXPECT_FALSE(Boxes.empty());  // the person was told why
  EXPECT_FALSE(fs::exists(Root / "RESUME.QLF"));
}

TEST_F(OptionsFrame, CardbackOkPutsTheBackOnTheDeckCancelKeepsIt) {
  Open();
  const uint32_t before = State().CardBackId;
  const uint32_t other = before == 24463 ? 24464 : 24463;
  Run<CardbackDlg>(CM_CARDBACK, [&](CardbackDlg& d) {
    EXPECT_TRUE(d.BackButton(before - 24456).isChecked());
    d.BackButton(other - 24456).click();
    d.CancelButton()->click();
  });
  EXPECT_EQ(State().CardBackId, before);

  const QImage table = Client().grab().toImage();
  Run<CardbackDlg>(CM_CARDBACK, [&](CardbackDlg& d) {
    d.BackButton(other - 24456).click();
    Choose(d.DifferentBackBox());
    d.OkButton().click();
  });
  EXPECT_EQ(State().CardBackId, other);
  EXPECT_EQ(Client().Table().Deck.BackId(), other);
  EXPECT_TRUE(Settings.Prefs.RandomDeck);
  EXPECT_TRUE(Client().Table().Flow.Settings.DifferentCardbackEachGame);
  EXPECT_NE(Client().grab().toImage(), table);  // the computer's hand shows the new back
}

// Picks the deck in row `row` of the Card Faces list with the mouse.
void ClickDeck(CardFacesDlg& d, int row) {
  QListWidget& list = d.DeckList();
  const QRect place = list.visualItemRect(list.item(row));
  QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, place.center());
}

TEST_F(OptionsFrame, CardFacesShowTheDefaultDeckAndOkDrawsTheCardsFromTheChosenOne) {
  const QStringList decks = SvgCardImages::InstalledDecks();
  if (decks.size() < 2) GTEST_SKIP() << "fewer than two card decks installed";
  Open();
  const QString standard = QString::fromLatin1(SvgCardImages::FACE_DECK);
  EXPECT_EQ(Client().FaceDeck(), standard);
  const int other = decks.indexOf(standard) == 0 ? 1 : 0;
  Run<CardFacesDlg>(CM_CARD_FACES, [&](CardFacesDlg& d) {
    EXPECT_EQ(d.DeckList().count(), decks.size());
    ASSERT_NE(d.DeckList().currentItem(), nullptr);
    EXPECT_EQ(d.DeckList().currentItem()->data(Qt::UserRole).toString(), standard);
    EXPECT_TRUE(d.DeckList().currentItem()->text().endsWith(DialogText(CARD_FACES_DEFAULT_MARK)));
    // Five cards spread as in the hand, at the table's size.
    const QImage shown = d.PreviewPicture();
    const double scale = Client().CompositionScale();
    const TSize card = DeviceSize(CARD_SIZE, scale);
    EXPECT_EQ(shown.size(), QSize(ToDevice(4 * TABLE_PILES[0].Offset.x, scale) + card.cx, card.cy));
    SaveShot(d.grab().toImage(), QStringLiteral("card_faces_dialog.png"));
    ClickDeck(d, other);
    EXPECT_NE(d.PreviewPicture(), shown);
    d.CancelButton()->click();
  });
  EXPECT_EQ(Client().FaceDeck(), standard);
  EXPECT_TRUE(Settings.Prefs.CardFaces.empty());

  const QImage table = Client().grab().toImage();
  Run<CardFacesDlg>(CM_CARD_FACES, [&](CardFacesDlg& d) {
    ClickDeck(d, other);
    d.OkButton().click();
  });
  EXPECT_EQ(Client().FaceDeck(), decks[other]);
  EXPECT_EQ(Settings.Prefs.CardFaces, decks[other].toStdString());
  EXPECT_NE(Client().grab().toImage(), table);  // the hand shows the new faces
}

TEST_F(OptionsFrame, PreferencesSwitchSceneryAndKeepTheRest) {
  Open();
  const fs::path picture = Root / "sky.bmp";
  const std::vector<uint8_t> bytes = EncodeBmp24(NxBitmap(100, 50, 0x003060C0));
  std::ofstream(picture, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  Client().ChooseSceneryFrom(picture.string());
  const QColor sky(0x30, 0x60, 0xC0), purple(128, 0, 128);
  ASSERT_EQ(Client().grab().toImage().pixelColor(20, 200), sky);

  Run<PreferencesDlg>(CM_PREFERENCES, [](PreferencesDlg& d) {
    Choose(d.DisableSceneryBox());
    Choose(d.AlwaysResumeBox());
    d.CancelButton()->click();
  });
  EXPECT_FALSE(Settings.Prefs.DisableScenery);
  EXPECT_EQ(Settings.Prefs.AlwaysResume, 0u);

  Run<PreferencesDlg>(CM_PREFERENCES, [](PreferencesDlg& d) {
    Choose(d.DisableSceneryBox());
    Choose(d.AlwaysResumeBox());
    Choose(d.LocationButton(3));
    d.OkButton().click();
  });
  EXPECT_TRUE(Settings.Prefs.DisableScenery);
  EXPECT_EQ(Settings.Prefs.AlwaysResume, 1u);
  EXPECT_EQ(Settings.Prefs.ToolbarLocation, 3u);
  EXPECT_EQ(Client().grab().toImage().pixelColor(20, 200), purple);
  EXPECT_FALSE(Client().IsCommandEnabled(CM_SCENERY));

  Run<PreferencesDlg>(CM_PREFERENCES, [](PreferencesDlg& d) {
    Choose(d.DisableSceneryBox());
    d.OkButton().click();
  });
  EXPECT_EQ(Client().grab().toImage().pixelColor(20, 200), sky);
  EXPECT_TRUE(Client().IsCommandEnabled(CM_SCENERY));
  EXPECT_TRUE(Boxes.empty()) << Boxes.front().toStdString();
}

TEST_F(OptionsFrame, ANewVariationChosenWhileTheComputerWaitsAbandonsItsMove) {
  Open();
  for (int i = 0; i < 50 && State().Play != ComputerTake; ++i) {
    Client().SetWaitFactor(0.0);
    Client().RunCommand(CM_NEW_GAME);
    if (State().Play != ComputerTake) Settle();
  }
  ASSERT_EQ(State().Play, ComputerTake);
  State().Offer = FIRST_PLAYER_TAKES_STOCK;  // it must draw: a take with waits
  Client().SetWaitFactor(0.2);
  NxDeck& deck = Client().Table().Deck;
  std::vector<uint32_t> dealt;
  WhenModal<VariationsDlg>([&](VariationsDlg& d) {
    EXPECT_EQ(State().Play, ComputerTake);  // still in the middle of its take
    Choose(d.VariationButton(SIMPLE_GIN));
    d.OkButton().click();
  });
  // Opened from inside the computer's wait, as a person's menu click would be.
  QTimer::singleShot(30, [&] {
    Frame->Action(CM_VARIATIONS)->trigger();
    dealt = deck.PileCards(COMPUTER_PILE);
  });
  for (int i = 0; i < 200 && dealt.empty(); ++i) QApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
  ASSERT_FALSE(dealt.empty());
  EXPECT_EQ(deck.PileCards(COMPUTER_PILE), dealt);  // the old hand's take did not land in the new deal
  Client().SetWaitFactor(0.0);
  Settle();
  EXPECT_EQ(State().Variation, uint32_t{SIMPLE_GIN});
  EXPECT_EQ(Frame->windowTitle(), "Quorla - Simple Gin Variation");
}

TEST_F(OptionsFrame, SceneryOpensThePictureFileDialogInThePicturesFolder) {
  Open();
  // A home of its own, so that the person's folders are never touched.
  QTemporaryDir home;
  const QByteArray oldHome = qgetenv("HOME"), oldConfig = qgetenv("XDG_CONFIG_HOME");
  qputenv("HOME", home.path().toLocal8Bit());
  qputenv("XDG_CONFIG_HOME", (home.path() + "/.config").toLocal8Bit());
  const QString pictures = home.path() + "/Pictures";
  QDir().mkpath(pictures);
  QString title, directory;
  QStringList filters;
  WhenModal<QDialog>([&](QDialog& d) {
    title = d.windowTitle();
    if (auto* files = qobject_cast<QFileDialog*>(&d)) {
      filters = files->nameFilters();
      directory = files->directory().absolutePath();
    }
    d.reject();
  });
  Frame->Action(CM_SCENERY)->trigger();
  qputenv("HOME", oldHome);
  if (oldConfig.isEmpty())
    qunsetenv("XDG_CONFIG_HOME");
  else
    qputenv("XDG_CONFIG_HOME", oldConfig);
  EXPECT_EQ(title, "Select Backdrop Bitmap File");
  ASSERT_EQ(filters.size(), 2);
  EXPECT_TRUE(filters[0].startsWith("All Pictures (")) << filters[0].toStdString();
  for (const char* pattern : {"*.png", "*.jpg", "*.bmp"}) EXPECT_TRUE(filters[0].contains(pattern)) << pattern;
  EXPECT_EQ(filters[1], "BMP Files (*.bmp)");
  EXPECT_EQ(directory, QDir(pictures).absolutePath());
}

TEST_F(OptionsFrame, HelpButtonsOpenTheirDialogsTopics) {
  Open();
  SetHelpDirectory(QUORLA_HELP_SET);
  auto shownTopic = [] {
    for (QWidget* widget : QApplication::allWidgets())
      if (auto* help = qobject_cast<HelpWindow*>(widget); help && help->isVisible())
        return help->Browser()->source().fileName();
    return QString();
  };
  auto pressHelp = [](QDialog& dialog) {
    for (QPushButton* button : dialog.findChildren<QPushButton*>())
      if (button->text() == "Help") button->click();
  };
  QString statistics, variations;
  Run<StatisticsDlg>(CM_STATISTICS, [&](StatisticsDlg& d) {
    pressHelp(d);
    statistics = shownTopic();
    d.reject();
  });
  Run<VariationsDlg>(CM_VARIATIONS, [&](VariationsDlg& d) {
    pressHelp(d);
    variations = shownTopic();
    d.reject();
  });
  EXPECT_EQ(statistics, "statistics.html");
  EXPECT_EQ(variations, "variations.html");
}
