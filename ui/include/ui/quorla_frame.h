#pragma once

#include <QMainWindow>
#include <map>
#include <memory>
#include <string>

#include "store/config_switch.h"

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
};
