#pragma once

#include <cstdint>
#include <string>

#include "app/config_switch.h"
#include "app/history_keeper.h"
#include "player/table_objects.h"
#include "store/game_settings.h"
#include "store/resume_availability.h"
#include "store/score_sheet.h"
#include "store/table_parts.h"

class Presentation;

// The game on the table and what it lives on: the game objects, the score
// sheet's record, the history of play, the configuration's settings and
// folders, and whether its saved game is on offer. Starting, saving,
// resuming and switching go through the core here; what the window then
// shows is the client's.
class TableOwner {
 public:
  // `view` is where the flow shows the game; it is only kept here, so it
  // may still be under construction.
  TableOwner(GameSettings& settings, std::string configDirectory, std::string installDirectory,
             Presentation& view);

  // The start in two steps, so that the picture takes the preferences
  // after the computer sat down and before the first deal.
  void SeatComputer();
  // Deals a new game, or puts the saved one back when the configuration
  // always resumes.
  void StartGame();
  // Saves the unfinished game, the settings and the statistics.
  void SaveOnClose();
  // One message naming every file a save could not write.
  void ReportUnsaved(const SaveReport& report);
  // True when the saved game replaced the one on the table.
  bool ResumeSavedGame();
  // The core's switch; after a switch the folder and the saved game's
  // offer are the new configuration's.
  SwitchOutcome SwitchConfiguration(PlayerConfigs& configs, const std::string& chosen, bool saveFirst);
  bool IsCommandEnabled(uint32_t command) const;

  TableParts Parts();
  TableObjects& Table() { return Objects; }
  const TableObjects& Table() const { return Objects; }
  ScoreSheet& Sheet() { return TheSheet; }
  PlayHistory& History() { return Keeper.History(); }
  GameSettings& Settings() { return TheSettings; }
  const GameSettings& Settings() const { return TheSettings; }
  // With a trailing '/'.
  const std::string& ConfigDirectory() const { return ConfigFolder; }
  const std::string& InstallDirectory() const { return InstallFolder; }
  bool IntroductionDue() const { return Introduction; }

 private:
  std::string ResumePath() const;

  GameSettings& TheSettings;
  std::string ConfigFolder;
  std::string InstallFolder;
  Presentation& View;
  TableObjects Objects;
  ScoreSheet TheSheet;
  HistoryKeeper Keeper;
  ResumeAvailability Resumable;
  bool Introduction = false;
};
