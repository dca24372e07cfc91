#pragma once

#include <QMainWindow>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/config_switch.h"
#include "app/window_placement.h"
#include "app/window_update.h"
#include "ui/running_copy.h"
#include "ui/window_platform.h"

class PlayerConfigs;
class QAction;
class ButtonBar;
class QuorlaClient;
class TableStatusPanes;

// The main window around the table: the menu bar, the button bar, the
// status bar with the table's panes, and the close sequence.
class QuorlaFrame : public QMainWindow {
  Q_OBJECT

 public:
  QuorlaFrame(GameSettings& settings, const std::string& configDirectory, const std::string& installDirectory);
  ~QuorlaFrame() override;

  // Deals the first game (or presents the saved one).
  void Start();
  QuorlaClient* Client() { return Table; }
  // Whether the close was granted and the table saved.
  bool IsClosed() const { return Closed; }
  QAction* Action(uint32_t command) const;
  TableStatusPanes* Panes() { return StatusPanes.get(); }
  ButtonBar* Buttons() { return Bar; }

  // Places the button bar where the preferences say (after they changed)
  // and fits the frame around the table again.
  void Relayout();
  // What the button bar adds to the table's size: its width at the right or
  // left edge, its height at the top or bottom, nothing when hidden.
  QSize ButtonBarAddition() const;

  // --- Player configurations (quorla_frame_players.cpp)
  // Chooses a configuration among "Default" and `names`; nothing when cancelled.
  using PlayerChooser = std::function<std::optional<std::string>(
      const QString& title, const std::vector<std::string>& names, const std::string& preselected)>;
  // Gives the frame the configurations of the run, which the player
  // configuration commands change.
  void AttachPlayers(PlayerConfigs& configs);
  void SetPlayerChooser(PlayerChooser chooser) { Chooser = std::move(chooser); }
  // Switches to `name` and shows it: the frame's layout, the title.
  void SwitchPlayer(const std::string& name, bool saveFirst);
  void SwitchPlayerCommand();
  void CreatePlayersCommand();
  void RemovePlayersCommand();
  // "Quorla", the configuration unless it is Default, and the variation.
  void RebuildTitle();

  // --- The window's size (quorla_frame_view.cpp)
  // Shows the window where the configuration last had it (on a screen
  // there is now), or on a first start at the largest table size that fits
  // most of the screen.
  void ShowPlaced();
  // Sizes the window so the table is shown at `scale` window pixels per
  // table pixel (leaving maximised or full screen first).
  void FitTableAt(double scale);
  // Full screen, and back to the state before it; with or without a window
  // manager to carry it out.
  void SetFullScreen(bool on);
  // Writes the window's size, place and state into the configuration's settings.
  void RememberPlacement();
  // What the menus and bars add to the table's size.
  QSize Chrome();
  // No menu of bars and panels: the button bar goes by the preferences and
  // the score sheet by the Score command and its own close button.
  class QMenu* createPopupMenu() override { return nullptr; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void BuildMenus();
  QAction* AddCommand(class QMenu* menu, uint32_t command, const QKeySequence& shortcut = {});
  void RefreshCommands();
  // A saved game waits for Resume Game: the status bar says so for a while,
  // and no longer once it is resumed.
  void NoteResumableGame();
  void ShowStatistics();
  void RunFrameCommand(uint32_t command);
  bool IsFrameCommandEnabled(uint32_t command) const;

  // The option dialogs and About (quorla_frame_options.cpp); DialogReady
  // tells which dialog commands can open.
  void ShowVariations();
  void ShowDifficulty();
  void ShowDealing();
  void ShowCardback();
  void ShowCardFaces();
  void ShowPreferences();
  void ShowAbout();
  bool DialogReady(uint32_t command) const;
  // The Large Table and Full Screen marks follow the window.
  void FollowViewScale();
  void ApplyPlacement();
  // The window at `area`, or at its size where the windowing system
  // chooses the place.
  void PlaceAt(const TRect& area);
  WindowMode Mode() const;
  // Gives the window the area its state stands for where nobody else did
  // (no window manager), and the normal area back after leaving a state.
  void TakeAreaOfState();
  // The normal area is kept.
  void FollowGeometry();
  // The score sheet panel docked, or floated, where the configuration last
  // had it; hidden until the table shows it.
  void DockScoreSheet();
  void RememberScoreSheetPlace();
  // A normal window grows by the room the docked score sheet takes, and
  // gives it back when the sheet goes, so the table keeps its size.
  void KeepTableWidth();
  // The room the docked score sheet takes beside the table now.
  int DockedSheetWidth() const;
  // Asks, as New Game does, before an option change abandons the game;
  // false when the person declined.
  bool KeepGoingWhenAbandoning(bool abandons);
  // Redraws, retitles, relays or closes as an applied option asks.
  void ActOn(const WindowUpdate& update);

  GameSettings& Settings;
  QuorlaClient* Table;
  std::unique_ptr<TableStatusPanes> StatusPanes;
  std::map<uint32_t, QAction*> Actions;
  QAction* LargeTable = nullptr;
  bool MaximisedBeforeFullScreen = false;
  const bool PlacesWindowsHere = PlacesWindows();
  WindowModes Modes{PlacesWindowsHere};
  ButtonBar* Bar = nullptr;
  PlayerConfigs* Configs = nullptr;
  // Answers a second start on the configuration in use.
  RunningCopy Listener;
  PlayerChooser Chooser;
  bool Closed = false;
};
