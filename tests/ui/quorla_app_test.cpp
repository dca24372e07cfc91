#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <csignal>
#include <fstream>

#include "game/table_commands.h"
#include "store/player_configs.h"
#include "store/setting_keys.h"
#include "store/settings_store.h"
#include "store/statistics.h"
#include "ui/create_player_dlg.h"
#include "ui/failure_handlers.h"
#include "ui/introduction_dlg.h"
#include "ui/quorla_app.h"
#include "ui/remove_player_dlg.h"
#include "ui/running_copy.h"
#include "ui/work_area_dlg.h"
#include "test_files.h"
#include "ui_test_support.h"
#include "table_scenario.h"

namespace {

namespace fs = std::filesystem;

template <typename Dialog>
Dialog* OpenDialog() {
  for (QWidget* widget : QApplication::topLevelWidgets())
    if (auto* dialog = qobject_cast<Dialog*>(widget); dialog && dialog->isVisible()) return dialog;
  return nullptr;
}

// A scratch installation holding the shipped networks, and the program
// started in it the way a person starts it, with every box and choice
// answered by the test.
struct AppFixture : ::testing::Test {
  AppFixture() : Scratch("app"), Root(Scratch.Root()) {
    fs::copy_file(QUORLA_DEFAULT_DATA, Root / "QLDEFLT.QLF");
#ifdef QUORLA_DEFAULT_BACKDROP
    fs::copy_file(QUORLA_DEFAULT_BACKDROP, Root / "BACKIMG.QLF");
#endif
    QApplication::setQuitOnLastWindowClosed(false);
  }
  ~AppFixture() override {
    CloseDialogs();
    App.reset();
  }

  void Launch(const std::string& program = "QUORLA32") {
    App = std::make_unique<QuorlaApp>();
    App->SetPrompter([this](const QString& caption, const QString& text, QMessageBox::Icon, bool) {
      Boxes.push_back(caption + ": " + text);
      return Answer;
    });
    App->SetPlayerChooser([this](const QString& title, const std::vector<std::string>& names, const std::string&) {
      Offered.push_back(title.toStdString());
      OfferedNames = names;
      return Choice;
    });
    App->SetWaitFactor(0.0);
    App->SetWorkArea(Area);
    App->Start((Root / program).string());
    Settle();
  }
  void Settle() {
    for (int i = 0; i < 20000 && Frame()->Client()->Table().Flow.HasIdleWork() && !State().ClosingRequested; ++i)
      QApplication::processEvents();
    QApplication::processEvents();
  }
  // One close request, as from the window's close button; the program ends.
  void CloseAndEnd() {
    CloseDialogs();
    Frame()->close();
    for (int i = 0; i < 2000 && Frame()->isVisible(); ++i) QApplication::processEvents(QEventLoop::AllEvents, 5);
    ASSERT_FALSE(Frame()->isVisible());
    App.reset();
  }
  void CloseDialogs() {
    for (QWidget* widget : QApplication::topLevelWidgets())
      if (auto* dialog = qobject_cast<QDialog*>(widget); dialog && dialog->isVisible()) dialog->reject();
    QApplication::processEvents();
  }
  void WriteIni(const fs::path& ini, const SettingKey& key, uint32_t value) {
    SettingsStore store("Quorla", ini.string(), true);
    WriteSetting(store, key, value);
  }
  uint32_t ReadIni(const fs::path& ini, const SettingKey& key) {
    SettingsStore store("Quorla", ini.string(), true);
    return ReadSetting(store, key);
  }
  // The person takes the upcard whenever the table offers it to them.
  bool TakeTheUpcard() {
    for (int i = 0; i < 50 && !(State().Play == HumanTake && State().Offer == OFFER_TO_FIRST_PLAYER); ++i) {
      Frame()->Client()->RunCommand(CM_NEW_GAME);
      Settle();
    }
    Frame()->Client()->Table().Flow.RunCommand(CM_TAKE_UPCARD, NoCard);
    return State().Play == HumanDiscard;
  }
  // New games until the computer begins, then its draw from the stock: a
  // take with waits.
  bool StartTheComputersDraw() {
    for (int i = 0; i < 50 && State().Play != ComputerTake; ++i) {
      Frame()->Client()->RunCommand(CM_NEW_GAME);
      if (State().Play != ComputerTake) Settle();
    }
    State().Offer = FIRST_PLAYER_TAKES_STOCK;
    return State().Play == ComputerTake;
  }
  std::vector<uint32_t> Hand() {
    return Frame()->Client()->Table().Deck.PileCards(HUMAN_PILE);
  }

  QuorlaFrame* Frame() { return App->Frame(); }
  GameState& State() { return TableScenario::State(Frame()->Client()->Table()); }
  std::string Title() { return Frame()->windowTitle().toStdString(); }

  ScratchDirectory Scratch;
  fs::path Root;
  std::unique_ptr<QuorlaApp> App;
  std::vector<QString> Boxes;
  bool Answer = true;
  std::vector<std::string> Offered;
  std::vector<std::string> OfferedNames;
  std::optional<std::string> Choice;
  QSize Area{1280, 900};
};

}  // namespace

TEST_F(AppFixture, StartupFailuresEndTheProgramWithTheirTexts) {
  std::vector<std::string> shown;
  const FailureReport report = [&](const std::string& caption, const std::string& text) {
    shown.push_back(caption + "|" + text);
  };
  EXPECT_EQ(RunWithFailureHandlers([&] { Launch("quorla"); return 0; }, report), 1);
  App = std::make_unique<QuorlaApp>();
  App->SetRunningPlatform({5, 15});
  EXPECT_EQ(RunWithFailureHandlers([&] { App->Start((Root / "QUORLA32").string()); return 0; }, report), 1);
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0], "Quorla Abnormal Termination|Application Path Error");
  EXPECT_EQ(shown[1], "Quorla Abnormal Termination|Quorla 32-bit edition requires Windows 95");
  EXPECT_EQ(App->Frame(), nullptr);
  App.reset();
}

TEST_F(AppFixture, FirstStartShowsTheIntroductionOnceAndTheTitle) {
  Launch("quorla32");  // the name is checked in any case
  EXPECT_TRUE(Offered.empty());  // no configurations: no choice to make
  EXPECT_EQ(App->InstallationDirectory(), Root.string() + "/");
  EXPECT_EQ(App->HelpPath(), Root.string() + "/QUORLA32.HLP");
  EXPECT_EQ(Title(), "Quorla - Simple Gin Variation");
  IntroductionDlg* intro = OpenDialog<IntroductionDlg>();
  ASSERT_NE(intro, nullptr);
  EXPECT_EQ(intro->windowTitle(), "Introduction to Quorla");
  EXPECT_TRUE(intro->Text().contains("You are playing Simple Gin to 100 points. To play another variation or "
                                     "to another target, choose Options > Variations..."))
      << intro->Text().toStdString();
  EXPECT_TRUE(Frame()->statusBar()->currentMessage().isEmpty());  // no saved game to mention
  SaveShot(Rendered(*intro, 1), "introduction_dlg.png");
  SaveShot(Frame()->grab().toImage(), "frame_default.png");
  EXPECT_EQ(ReadIni(Root / "QUORLA.INI", keys::FirstPlay), 0u);
  // Resizable, and on a first start larger than the table's own size
  // while the window fits most of the screen.
  EXPECT_NE(Frame()->minimumSize(), Frame()->maximumSize());
  EXPECT_GT(Frame()->Client()->width(), 576);
  EXPECT_LE(Frame()->width(), Frame()->screen()->availableGeometry().width() * 0.8 + 1);
  EXPECT_LE(Frame()->height(), Frame()->screen()->availableGeometry().height() * 0.8 + 1);
  CloseAndEnd();

  Launch();
  EXPECT_EQ(OpenDialog<IntroductionDlg>(), nullptr);
}

TEST_F(AppFixture, ClosedGameIsOfferedAgainOrResumedWhenAlwaysResuming) {
  Launch();
  ASSERT_TRUE(TakeTheUpcard());
  CloseAndEnd();
  EXPECT_EQ(ReadIni(Root / "QUORLA.INI", keys::CanResume), 1u);

  Answer = false;
  Boxes.clear();
  Launch();  // asked first; after a no a new game is dealt, the saved one waits for Resume Game, and the status bar says so
  ASSERT_EQ(Boxes.size(), 1u);
  EXPECT_EQ(Boxes[0].toStdString().rfind("Quorla Saved Game: You have an unfinished game saved.", 0), 0u);
  EXPECT_TRUE(Frame()->Client()->IsCommandEnabled(CM_RESUME_GAME));
  EXPECT_EQ(Frame()->statusBar()->currentMessage(),
            "Your unfinished game was kept: Game > Resume Game brings it back.");
  Frame()->Client()->RunCommand(CM_RESUME_GAME);
  EXPECT_TRUE(Frame()->statusBar()->currentMessage().isEmpty());
  CloseAndEnd();

  // A move in the new game means that game replaces the kept one at close.
  Launch();
  EXPECT_TRUE(Frame()->Client()->IsCommandEnabled(CM_RESUME_GAME));
  ASSERT_TRUE(TakeTheUpcard());
  EXPECT_FALSE(Frame()->Client()->IsCommandEnabled(CM_RESUME_GAME));
  CloseAndEnd();
  Answer = true;

  // The second close saved the game on the table again. Resume it at
  // start-up now.
  WriteIni(Root / "QUORLA.INI", keys::AlwaysResume, 1);
  Launch();
  ASSERT_TRUE(TakeTheUpcard());
  const std::vector<uint32_t> taken = Hand();
  CloseAndEnd();
  Launch();
  EXPECT_EQ(State().Play, HumanDiscard);
  EXPECT_EQ(Hand(), taken);
  EXPECT_FALSE(Frame()->Client()->IsCommandEnabled(CM_RESUME_GAME));
  EXPECT_TRUE(Frame()->statusBar()->currentMessage().isEmpty());
  CloseAndEnd();

  // A file of another format is not offered.
  WriteIni(Root / "QUORLA.INI", keys::AlwaysResume, 0);
  WriteIni(Root / "QUORLA.INI", keys::OKResumeVersn, 120);
  Launch();
  EXPECT_FALSE(Frame()->Client()->IsCommandEnabled(CM_RESUME_GAME));
}

TEST_F(AppFixture, OneCloseRequestEndsTheComputersWaitAndSavesEverything) {
  Launch();
  QuorlaClient* table = Frame()->Client();
  ASSERT_TRUE(StartTheComputersDraw());
  table->Sheet().Stats.At(USER_WINS, SIMPLE_GIN) = 7;
  table->SetWaitFactor(1000.0);  // only the close can end this wait
  const fs::file_time_type before = fs::last_write_time(Root / "QLPLAY.QLF");
  QTimer::singleShot(20, Frame(), [this] { Frame()->close(); });
  for (int i = 0; i < 1000 && Frame()->isVisible(); ++i) QApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
  EXPECT_FALSE(Frame()->isVisible());
  App.reset();  // the table goes and the learned weights are written
  EXPECT_TRUE(fs::exists(Root / "RESUME.QLF"));
  EXPECT_GT(fs::last_write_time(Root / "QLPLAY.QLF"), before);

  Answer = false;
  Launch();
  EXPECT_EQ(Frame()->Client()->Sheet().Stats.At(USER_WINS, SIMPLE_GIN), 7u);
  EXPECT_TRUE(Frame()->Client()->IsCommandEnabled(CM_RESUME_GAME));
}

TEST_F(AppFixture, ASignalWithABoxOpenSavesLikeACloseAndAFailedSaveNamesItsFiles) {
  Launch();
  App->SaveOnOutsideQuit();
  QuorlaClient* table = Frame()->Client();
  ASSERT_TRUE(StartTheComputersDraw());
  table->Sheet().Stats.At(USER_WINS, SIMPLE_GIN) = 7;
  table->SetWaitFactor(1000.0);
  // The statistics box is open inside the computer's wait when the signal
  // comes: nobody is there to answer it.
  QTimer::singleShot(20, Frame(), [table] { table->RunCommand(CM_STATISTICS); });
  QTimer::singleShot(60, Frame(), [] { raise(SIGTERM); });
  for (int i = 0; i < 1000 && Frame()->isVisible(); ++i) QApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
  EXPECT_FALSE(Frame()->isVisible());
  EXPECT_TRUE(App->IsQuitting());
  App.reset();
  for (int signalNumber : {SIGTERM, SIGHUP, SIGINT}) std::signal(signalNumber, SIG_DFL);
  EXPECT_TRUE(fs::exists(Root / "RESUME.QLF"));
  EXPECT_EQ(ReadIni(Root / "QUORLA.INI", keys::CanResume), 1u);
  SettingsStore saved("Quorla", (Root / "QUORLA.INI").string(), true);
  Statistics stats;
  stats.Load(saved);
  EXPECT_EQ(stats.At(USER_WINS, SIMPLE_GIN), 7u);

  // A resume file that cannot be replaced is named in one message, and the
  // older game is set aside.
  Launch();
  fs::remove(Root / "RESUME.QLF");
  fs::create_directory(Root / "RESUME.QLF");
  Boxes.clear();
  CloseAndEnd();
  ASSERT_EQ(Boxes.size(), 1u);
  EXPECT_EQ(Boxes[0].toStdString(), "Quorla Could Not Save: Quorla could not save " + (Root / "RESUME.QLF").string() +
                                        ". Check that the folder can be written to and that the disk has room.");
  EXPECT_TRUE(fs::is_directory(Root / "RESUME.QLF.stale"));
  EXPECT_EQ(ReadIni(Root / "QUORLA.INI", keys::CanResume), 0u);
}

TEST_F(AppFixture, NoNetworksAtAllClosesWithoutTouchingTheSavedGame) {
  Launch();
  ASSERT_TRUE(TakeTheUpcard());
  CloseAndEnd();
  const fs::file_time_type resume = fs::last_write_time(Root / "RESUME.QLF");
  std::ofstream(Root / "QLPLAY.QLF", std::ios::trunc) << "damaged";
  std::ofstream(Root / "QLDEFLT.QLF", std::ios::trunc) << "damaged";
  WriteIni(Root / "QUORLA.INI", keys::GinVariation, OKLAHOMA_GIN);
  {
    SettingsStore store("Quorla", (Root / "QUORLA.INI").string(), true);
    Statistics stats;
    stats.At(COMPUTER_WINS, OKLAHOMA_GIN) = 5;
    stats.Save(store);
  }
  App = std::make_unique<QuorlaApp>();
  App->SetPrompter([this](const QString& caption, const QString& text, QMessageBox::Icon, bool) {
    Boxes.push_back(caption + ": " + text);
    return true;
  });
  App->Start((Root / "QUORLA32").string());
  for (int i = 0; i < 200 && Frame()->isVisible(); ++i) QApplication::processEvents(QEventLoop::AllEvents, 5);
  EXPECT_FALSE(Frame()->isVisible());
  EXPECT_TRUE(State().DoNotSave);
  App.reset();
  EXPECT_EQ(fs::last_write_time(Root / "RESUME.QLF"), resume);
  EXPECT_EQ(ReadIni(Root / "QUORLA.INI", keys::CanResume), 1u);
  EXPECT_EQ(fs::file_size(Root / "QLPLAY.QLF"), 7u);  // no weights written over it
  // The rule choices are written as they were read, and the statistics kept.
  EXPECT_EQ(ReadIni(Root / "QUORLA.INI", keys::GinVariation), uint32_t{OKLAHOMA_GIN});
  SettingsStore store("Quorla", (Root / "QUORLA.INI").string(), true);
  Statistics stats;
  stats.Load(store);
  EXPECT_EQ(stats.At(COMPUTER_WINS, OKLAHOMA_GIN), 5u);
}

TEST_F(AppFixture, SelectionAtStartupOnlyWhenConfigurationsExist) {
  Launch();
  EXPECT_TRUE(Offered.empty());
  ASSERT_TRUE(App->Configs().AddConfiguration("bob"));
  CloseAndEnd();
  WriteIni(Root / "BOB" / "QUORLA.INI", keys::GinVariation, OKLAHOMA_GIN);

  Choice = "bob";
  Launch();
  ASSERT_EQ(Offered.size(), 1u);
  EXPECT_EQ(OfferedNames, std::vector<std::string>{"bob"});
  EXPECT_EQ(App->Configs().NameInUse(), "bob");
  EXPECT_EQ(Title(), "Quorla [bob] - Oklahoma Gin Variation");
  EXPECT_NE(OpenDialog<IntroductionDlg>(), nullptr);  // bob's first play
  EXPECT_EQ(ReadIni(Root / "BOB" / "QUORLA.INI", keys::FirstPlay), 0u);
  CloseAndEnd();

  Choice.reset();  // cancelled: the installation's own configuration
  Launch();
  EXPECT_EQ(App->Configs().NameInUse(), "Default");
  EXPECT_EQ(OpenDialog<IntroductionDlg>(), nullptr);
}

TEST_F(AppFixture, TwoConfigurationsKeepTheirOwnStatisticsGamesAndNetworks) {
  Launch();
  ASSERT_TRUE(App->Configs().AddConfiguration("ann"));
  ASSERT_TRUE(App->Configs().AddConfiguration("bob"));
  CloseDialogs();
  Frame()->SwitchPlayer("ann", true);
  EXPECT_EQ(Title(), "Quorla [ann] - Simple Gin Variation");
  Frame()->Client()->Sheet().Stats.At(USER_WINS, SIMPLE_GIN) = 3;
  ASSERT_TRUE(TakeTheUpcard());
  const std::vector<uint32_t> annsHand = Hand();

  Frame()->SwitchPlayer("bob", true);  // ann's game, statistics and weights are saved first
  EXPECT_EQ(Title(), "Quorla [bob] - Simple Gin Variation");
  EXPECT_EQ(Frame()->Client()->Sheet().Stats.At(USER_WINS, SIMPLE_GIN), 0u);
  EXPECT_FALSE(Frame()->Client()->IsCommandEnabled(CM_RESUME_GAME));
  EXPECT_TRUE(fs::exists(Root / "ANN" / "RESUME.QLF"));
  EXPECT_FALSE(fs::exists(Root / "BOB" / "RESUME.QLF"));
  EXPECT_EQ(ReadIni(Root / "ANN" / "QUORLA.INI", keys::CanResume), 1u);
  EXPECT_TRUE(fs::exists(Root / "ANN" / "QLPLAY.QLF"));
  EXPECT_TRUE(fs::exists(Root / "BOB" / "QLPLAY.QLF"));
  EXPECT_EQ(Frame()->Client()->ConfigurationDirectory(), (Root / "BOB").string() + "/");

  Answer = false;  // ann's saved game is asked about: not now
  Frame()->SwitchPlayer("ann", true);
  EXPECT_EQ(Frame()->Client()->Sheet().Stats.At(USER_WINS, SIMPLE_GIN), 3u);
  ASSERT_TRUE(Frame()->Client()->IsCommandEnabled(CM_RESUME_GAME));
  Frame()->Client()->RunCommand(CM_RESUME_GAME);
  EXPECT_EQ(Hand(), annsHand);
}

TEST_F(AppFixture, RemovingTheConfigurationInUseWhenItIsTheLastSwitchesToDefault) {
  Launch();
  ASSERT_TRUE(App->Configs().AddConfiguration("bob"));
  CloseDialogs();
  Frame()->SwitchPlayer("bob", true);
  Boxes.clear();
  QTimer::singleShot(0, [] {
    auto* dialog = qobject_cast<RemovePlayerDlg*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), "Remove Player Configuration(s)");
    dialog->List().item(0)->setSelected(true);
    SaveShot(Rendered(*dialog, 1), "remove_player_dlg.png");
    dialog->accept();
  });
  Frame()->RemovePlayersCommand();
  // Then Default's game, saved by the switch to bob, is asked about.
  ASSERT_EQ(Boxes.size(), 2u);
  EXPECT_EQ(Boxes[0].toStdString(),
            "Player Configuration Warning: You are currently using the configuration bob. Do you really want to "
            "remove this configuration?");
  EXPECT_EQ(Boxes[1].toStdString().rfind("Quorla Saved Game: ", 0), 0u);
  EXPECT_TRUE(Offered.empty());  // silently
  EXPECT_EQ(App->Configs().NameInUse(), "Default");
  EXPECT_EQ(Title(), "Quorla - Simple Gin Variation");
  EXPECT_FALSE(fs::exists(Root / "BOB"));
  EXPECT_EQ(Frame()->Client()->ConfigurationDirectory(), Root.string() + "/");
  CloseAndEnd();
  EXPECT_FALSE(fs::exists(Root / "BOB"));  // nothing was saved into the removed directory
}

TEST_F(AppFixture, RemovingSeveralAsksAboutTheOneInUseAndThenOffersTheOthers) {
  Launch();
  for (const char* name : {"ann", "bob", "cy"}) ASSERT_TRUE(App->Configs().AddConfiguration(name));
  CloseDialogs();
  Frame()->SwitchPlayer("bob", true);
  auto removeRows = [](std::vector<int> rows, std::vector<std::string> expected) {
    QTimer::singleShot(0, [rows, expected] {
      auto* dialog = qobject_cast<RemovePlayerDlg*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
      for (int row : rows) dialog->List().item(row)->setSelected(true);
      EXPECT_EQ(dialog->SelectedNames(), expected);
      dialog->accept();
    });
  };
  // ann goes, bob (in use) is kept: each is asked about before its files go.
  App->SetPrompter([this](const QString& caption, const QString& text, QMessageBox::Icon, bool) {
    Boxes.push_back(caption + ": " + text);
    return !text.contains("currently using");
  });
  Boxes.clear();
  removeRows({0, 1}, {"ann", "bob"});
  Frame()->RemovePlayersCommand();
  ASSERT_EQ(Boxes.size(), 2u);
  EXPECT_EQ(Boxes[0].toStdString(),
            "Player Configuration Warning: Removing deletes the settings, statistics, saved game and learning of "
            "the configuration ann. Do you really want to remove this configuration?");
  EXPECT_EQ(App->Configs().Names(), (std::vector<std::string>{"bob", "cy"}));
  EXPECT_EQ(App->Configs().NameInUse(), "bob");
  EXPECT_FALSE(fs::exists(Root / "ANN"));
  EXPECT_TRUE(Offered.empty());

  App->SetPrompter([](const QString&, const QString&, QMessageBox::Icon, bool) { return true; });
  // bob goes: another one is chosen
  Choice = "cy";
  removeRows({0}, {"bob"});
  Frame()->RemovePlayersCommand();
  ASSERT_EQ(Offered.size(), 1u);
  EXPECT_EQ(OfferedNames, std::vector<std::string>{"cy"});
  EXPECT_EQ(App->Configs().NameInUse(), "cy");
  EXPECT_EQ(Title(), "Quorla [cy] - Simple Gin Variation");
  EXPECT_FALSE(fs::exists(Root / "BOB"));
}

TEST_F(AppFixture, CreateDialogRefusesBadNamesAndTheSwitchFollows) {
  Launch();
  CloseDialogs();
  Boxes.clear();
  QStringList listed;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<CreatePlayerDlg*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), "Create Player Configuration(s)");
    for (const char* typed : {"default", "../up", "bob", "BOB", ""}) {
      dialog->NameEdit().setText(typed);
      dialog->AddButton().click();
    }
    // Enter in the name field adds the name and keeps the dialog open.
    dialog->NameEdit().setFocus();
    QTest::keyClicks(&dialog->NameEdit(), "cy");
    QTest::keyClick(&dialog->NameEdit(), Qt::Key_Return);
    EXPECT_TRUE(dialog->isVisible());
    for (int row = 0; row < dialog->UsedNames().count(); ++row) listed << dialog->UsedNames().item(row)->text();
    EXPECT_TRUE(dialog->NameEdit().text().isEmpty() || dialog->NameEdit().text() == "BOB");
    SaveShot(Rendered(*dialog, 1), "create_player_dlg.png");
    dialog->accept();
  });
  Choice = "bob";
  Frame()->CreatePlayersCommand();
  EXPECT_EQ(listed, (QStringList{"bob", "cy"}));
  ASSERT_EQ(Boxes.size(), 3u);
  EXPECT_EQ(Boxes[0].toStdString(),
            "Player Configuration Warning: Configuration Default is reserved. Choose another configuration name.");
  EXPECT_TRUE(Boxes[1].startsWith("Player Configuration Warning: "));
  EXPECT_TRUE(Boxes[2].startsWith("Player Configuration Warning: "));
  EXPECT_FALSE(fs::exists(Root.parent_path() / "UP"));
  ASSERT_EQ(Offered.size(), 1u);  // one was added: Switch Player follows
  EXPECT_EQ(Offered[0], "Switch Player");
  EXPECT_EQ(App->Configs().NameInUse(), "bob");
}

TEST_F(AppFixture, DamagedFilesAtStartupNeverStopTheProgram) {
  Launch();
  ASSERT_TRUE(App->Configs().AddConfiguration("bob"));
  CloseAndEnd();
  WriteIni(Root / "QUORLA.INI", keys::AlwaysResume, 1);
  WriteIni(Root / "QUORLA.INI", keys::CanResume, 1);
  WriteIni(Root / "QUORLA.INI", keys::OKResumeVersn, 121);
  std::ofstream(Root / "RESUME.QLF", std::ios::binary) << ":\x01\x01garbage";
  std::ofstream(Root / "QLPLAY.QLF", std::ios::trunc) << "damaged";
  const std::string bobsIni = "[Preferences]\nDeckId=99\nDifficultyLevel=\xff\xfe\n[Play\nGinVariation=77";
  std::ofstream(Root / "BOB" / "QUORLA.INI", std::ios::binary) << bobsIni;

  Launch();  // the resume file is damaged: its message, and a new game
  ASSERT_TRUE(Frame()->isVisible());
  bool corrupted = false;
  for (const QString& box : Boxes) corrupted = corrupted || box.contains("Corrupted file ");
  EXPECT_TRUE(corrupted);
  EXPECT_FALSE(State().DoNotSave);
  EXPECT_EQ(Frame()->Client()->Table().Deck.CardsInPile(HUMAN_PILE) >= 10, true);
  CloseAndEnd();

  Choice = "bob";
  Launch();  // a damaged settings file reads as defaults
  ASSERT_TRUE(Frame()->isVisible());
  EXPECT_EQ(App->Configs().NameInUse(), "bob");
  EXPECT_EQ(State().CardBackId, 24456u);
  CloseAndEnd();

  const char raw[] = "\0\1[Player Configurations\n0=../../etc\n1";
  const std::string registry(raw, sizeof raw - 1);
  std::ofstream(Root / "QUORLA.REG", std::ios::binary) << registry;
  Offered.clear();
  Launch();  // a damaged registry lists nothing usable
  ASSERT_TRUE(Frame()->isVisible());
  EXPECT_TRUE(Offered.empty());
  EXPECT_TRUE(fs::exists(Root / "BOB" / "QUORLA.INI"));  // nothing of the other configurations touched
  CloseAndEnd();

  // Named pipes in place of every data file: each is refused with its
  // message instead of waited on, and the program starts.
  BlockingGuard guard(60);
  for (const char* name : {"QUORLA.INI", "QUORLA.REG", "RESUME.QLF", "QLPLAY.QLF", "BACKIMG.QLF"})
    PlantBadFile(BadFile::FIFO, (Root / name).string());
  Boxes.clear();
  Launch();
  ASSERT_TRUE(Frame()->isVisible());
  EXPECT_EQ(Frame()->Client()->Table().Deck.CardsInPile(STOCK_PILE) > 0, true);
  EXPECT_GE(Boxes.size(), 3u);
  CloseAndEnd();
}

TEST_F(AppFixture, SmallWorkAreaWarnsUntilHidden) {
  Area = QSize(500, 400);
  Launch();
  WorkAreaDlg* warning = OpenDialog<WorkAreaDlg>();
  ASSERT_NE(warning, nullptr);
  EXPECT_TRUE(App->WorkAreaTooSmallForWindow());
  EXPECT_EQ(warning->windowTitle(), "Warning!");
  EXPECT_EQ(warning->HideBox().text(), "Hide this warning in the future");
  EXPECT_EQ(OpenDialog<IntroductionDlg>(), nullptr);  // it follows the warning
  SaveShot(Rendered(*warning, 1), "work_area_dlg.png");
  warning->HideBox().setChecked(true);
  warning->reject();  // Cancel keeps the warning
  QApplication::processEvents();
  EXPECT_NE(OpenDialog<IntroductionDlg>(), nullptr);
  CloseAndEnd();
  EXPECT_EQ(ReadIni(Root / "QUORLA.INI", keys::HideWarnSize), 0u);

  Launch();
  warning = OpenDialog<WorkAreaDlg>();
  ASSERT_NE(warning, nullptr);
  warning->HideBox().setChecked(true);
  warning->accept();
  QApplication::processEvents();
  CloseAndEnd();
  EXPECT_EQ(ReadIni(Root / "QUORLA.INI", keys::HideWarnSize), 1u);

  Launch();
  EXPECT_EQ(OpenDialog<WorkAreaDlg>(), nullptr);
  EXPECT_FALSE(App->WorkAreaTooSmallForWindow());
}

TEST_F(AppFixture, ASwitchToAConfigurationWithoutNetworksClosesWithoutSavingItsGame) {
  Launch();
  ASSERT_TRUE(App->Configs().AddConfiguration("bob"));
  CloseDialogs();
  std::ofstream(Root / "BOB" / "QLPLAY.QLF", std::ios::trunc) << "damaged";
  std::ofstream(Root / "QLDEFLT.QLF", std::ios::trunc) << "damaged";
  Frame()->SwitchPlayer("bob", true);
  for (int i = 0; i < 200 && Frame()->isVisible(); ++i) QApplication::processEvents(QEventLoop::AllEvents, 5);
  EXPECT_FALSE(Frame()->isVisible());
  App.reset();
  EXPECT_TRUE(fs::exists(Root / "RESUME.QLF"));  // Default's game was saved before the switch
  EXPECT_FALSE(fs::exists(Root / "BOB" / "RESUME.QLF"));
  EXPECT_EQ(fs::file_size(Root / "BOB" / "QLPLAY.QLF"), 7u);
}

TEST_F(AppFixture, ASecondStartOnTheConfigurationInUseBringsTheRunningCopyForward) {
  Launch();
  Frame()->showMinimized();
  QApplication::processEvents();
  ASSERT_TRUE(Frame()->isMinimized());
  // What a second copy does once it found the configuration taken.
  ASSERT_TRUE(RunningCopy::AskToComeForward(Root.string() + "/"));
  for (int i = 0; i < 100 && Frame()->isMinimized(); ++i) QApplication::processEvents(QEventLoop::AllEvents, 10);
  EXPECT_FALSE(Frame()->isMinimized());
  EXPECT_FALSE(RunningCopy::AskToComeForward(Root.string() + "/NOBODY/")) << "nobody listens there";
}
