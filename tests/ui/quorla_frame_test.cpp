#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QTest>
#include <QToolButton>
#include <filesystem>
#include <set>

#include "app/dialog_texts.h"
#include "app/window_placement.h"
#include "game/language_choice.h"
#include "game/string_table.h"
#include "game/table_commands.h"
#include "game/text_ids.h"
#include "player/data_paths.h"
#include "ui/button_bar.h"
#include "ui/frame_commands.h"
#include "ui/help_topics.h"
#include "ui/help_window.h"
#include "ui/quorla_client.h"
#include "ui/quorla_frame.h"
#include "ui/resource_text.h"
#include "ui/table_status_panes.h"
#include "ui/score_sheet_window.h"
#include "ui_test_support.h"

namespace {

namespace fs = std::filesystem;

QString Text(uint32_t id) { return QString::fromUtf8(ResourceString(id)); }

// Every command of the menu bar: the table's and the frame's.
const std::vector<uint32_t> ALL_COMMANDS = {
    CM_NEXT_HAND,     CM_NEW_GAME,      CM_RESUME_GAME,   CM_SCORE,       CM_STATISTICS,    CM_PASS,
    CM_SORT_BY_VALUE, CM_SORT_BY_SUIT,  CM_WATCH_COMPUTER_HAND, CM_SCENERY, CM_VARIATIONS,    CM_DIFFICULTY,
    CM_DEALING,       CM_CARDBACK,      CM_PREFERENCES,   CM_SWITCH_PLAYER, CM_CREATE_PLAYER, CM_REMOVE_PLAYER,
    CM_HELP_CONTENTS, CM_HELP_USING,    CM_HELP_RULES,    CM_ABOUT,
};

// A frame on a scratch installation whose table answers every box with yes.
struct FrameFixture : ::testing::Test {
  FrameFixture() : Install("frame", QUORLA_DEFAULT_DATA), Root(Install.PlayerDirectory()) {}
  ~FrameFixture() override {
    Frame.reset();
  }

  void Open(uint32_t barLocation = 0, bool hidden = false) {
    Settings.Open((Root / "QUORLA.INI").string());
    Settings.Prefs.ToolbarLocation = barLocation;
    Settings.Prefs.HideToolbar = hidden;
    Frame = std::make_unique<QuorlaFrame>(Settings, Root.string(), Install.Directory());
    Frame->Client()->SetPrompter([](const QString&, const QString&, QMessageBox::Icon, bool) { return true; });
    Frame->Client()->SetWaitFactor(0.0);
    Frame->show();
    Frame->Start();
    Settle();
  }

  void Settle() {
    for (int i = 0; i < 20000 && Frame->Client()->Table().Flow.HasIdleWork(); ++i) QApplication::processEvents();
    QApplication::processEvents();
  }

  void MoveBar(uint32_t location, bool hidden = false) {
    Settings.Prefs.ToolbarLocation = location;
    Settings.Prefs.HideToolbar = hidden;
    Frame->Relayout();
    QApplication::processEvents();
  }

  QRect BarRect() { return Frame->Buttons()->geometry(); }
  QRect TableRect() { return Frame->centralWidget()->geometry(); }

  // The actions of every menu of the menu bar, by command.
  std::map<uint32_t, QAction*> MenuCommands() {
    std::map<uint32_t, QAction*> found;
    for (QAction* top : Frame->menuBar()->actions())
      for (QAction* item : top->menu()->actions())
        if (item->data().isValid()) found[item->data().toUInt()] = item;
    return found;
  }

  QToolButton* ButtonOf(uint32_t command) {
    return qobject_cast<QToolButton*>(Frame->Buttons()->widgetForAction(Frame->Action(command)));
  }

  ScratchInstallation Install;
  // The player configuration's directory, with its trailing '/'.
  fs::path Root;
  GameSettings Settings;
  std::unique_ptr<QuorlaFrame> Frame;
};

TEST_F(FrameFixture, EveryCommandIsInAMenuWithItsMnemonicAndHint) {
  Open();
  const auto menus = MenuCommands();
  for (uint32_t command : ALL_COMMANDS) {
    SCOPED_TRACE(command);
    ASSERT_TRUE(menus.count(command));
    QAction* action = menus.at(command);
    EXPECT_EQ(action->text(), Text(command));
    EXPECT_TRUE(action->text().contains('&'));
    EXPECT_FALSE(action->statusTip().isEmpty());
    EXPECT_EQ(action->statusTip(), Text(CommandHintId(command)));
  }
  EXPECT_EQ(Frame->Action(CM_NEW_GAME)->shortcut(), QKeySequence("Ctrl+N"));
  EXPECT_EQ(Frame->Action(CM_HELP_CONTENTS)->shortcut(), QKeySequence(Qt::Key_F1));
  QStringList menuTitles;
  for (QAction* top : Frame->menuBar()->actions()) menuTitles << top->text();
  EXPECT_EQ(menuTitles, (QStringList{"&Game", "&Options", "&Help"}));
  // Within a menu no two items share a mnemonic, but for the rules' own
  // "&Score" and "Sort Hand by &Suit".
  for (QAction* top : Frame->menuBar()->actions()) {
    std::set<QChar> mnemonics;
    for (QAction* item : top->menu()->actions()) {
      const qsizetype at = item->text().indexOf('&');
      if (item->isSeparator() || at < 0 || item->text() == "&Score") continue;
      EXPECT_TRUE(mnemonics.insert(item->text().at(at + 1).toLower()).second) << item->text().toStdString();
    }
  }
  bool exitFound = false;
  for (QAction* item : Frame->menuBar()->actions().front()->menu()->actions())
    if (item->text() == "E&xit") exitFound = item->shortcut() == QKeySequence("Ctrl+Q") && !item->statusTip().isEmpty();
  EXPECT_TRUE(exitFound);
}

// In every other language the menus read in that language, and no two
// items of a menu, nor two menus, share a mnemonic.
TEST_F(FrameFixture, TheMenusSpeakEachLanguageWithDistinctMnemonics) {
  const auto mnemonicOf = [](const QString& text) {
    const qsizetype at = text.indexOf('&');
    return at < 0 || at + 1 >= text.size() ? QChar() : text.at(at + 1).toLower();
  };
  for (const char* code : {"de", "fr", "es"}) {
    SCOPED_TRACE(code);
    ASSERT_EQ(SpeakLanguage(code, QUORLA_BUILD_DIRECTORY), "");
    Open();
    QStringList menuTitles;
    for (QAction* top : Frame->menuBar()->actions()) menuTitles << top->text();
    EXPECT_EQ(menuTitles,
              (QStringList{ResourceText(MENU_GAME_TEXT), ResourceText(MENU_OPTIONS_TEXT), ResourceText(MENU_HELP_TEXT)}));
    EXPECT_NE(menuTitles.front(), "&Game");
    std::set<QChar> menuMnemonics;
    for (QAction* top : Frame->menuBar()->actions()) {
      EXPECT_TRUE(menuMnemonics.insert(mnemonicOf(top->text())).second) << top->text().toStdString();
      std::set<QChar> mnemonics;
      for (QAction* item : top->menu()->actions()) {
        if (item->isSeparator()) continue;
        EXPECT_TRUE(mnemonics.insert(mnemonicOf(item->text())).second) << item->text().toStdString();
      }
    }
    Frame.reset();
  }
  UseTranslation({});
}

TEST_F(FrameFixture, MenuAndButtonsFollowTheTablesEnabledState) {
  Open();
  auto check = [this] {
    for (auto& [command, action] : MenuCommands()) {
      SCOPED_TRACE(command);
      if (IsFrameCommand(command)) continue;
      EXPECT_EQ(action->isEnabled(), Frame->Client()->IsCommandEnabled(command));
      if (QToolButton* button = ButtonOf(command)) {
        EXPECT_EQ(button->isEnabled(), action->isEnabled());
      }
    }
  };
  check();
  // Sorting by value disables that command at once, in the menu and on the bar.
  ASSERT_TRUE(Frame->Action(CM_SORT_BY_VALUE)->isEnabled());
  Frame->Action(CM_SORT_BY_VALUE)->trigger();
  Settle();
  EXPECT_FALSE(Frame->Action(CM_SORT_BY_VALUE)->isEnabled());
  EXPECT_FALSE(ButtonOf(CM_SORT_BY_VALUE)->isEnabled());
  EXPECT_TRUE(ButtonOf(CM_SORT_BY_SUIT)->isEnabled());
  check();
  // Help always works; dialogs that are not part of this build stay disabled.
  for (uint32_t command : {CM_HELP_CONTENTS, CM_HELP_RULES, CM_HELP_USING})
    EXPECT_TRUE(Frame->Action(command)->isEnabled());
  EXPECT_FALSE(Frame->Action(CM_RESUME_GAME)->isEnabled());
}

TEST_F(FrameFixture, ButtonBarHoldsItsButtonsInOrderWithEightPixelGaps) {
  Open(2);
  std::vector<uint32_t> seen;
  for (QAction* action : Frame->Buttons()->actions()) {
    if (action->data().isValid()) {
      seen.push_back(action->data().toUInt());
      continue;
    }
    seen.push_back(MENU_SEPARATOR);
    EXPECT_EQ(Frame->Buttons()->widgetForAction(action)->width(), ButtonBar::SEPARATOR_EXTENT);
  }
  EXPECT_EQ(seen, ButtonBar::Layout());
  MoveBar(1);
  for (QAction* action : Frame->Buttons()->actions()) {
    if (!action->data().isValid()) {
      EXPECT_EQ(Frame->Buttons()->widgetForAction(action)->height(), ButtonBar::SEPARATOR_EXTENT);
    }
  }
  for (uint32_t command : ButtonBar::Layout()) {
    if (command != MENU_SEPARATOR) {
      EXPECT_FALSE(ButtonOf(command)->icon().isNull()) << command;
    }
  }
}

TEST_F(FrameFixture, ButtonBarGoesToEachEdgeOrHides) {
  Open();
  struct Case {
    uint32_t Location;
    Qt::ToolBarArea Area;
  };
  for (Case c : {Case{0, Qt::RightToolBarArea}, Case{1, Qt::LeftToolBarArea}, Case{2, Qt::TopToolBarArea},
                 Case{3, Qt::BottomToolBarArea}}) {
    SCOPED_TRACE(c.Location);
    MoveBar(c.Location);
    EXPECT_EQ(Frame->toolBarArea(Frame->Buttons()), c.Area);
    ASSERT_TRUE(Frame->Buttons()->isVisible());
    const QRect bar = BarRect(), table = TableRect();
    switch (c.Location) {
      case 0: EXPECT_GE(bar.left(), table.right()); break;
      case 1: EXPECT_LE(bar.right(), table.left()); break;
      case 2: EXPECT_LE(bar.bottom(), table.top()); break;
      case 3: EXPECT_GE(bar.top(), table.bottom()); break;
    }
    const QSize addition = Frame->ButtonBarAddition();
    if (c.Location < 2) {
      EXPECT_EQ(bar.width(), ButtonBar::VERTICAL_WIDTH);
      EXPECT_EQ(addition, QSize(36, 0));
    } else {
      EXPECT_EQ(bar.height(), ButtonBar::HORIZONTAL_HEIGHT);
      EXPECT_EQ(addition, QSize(0, 30));
    }
    // The frame fits the table and the bar, nothing more.
    EXPECT_EQ(Frame->centralWidget()->size(), Frame->Client()->sizeHint());
    SaveShot(Rendered(*Frame, 1), QString("frame-bar-%1.png").arg(c.Location));
    if (c.Location == 0) SaveShot(Rendered(*Frame, 2), "frame-bar-0-x2.png");
  }
  MoveBar(0, true);
  EXPECT_FALSE(Frame->Buttons()->isVisible());
  EXPECT_EQ(Frame->ButtonBarAddition(), QSize(0, 0));
  EXPECT_EQ(Frame->width(), Frame->Client()->sizeHint().width());
  SaveShot(Rendered(*Frame, 2), "frame-bar-hidden-x2.png");
  // A value the settings should never hold puts the bar at the default edge.
  MoveBar(9);
  EXPECT_TRUE(Frame->Buttons()->isVisible());
  EXPECT_EQ(Frame->toolBarArea(Frame->Buttons()), Qt::LeftToolBarArea);
  EXPECT_EQ(Frame->ButtonBarAddition(), QSize(36, 0));
  // A right click beside the table offers no way to hide the bar behind the
  // preferences' back.
  std::unique_ptr<QMenu> popup(Frame->createPopupMenu());
  EXPECT_TRUE(!popup || popup->isEmpty());
}

TEST_F(FrameFixture, TooltipsAreHintsUntilTheBarFirstShowsThenTwoAreShort) {
  Settings.Open((Root / "QUORLA.INI").string());
  Settings.Prefs.HideToolbar = true;
  Frame = std::make_unique<QuorlaFrame>(Settings, Root.string(), Install.Directory());
  Frame->Client()->SetPrompter([](const QString&, const QString&, QMessageBox::Icon, bool) { return true; });
  Frame->show();
  QApplication::processEvents();
  EXPECT_EQ(Frame->Action(CM_SCORE)->toolTip(), Text(CommandHintId(CM_SCORE)));
  EXPECT_EQ(Frame->Action(CM_HELP_CONTENTS)->toolTip(), Text(CommandHintId(CM_HELP_CONTENTS)));
  MoveBar(0, false);
  QApplication::processEvents();
  EXPECT_EQ(ButtonOf(CM_SCORE)->toolTip(), "Game Score");
  EXPECT_EQ(ButtonOf(CM_HELP_CONTENTS)->toolTip(), "Help");
  for (uint32_t command : {CM_NEXT_HAND, CM_NEW_GAME, CM_PASS, CM_SORT_BY_VALUE, CM_SORT_BY_SUIT})
    EXPECT_EQ(ButtonOf(command)->toolTip(), Text(CommandHintId(command))) << command;
}

TEST_F(FrameFixture, HoveringAButtonOrAMenuItemShowsItsHint) {
  Open(2);
  QTest::mouseMove(ButtonOf(CM_NEW_GAME), ButtonOf(CM_NEW_GAME)->rect().center());
  QApplication::processEvents();
  EXPECT_EQ(Frame->statusBar()->currentMessage(), "Start a new game");
  QTest::mouseMove(ButtonOf(CM_SORT_BY_SUIT), ButtonOf(CM_SORT_BY_SUIT)->rect().center());
  QApplication::processEvents();
  EXPECT_EQ(Frame->statusBar()->currentMessage(), "Sort your current cards by suit");

  QAction* optionsTitle = Frame->menuBar()->actions().at(1);
  QMenu* options = optionsTitle->menu();
  QTest::mouseClick(Frame->menuBar(), Qt::LeftButton, {}, Frame->menuBar()->actionGeometry(optionsTitle).center());
  ASSERT_TRUE(QTest::qWaitForWindowExposed(options));
  QTest::mouseMove(options, options->actionGeometry(Frame->Action(CM_WATCH_COMPUTER_HAND)).center());
  QTest::mouseMove(options, options->actionGeometry(Frame->Action(CM_SCENERY)).center());
  QApplication::processEvents();
  EXPECT_EQ(Frame->statusBar()->currentMessage(), "Choose a picture for the table");
  options->close();
}

// A note too wide for the room beside the panes hides them while it shows,
// in a small bar; a short one, or a wide bar, keeps them. So does a main
// text too wide. A bar of its own: nothing else writes to it meanwhile.
TEST(StatusPanes, ANoteOrMainTextWinsOverThePanesWhereBothDoNotFit) {
  QWidget window;
  auto* bar = new QStatusBar(&window);
  TableStatusPanes panes(bar);
  panes.SetKnockLimit(QStringLiteral("Max. knock score:  10"));
  panes.SetSelection(QStringLiteral("Selection:  stock"));
  panes.SetDeadwood(QStringLiteral("Deadwood: 65"));
  window.show();
  QLabel* knockPane = nullptr;
  for (QLabel* label : bar->findChildren<QLabel*>())
    if (label->text().startsWith("Max. knock score")) knockPane = label;
  ASSERT_NE(knockPane, nullptr);
  const QString note = ResourceText(RESUME_LATER_NOTE);
  for (int width : {640, 1600}) {
    bar->resize(width, bar->sizeHint().height());
    QApplication::processEvents();
    bar->showMessage(note);
    const bool fits = bar->fontMetrics().horizontalAdvance(note) < width / 2;
    EXPECT_EQ(knockPane->isVisible(), fits) << width;
    bar->showMessage(QStringLiteral("Deal"));
    EXPECT_TRUE(knockPane->isVisible()) << width;
    bar->clearMessage();
    EXPECT_TRUE(knockPane->isVisible()) << width;
  }
  bar->resize(640, bar->sizeHint().height());
  QApplication::processEvents();
  panes.SetMain(note);
  EXPECT_FALSE(knockPane->isVisible());
  panes.SetMain(QStringLiteral("Your turn"));
  EXPECT_TRUE(knockPane->isVisible());
}

TEST_F(FrameFixture, HelpKeyAndHelpButtonOpenTheHelpWindow) {
  Open(2);
  SetHelpDirectory(QUORLA_HELP_SET);
  Frame->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(Frame.get()));
  QTest::keyClick(Frame.get(), Qt::Key_F1);
  auto* help = Frame->findChild<HelpWindow*>();
  ASSERT_NE(help, nullptr);
  EXPECT_TRUE(help->isVisible());
  EXPECT_TRUE(help->Browser()->source().toString().endsWith("contents.html"));
  Frame->Action(CM_HELP_RULES)->trigger();
  EXPECT_TRUE(help->Browser()->source().toString().endsWith("rules.html"));
  QTest::mouseClick(ButtonOf(CM_HELP_CONTENTS), Qt::LeftButton);
  EXPECT_TRUE(help->Browser()->source().toString().endsWith("contents.html"));
  EXPECT_TRUE(help->Browser()->Problem().isEmpty());
  help->close();
}

// A state's area is the window's, with its frame or without, once the
// platform or (where nothing else does) the frame itself had a moment.
bool SettlesAt(QWidget& frame, const QRect& area) {
  return QTest::qWaitFor([&] { return frame.geometry() == area || frame.frameGeometry() == area; }, 2000);
}

// The score sheet is a panel of the frame: shown by the Score command
// beside the table, never over it, and hidden by its own close button; floated, it keeps its place and
// comes back floating at the next start.
TEST_F(FrameFixture, TheScoreSheetIsAPanelOfTheFrameThatKeepsItsPlace) {
  Open();
  ScoreSheetWindow* sheet = Frame->Client()->SheetWindow();
  const QSize table = TableRect().size();
  const QRect normal = Frame->geometry();
  auto topWindows = [] {
    int shown = 0;
    for (const QWidget* top : QApplication::topLevelWidgets()) shown += top->isVisible() ? 1 : 0;
    return shown;
  };
  Frame->Action(CM_SCORE)->trigger();
  QApplication::processEvents();
  ASSERT_TRUE(sheet->IsShown());
  EXPECT_FALSE(sheet->isFloating());
  EXPECT_EQ(sheet->window(), Frame.get());
  EXPECT_EQ(topWindows(), 1);
  EXPECT_GE(sheet->geometry().left(), TableRect().right());
  ASSERT_TRUE(QTest::qWaitFor([&] { return TableRect().size() == table; }, 1000))
      << TableRect().width();
  Frame->RememberPlacement();
  EXPECT_EQ(ReadWindowPlacement(*Settings.Store)->Normal,
            (TRect{normal.x(), normal.y(), normal.x() + normal.width(), normal.y() + normal.height()}));
  EXPECT_TRUE(sheet->SummaryText().startsWith(QStringLiteral("Game to 100\n")));
  EXPECT_FALSE(Frame->Action(CM_SCORE)->isEnabled());
  sheet->close();
  QApplication::processEvents();
  EXPECT_FALSE(sheet->IsShown());
  EXPECT_FALSE(Frame->Client()->Table().State().ScoreSheetShown);
  EXPECT_TRUE(Frame->Action(CM_SCORE)->isEnabled());
  EXPECT_TRUE(QTest::qWaitFor([&] { return Frame->geometry() == normal; }, 1000)) << Frame->width();

  Frame->Action(CM_SCORE)->trigger();
  sheet->setFloating(true);
  sheet->move(60, 70);
  QApplication::processEvents();
  EXPECT_EQ(topWindows(), 2);
  Frame->close();
  ASSERT_TRUE(QTest::qWaitFor([&] { return Frame->IsClosed(); }, 2000));
  Frame.reset();
  Open();
  sheet = Frame->Client()->SheetWindow();
  Frame->Action(CM_SCORE)->trigger();
  QApplication::processEvents();
  EXPECT_TRUE(sheet->isFloating());
  EXPECT_EQ(sheet->pos(), QPoint(60, 70));
}

// Whatever state the window is left in, the configuration keeps the area
// it had as a normal window, and the state.
TEST_F(FrameFixture, TheNormalAreaIsRememberedThroughFullScreenAndMaximised) {
  Open();
  const QRect normal(30, 40, 500, 400);
  Frame->setGeometry(normal);
  QApplication::processEvents();
  auto remembered = [&](WindowMode mode) {
    Frame->RememberPlacement();
    const auto placement = ReadWindowPlacement(*Settings.Store);
    EXPECT_EQ(placement->Mode, mode);
    return placement ? placement->Normal : TRect{};
  };
  const TRect area{30, 40, 530, 440};
  Frame->SetFullScreen(true);
  ASSERT_TRUE(SettlesAt(*Frame, Frame->screen()->geometry()));
  EXPECT_EQ(remembered(WindowMode::FULL_SCREEN), area);
  // Closed at once after leaving full screen: the normal area is taken and kept.
  Frame->SetFullScreen(false);
  EXPECT_EQ(remembered(WindowMode::NORMAL), area);
  EXPECT_EQ(Frame->geometry(), normal);
  Frame->showMaximized();
  ASSERT_TRUE(SettlesAt(*Frame, Frame->screen()->availableGeometry()));
  EXPECT_EQ(remembered(WindowMode::MAXIMISED), area);
  Frame->SetFullScreen(true);
  ASSERT_TRUE(SettlesAt(*Frame, Frame->screen()->geometry()));
  Frame->SetFullScreen(false);
  EXPECT_TRUE(Frame->isMaximized());
  EXPECT_EQ(remembered(WindowMode::MAXIMISED), area);
  // Large Table leaves the state for the normal area's place.
  Frame->FitTableAt(2.0);
  EXPECT_FALSE(Frame->isMaximized());
  EXPECT_EQ(Frame->geometry().topLeft(), normal.topLeft());
  EXPECT_DOUBLE_EQ(ReadWindowPlacement(*Settings.Store)->Ratio, Frame->devicePixelRatioF());
}

// A start after one at another scale: the window is as large on the screen
// as it was where that fits, and starts as on a first start where not.
TEST_F(FrameFixture, AWindowRememberedAtAnotherScaleKeepsItsSizeOnTheScreenOrStartsAfresh) {
  Settings.Open((Root / "QUORLA.INI").string());
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  const double ratio = QGuiApplication::primaryScreen()->devicePixelRatio();
  auto startAfter = [&](const TRect& area, double then) {
    Frame.reset();
    WriteWindowPlacement(*Settings.Store, {area, WindowMode::NORMAL, then});
    Frame = std::make_unique<QuorlaFrame>(Settings, Root.string(), Install.Directory());
    Frame->ShowPlaced();
    QApplication::processEvents();
    return Frame->geometry();
  };
  const QRect halved = startAfter({10, 10, 10 + screen.width() * 3 / 8, 10 + screen.height() * 3 / 8}, 2 * ratio);
  EXPECT_EQ(halved.size(), QSize(screen.width() * 3 / 8, screen.height() * 3 / 8) * 2);
  EXPECT_GE(halved.top(), 20);
  // The whole screen at 2.5 times the scale fits nowhere.
  const QRect whole = startAfter({0, 0, screen.width(), screen.height()}, 2.5 * ratio);
  EXPECT_TRUE(screen.contains(whole)) << whole.width() << "x" << whole.height();
  EXPECT_LE((whole.center() - screen.center()).manhattanLength(), 2);
}

}  // namespace
