#pragma once

#include <QMainWindow>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "store/config_switch.h"

class PlayerConfigs;
class QAction;
class QuorlaClient;
class TableStatusPanes;

// The main window around the table: the menu bar, the status bar with the
// table's panes, and the close sequence.
class QuorlaFrame : public QMainWindow {
  Q_OBJECT

 public:
  QuorlaFrame(GameSettings& settings, const std::string& configDirectory, const std::string& installDirectory);
  ~QuorlaFrame() override;

  // Deals the first game (or presents the saved one).
  void Start();
  QuorlaClient* Client() { return Table; }
  QAction* Action(uint32_t command) const;
  TableStatusPanes* Panes() { return StatusPanes.get(); }

  // --- Player configurations (quorla_frame_players.cpp)
  // Chooses a configuration among "Default" and `names`; nothing when cancelled.
  using PlayerChooser = std::function<std::optional<std::string>(
      const QString& title, const std::vector<std::string>& names, const std::string& preselected)>;
  // Adds the Player menu for the configurations of the run.
  void AttachPlayers(PlayerConfigs& configs);
  void SetPlayerChooser(PlayerChooser chooser) { Chooser = std::move(chooser); }
  // Switches to `name` and shows it: the frame's layout, the title.
  void SwitchPlayer(const std::string& name, bool saveFirst);
  void SwitchPlayerCommand();
  void CreatePlayersCommand();
  void RemovePlayersCommand();
  // "Quorla", the configuration unless it is Default, and the variation.
  void RebuildTitle();
  // The window takes exactly the size of its contents; it is not resizable.
  void LayOutFrame();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildMenus();
  QAction* AddCommand(class QMenu* menu, uint32_t command, const QKeySequence& shortcut = {});
  void RefreshCommands();
  void ShowStatistics();

  GameSettings& Settings;
  QuorlaClient* Table;
  std::unique_ptr<TableStatusPanes> StatusPanes;
  std::map<uint32_t, QAction*> Actions;
  QAction* LargeTable = nullptr;
  PlayerConfigs* Configs = nullptr;
  PlayerChooser Chooser;
  bool Closed = false;
};
