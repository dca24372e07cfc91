#pragma once

#include <QMainWindow>
#include <map>
#include <memory>
#include <string>

#include "store/config_switch.h"
#include "store/window_update.h"

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
  // The Options menu's dialogs, by the id of their menu text (dialog_texts).
  QAction* OptionAction(uint32_t menuTextId) const;

  // "Quorla", the configuration unless it is the default one, the variation.
  void SetConfigurationName(const std::string& name);
  void RebuildTitle();
  // Fits the frame around the table again after the button bar changed.
  void Relayout();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildMenus();
  QAction* AddCommand(class QMenu* menu, uint32_t command, const QKeySequence& shortcut = {});
  void RefreshCommands();
  void ShowStatistics();

  // quorla_frame_options.cpp
  void AddOptionDialogs(class QMenu* options);
  void AddOptionAction(class QMenu* menu, uint32_t menuTextId, uint32_t command, void (QuorlaFrame::*show)());
  void ShowVariations();
  void ShowDifficulty();
  void ShowDealing();
  void ShowCardback();
  void ShowPreferences();
  void ShowAbout();
  void ActOn(const WindowUpdate& update);

  GameSettings& Settings;
  QuorlaClient* Table;
  std::unique_ptr<TableStatusPanes> StatusPanes;
  std::map<uint32_t, QAction*> Actions;
  QAction* LargeTable = nullptr;
  std::map<uint32_t, QAction*> OptionActions;
  std::string ConfigurationName = "Default";
};
