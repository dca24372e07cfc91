#pragma once

#include <QMainWindow>
#include <map>
#include <memory>
#include <string>

#include "store/config_switch.h"
#include "store/window_update.h"

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
  QAction* Action(uint32_t command) const;
  TableStatusPanes* Panes() { return StatusPanes.get(); }
  ButtonBar* Buttons() { return Bar; }

  // Places the button bar where the preferences say (after they changed)
  // and fits the frame around the table again.
  void Relayout();
  // What the button bar adds to the table's size: its width at the right or
  // left edge, its height at the top or bottom, nothing when hidden.
  QSize ButtonBarAddition() const;

  // "Quorla", the configuration unless it is the default one, the variation.
  void SetConfigurationName(const std::string& name);
  void RebuildTitle();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildMenus();
  QAction* AddCommand(class QMenu* menu, uint32_t command, const QKeySequence& shortcut = {});
  void RefreshCommands();
  void ShowStatistics();
  void RunFrameCommand(uint32_t command);
  bool IsFrameCommandEnabled(uint32_t command) const;

  // The option dialogs and About (quorla_frame_options.cpp); DialogReady
  // tells which dialog commands can open.
  void ShowVariations();
  void ShowDifficulty();
  void ShowDealing();
  void ShowCardback();
  void ShowPreferences();
  void ShowAbout();
  bool DialogReady(uint32_t command) const;
  // Redraws, retitles, relays or closes as an applied option asks.
  void ActOn(const WindowUpdate& update);

  // The player configuration dialogs.
  void SwitchPlayer() {}
  void CreatePlayer() {}
  void RemovePlayer() {}

  GameSettings& Settings;
  QuorlaClient* Table;
  std::unique_ptr<TableStatusPanes> StatusPanes;
  std::map<uint32_t, QAction*> Actions;
  QAction* LargeTable = nullptr;
  ButtonBar* Bar = nullptr;
  std::string ConfigurationName = "Default";
};
