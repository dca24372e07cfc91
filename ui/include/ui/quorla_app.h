#pragma once

#include <QSize>
#include <memory>
#include <optional>
#include <string>

#include "app/config_switch.h"
#include "game/user_messages.h"
#include "ui/quit_signals.h"
#include "ui/quorla_client.h"
#include "ui/quorla_frame.h"
#include "ui/spoken_language.h"
#include "ui/startup_checks.h"

class PlayerConfigs;

// The application: brings the program up in its fixed order (platform,
// installation, player configuration, settings, table, resume, frame,
// work-area warning, title, introduction) and owns, for the whole run, the
// player configurations, the settings of the one in use and the frame.
// Going down, the frame (with the table and its saves) goes first, then the
// settings, then the configurations.
class QuorlaApp : public UserMessages {
 public:
  QuorlaApp();
  ~QuorlaApp() override;

  QuorlaApp(const QuorlaApp&) = delete;
  QuorlaApp& operator=(const QuorlaApp&) = delete;

  // How message boxes reach the person, before and after the table exists.
  void SetPrompter(QuorlaClient::Prompter prompter);
  // How a configuration is chosen at start-up and by Switch Player.
  void SetPlayerChooser(QuorlaFrame::PlayerChooser chooser);
  // The window library's version as found at run time (tests pretend).
  void SetRunningPlatform(PlatformVersion running) { Running = running; }
  // The desktop's work area (tests pretend); the screen's otherwise.
  void SetWorkArea(QSize area) { WorkArea = area; }
  // Scales the table's timed waits (tests play fast).
  void SetWaitFactor(double factor) { WaitFactor = factor; }

  // Saves and closes when the program is told to end from outside: by
  // SIGTERM, SIGHUP or SIGINT, or by the desktop session's quit.
  void SaveOnOutsideQuit();
  // The close of a program told to end: nothing waits for an answer any
  // more (open dialogs and boxes are dismissed, later messages go to the
  // standard error), and the window closes with the usual save, once.
  void QuitWithoutQuestions();
  bool IsQuitting() const { return Quitting; }

  // Brings the program up; `programPath` is the running program's file.
  // Throws StartupFailure when the platform or the program's name is wrong.
  void Start(const std::string& programPath);

  const std::string& InstallationDirectory() const { return Installation; }
  const std::string& HelpPath() const { return HelpFile; }
  PlayerConfigs& Configs() { return *Players; }
  GameSettings& Settings() { return GameSettingsInUse; }
  QuorlaFrame* Frame() { return MainFrame.get(); }
  // Whether the window was found larger than the work area.
  bool WorkAreaTooSmallForWindow() const { return TooSmall; }

  // --- UserMessages, for the player configurations
  void MessageText(uint32_t captionId, const std::string& text, MessageIcon icon) override;
  bool ConfirmText(uint32_t captionId, const std::string& text) override;

 private:
  std::optional<std::string> AskForConfiguration();
  void ChooseConfiguration();
  // Speaks the configuration's language, or the desktop's for an empty choice.
  void SpeakChosenLanguage(const std::string& choice);
  // False when another running copy has the configuration and this one
  // must leave.
  bool ClaimConfiguration();
  void CheckWorkArea();
  void ShowWorkAreaWarning();
  void ShowIntroduction();
  void DismissDialogs();
  void FinishClosing();

  PlatformVersion Running;
  std::optional<QSize> WorkArea;
  double WaitFactor = 1.0;
  QuorlaClient::Prompter Prompt;
  bool PrompterGiven = false;
  QuorlaFrame::PlayerChooser Chooser;
  std::string Installation;
  std::string HelpFile;
  SpokenLanguage Language;
  std::string LanguageProblemTold;
  bool TooSmall = false;
  bool Quitting = false;
  std::unique_ptr<QuitSignals> Signals;
  std::unique_ptr<PlayerConfigs> Players;
  GameSettings GameSettingsInUse;
  std::unique_ptr<QuorlaFrame> MainFrame;
};
