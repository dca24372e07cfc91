#include "ui/quorla_frame.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLayout>
#include <QScreen>
#include <QStyle>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>

#include "app/dialog_texts.h"
#include "game/string_table.h"
#include "game/table_commands.h"
#include "game/text_ids.h"
#include "store/settings_store.h"
#include "ui/button_bar.h"
#include "ui/frame_commands.h"
#include "ui/frame_size.h"
#include "ui/frame_view_keys.h"
#include "ui/help_topics.h"
#include "ui/quorla_client.h"
#include "ui/score_sheet_window.h"
#include "ui/statistics_dlg.h"
#include "ui/table_status_panes.h"
#include "ui/resource_text.h"

namespace {

// Long enough to be read at the start of a game; the status pane it covers
// comes back afterwards.
constexpr int RESUME_NOTE_MILLISECONDS = 12000;

}  // namespace

QuorlaFrame::QuorlaFrame(GameSettings& settings, const std::string& configDirectory,
                         const std::string& installDirectory)
    : Settings(settings) {
  Table = new QuorlaClient(settings, configDirectory, installDirectory, this);
  RebuildTitle();
  setCentralWidget(Table);
  DockScoreSheet();
  StatusPanes = std::make_unique<TableStatusPanes>(statusBar());
  Table->SetStatusPanes(StatusPanes.get());
  SetHelpDirectory(QString::fromStdString(installDirectory + "QUORLA32.HLP"));
  BuildMenus();
  Bar = new ButtonBar([this](uint32_t command) { return Action(command); }, this);
  Bar->Place(*this, settings.Prefs.ToolbarLocation, settings.Prefs.HideToolbar);
  connect(Table, &QuorlaClient::CommandsChanged, this, &QuorlaFrame::RefreshCommands);
  connect(Table, &QuorlaClient::CloseRequested, this, [this] { QTimer::singleShot(0, this, &QWidget::close); });
  connect(Table, &QuorlaClient::StatisticsRequested, this, &QuorlaFrame::ShowStatistics);
  connect(Table, &QuorlaClient::ViewScaleChanged, this, &QuorlaFrame::FollowViewScale);
  // The table grows with the window; the grip shows that it can be resized.
  statusBar()->setSizeGripEnabled(true);
}

QuorlaFrame::~QuorlaFrame() = default;

QAction* QuorlaFrame::AddCommand(QMenu* menu, uint32_t command, const QKeySequence& shortcut) {
  QAction* action = menu->addAction(ResourceText(command));
  action->setStatusTip(ResourceText(CommandHintId(command)));
  if (!shortcut.isEmpty()) action->setShortcut(shortcut);
  action->setData(command);
  if (IsFrameCommand(command))
    connect(action, &QAction::triggered, this, [this, command] { RunFrameCommand(command); });
  else
    connect(action, &QAction::triggered, this, [this, command] { Table->RunCommand(command); });
  Actions[command] = action;
  return action;
}

void QuorlaFrame::BuildMenus() {
  QMenu* game = menuBar()->addMenu(ResourceText(MENU_GAME_TEXT));
  AddCommand(game, CM_NEW_GAME, QKeySequence::New);
  AddCommand(game, CM_NEXT_HAND);
  AddCommand(game, CM_RESUME_GAME);
  game->addSeparator();
  AddCommand(game, CM_PASS);
  AddCommand(game, CM_HINT, QKeySequence(Qt::Key_H));
  AddCommand(game, CM_SORT_BY_VALUE);
  AddCommand(game, CM_SORT_BY_SUIT);
  AddCommand(game, CM_SORT_BY_MELDS);
  game->addSeparator();
  AddCommand(game, CM_SCORE);
  AddCommand(game, CM_STATISTICS);
  game->addSeparator();
  AddCommand(game, CM_SWITCH_PLAYER);
  AddCommand(game, CM_CREATE_PLAYER);
  AddCommand(game, CM_REMOVE_PLAYER);
  game->addSeparator();
  QAction* exit = game->addAction(ResourceText(EXIT_TEXT));
  exit->setShortcut(QKeySequence("Ctrl+Q"));
  exit->setStatusTip(ResourceText(HINT_EXIT));
  connect(exit, &QAction::triggered, this, &QWidget::close);

  QMenu* options = menuBar()->addMenu(ResourceText(MENU_OPTIONS_TEXT));
  AddCommand(options, CM_VARIATIONS);
  AddCommand(options, CM_DIFFICULTY);
  AddCommand(options, CM_DEALING);
  AddCommand(options, CM_CARDBACK);
  AddCommand(options, CM_CARD_FACES);
  AddCommand(options, CM_SCENERY);
  AddCommand(options, CM_PREFERENCES);
  options->addSeparator();
  AddCommand(options, CM_WATCH_COMPUTER_HAND)->setCheckable(true);
  LargeTable = options->addAction(ResourceText(LARGE_TABLE_TEXT));
  LargeTable->setCheckable(true);
  LargeTable->setStatusTip(ResourceText(HINT_LARGE_TABLE));
  // A quick way to one size of the free ones: checked whenever the window
  // shows the table at twice its size, however it got there.
  connect(LargeTable, &QAction::triggered, this, [this](bool on) {
    Settings.Store->WriteInt(OWN_SECTION, LARGE_TABLE_KEY, on ? 1 : 0);
    FitTableAt(on ? 2.0 : 1.0);
  });
  AddCommand(options, CM_FULL_SCREEN, QKeySequence(Qt::Key_F11))->setCheckable(true);

  QMenu* help = menuBar()->addMenu(ResourceText(MENU_HELP_TEXT));
  AddCommand(help, CM_HELP_CONTENTS, QKeySequence::HelpContents);
  AddCommand(help, CM_HELP_RULES);
  AddCommand(help, CM_HELP_USING);
  help->addSeparator();
  AddCommand(help, CM_ABOUT);
  for (QMenu* menu : {game, options, help}) connect(menu, &QMenu::aboutToShow, this, &QuorlaFrame::RefreshCommands);
}

QAction* QuorlaFrame::Action(uint32_t command) const {
  auto it = Actions.find(command);
  return it == Actions.end() ? nullptr : it->second;
}

void QuorlaFrame::RefreshCommands() {
  for (auto& [command, action] : Actions)
    action->setEnabled(IsFrameCommand(command) ? IsFrameCommandEnabled(command) : Table->IsCommandEnabled(command));
  Actions[CM_WATCH_COMPUTER_HAND]->setChecked(Table->IsWatching());
  Actions[CM_FULL_SCREEN]->setChecked(isFullScreen());
  if (!Table->IsCommandEnabled(CM_RESUME_GAME) && statusBar()->currentMessage() == ResourceText(RESUME_LATER_NOTE))
    statusBar()->clearMessage();
  // A resumed game or an option may have changed the variation.
  RebuildTitle();
}

void QuorlaFrame::RunFrameCommand(uint32_t command) {
  switch (command) {
    case CM_VARIATIONS: ShowVariations(); break;
    case CM_DIFFICULTY: ShowDifficulty(); break;
    case CM_DEALING: ShowDealing(); break;
    case CM_CARDBACK: ShowCardback(); break;
    case CM_CARD_FACES: ShowCardFaces(); break;
    case CM_PREFERENCES: ShowPreferences(); break;
    case CM_ABOUT: ShowAbout(); break;
    case CM_SWITCH_PLAYER: SwitchPlayerCommand(); break;
    case CM_CREATE_PLAYER: CreatePlayersCommand(); break;
    case CM_REMOVE_PLAYER: RemovePlayersCommand(); break;
    case CM_HELP_CONTENTS: ShowHelpTopic(this, "contents"); break;
    case CM_HELP_RULES: ShowHelpTopic(this, "rules"); break;
    case CM_HELP_USING: ShowHelpTopic(this, "using_help"); break;
    case CM_FULL_SCREEN: SetFullScreen(!isFullScreen()); break;
    default: break;
  }
}

bool QuorlaFrame::IsFrameCommandEnabled(uint32_t command) const {
  switch (command) {
    case CM_HELP_CONTENTS:
    case CM_HELP_RULES:
    case CM_HELP_USING:
    case CM_FULL_SCREEN: return true;
    default: return DialogReady(command);
  }
}

void QuorlaFrame::Relayout() {
  // The table keeps its size; the window grows or shrinks by the bar.
  const double scale = Table->ViewScale();
  Bar->Place(*this, Settings.Prefs.ToolbarLocation, Settings.Prefs.HideToolbar);
  if (!isFullScreen() && !isMaximized()) FitTableAt(scale);
}

QSize QuorlaFrame::ButtonBarAddition() const {
  const TSize addition = ::ButtonBarAddition(Settings.Prefs);
  return {addition.cx, addition.cy};
}

void QuorlaFrame::Start() {
  Table->ShowStartupNotes();
  Table->Start();
  RebuildTitle();
  RefreshCommands();
  // The keys of play go to the table from the start.
  Table->setFocus();
  NoteResumableGame();
}

void QuorlaFrame::DockScoreSheet() {
  ScoreSheetWindow* sheet = Table->SheetWindow();
  auto stored = [this](const char* key) { return Settings.Store ? Settings.Store->ReadInt(OWN_SECTION, key, 0) : 0; };
  addDockWidget(stored(SHEET_LEFT_KEY) ? Qt::LeftDockWidgetArea : Qt::RightDockWidgetArea, sheet);
  sheet->setFloating(stored(SHEET_FLOATING_KEY) != 0);
  sheet->hide();
  connect(sheet, &ScoreSheetWindow::RoomAboutToChange, this, &QuorlaFrame::KeepTableWidth);
  if (!sheet->isFloating() || !PlacesWindowsHere) return;
  // A floating panel goes back to its place only where a screen still shows
  // its title; elsewhere the toolkit places it.
  const QPoint place(static_cast<int32_t>(stored(SHEET_LEFT_EDGE_KEY)), static_cast<int32_t>(stored(SHEET_TOP_EDGE_KEY)));
  for (const QScreen* screen : QGuiApplication::screens())
    if (screen->availableGeometry().contains(place + QPoint(40, 10))) {
      sheet->move(place);
      return;
    }
}

void QuorlaFrame::KeepTableWidth() {
  if (Mode() != WindowMode::NORMAL || isMinimized() || !isVisible()) return;
  // The table's width before the panel comes or goes is the one to keep.
  const int before = centralWidget()->width();
  QTimer::singleShot(0, this, [this, before] {
    // The panel's own width may follow the frame's, so a second look
    // settles it.
    for (int look = 0; look < 3 && Mode() == WindowMode::NORMAL && !isMinimized(); ++look) {
      layout()->activate();
      int width = this->width() + before - centralWidget()->width();
      if (const QScreen* shown = screen())
        width = std::min(width, shown->availableGeometry().width() - (frameGeometry().width() - this->width()));
      if (width == this->width()) return;
      resize(width, height());
    }
  });
}

int QuorlaFrame::DockedSheetWidth() const {
  const ScoreSheetWindow* sheet = Table->SheetWindow();
  if (!sheet->isVisible() || sheet->isFloating()) return 0;
  return sheet->width() + style()->pixelMetric(QStyle::PM_DockWidgetSeparatorExtent, nullptr, this);
}

void QuorlaFrame::RememberScoreSheetPlace() {
  if (!Settings.Store) return;
  ScoreSheetWindow* sheet = Table->SheetWindow();
  SettingsStore::Batch oneWrite(*Settings.Store);
  Settings.Store->WriteInt(OWN_SECTION, SHEET_FLOATING_KEY, sheet->isFloating() ? 1 : 0);
  Settings.Store->WriteInt(OWN_SECTION, SHEET_LEFT_KEY, dockWidgetArea(sheet) == Qt::LeftDockWidgetArea ? 1 : 0);
  const QPoint place = sheet->pos();
  if (sheet->isFloating() && PlacesWindowsHere && place.x() >= 0 && place.y() >= 0) {
    Settings.Store->WriteInt(OWN_SECTION, SHEET_LEFT_EDGE_KEY, static_cast<uint32_t>(place.x()));
    Settings.Store->WriteInt(OWN_SECTION, SHEET_TOP_EDGE_KEY, static_cast<uint32_t>(place.y()));
  }
}

void QuorlaFrame::NoteResumableGame() {
  if (Table->IsCommandEnabled(CM_RESUME_GAME))
    statusBar()->showMessage(ResourceText(RESUME_LATER_NOTE), RESUME_NOTE_MILLISECONDS);
}

void QuorlaFrame::ShowStatistics() {
  PlayHistory& history = Table->History();
  StatisticsDlg dialog(Table->Sheet().Stats, FiguresOf(history.Hands(), history.Games()), this);
  connect(&dialog, &StatisticsDlg::HelpRequested, &dialog, [&dialog] { ShowHelpTopic(&dialog, "statistics"); });
  dialog.exec();
}

void QuorlaFrame::closeEvent(QCloseEvent* event) {
  // A repeated request arriving after the close (the table's idle step and
  // a failed start both ask) must not save a second time.
  if (Closed) {
    event->accept();
    return;
  }
  if (!Table->RequestClose()) {
    event->ignore();
    return;
  }
  RememberPlacement();
  RememberScoreSheetPlace();
  Table->SaveOnClose();
  Table->SheetWindow()->Close();
  Closed = true;
  event->accept();
}
