#include "ui/quorla_app.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QSessionManager>
#include <QMenuBar>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <algorithm>
#include <cstdio>

#include "app/config_claim.h"
#include "app/dialog_texts.h"
#include "app/folder_notice.h"
#include "game/string_table.h"
#include "game/text_ids.h"
#include "player/data_paths.h"
#include "store/player_configs.h"
#include "store/setting_keys.h"
#include "ui/backdrop_loading.h"
#include "ui/frame_size.h"
#include "ui/install_places.h"
#include "ui/introduction_dlg.h"
#include "ui/running_copy.h"
#include "ui/select_player_dlg.h"
#include "ui/work_area_dlg.h"
#include "ui/resource_text.h"

namespace {

constexpr const char* HELP_FILE = "QUORLA32.HLP";

bool AskWithMessageBox(QWidget* parent, const QString& caption, const QString& text, QMessageBox::Icon icon,
                       bool yesNo) {
  QMessageBox box(icon, caption, text, yesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, parent);
  return box.exec() == (yesNo ? QMessageBox::Yes : QMessageBox::Ok);
}

// Once the program has been told to end, a box would wait for nobody.
bool AnswerWithoutAsking(const QString& caption, const QString& text, QMessageBox::Icon, bool) {
  std::fprintf(stderr, "%s: %s\n", caption.toUtf8().constData(), text.toUtf8().constData());
  return false;
}

}  // namespace

QuorlaApp::QuorlaApp()
    : Running(ParsePlatformVersion(qVersion())),
      Prompt([this](const QString& caption, const QString& text, QMessageBox::Icon icon, bool yesNo) {
        return AskWithMessageBox(MainFrame.get(), caption, text, icon, yesNo);
      }) {}

QuorlaApp::~QuorlaApp() {
  MainFrame.reset();
  GameSettingsInUse.Store.reset();
  Players.reset();
}

void QuorlaApp::SetPrompter(QuorlaClient::Prompter prompter) {
  Prompt = std::move(prompter);
  PrompterGiven = true;
  if (MainFrame) MainFrame->Client()->SetPrompter(Prompt);
}

void QuorlaApp::SetPlayerChooser(QuorlaFrame::PlayerChooser chooser) {
  Chooser = std::move(chooser);
  if (MainFrame) MainFrame->SetPlayerChooser(Chooser);
}

void QuorlaApp::MessageText(uint32_t captionId, const std::string& text, MessageIcon icon) {
  Prompt(ResourceText(captionId), QString::fromStdString(text), ToQtIcon(icon), false);
}

bool QuorlaApp::ConfirmText(uint32_t captionId, const std::string& text) {
  return Prompt(ResourceText(captionId), QString::fromStdString(text), QMessageBox::Warning, true);
}

void QuorlaApp::Start(const std::string& programPath) {
  CheckPlatform(Running, {QT_VERSION_MAJOR, QT_VERSION_MINOR});
  Installation = InstallationDirectoryOf(programPath);
  HelpFile = Installation + HELP_FILE;
  const InstallPlaces places = FindInstallPlaces(Installation);
  data_paths::SetInstallationDirectory(places.Installation);

  // Until a configuration is chosen, the desktop's language.
  SpeakChosenLanguage({});
  Players = std::make_unique<PlayerConfigs>(places.Configuration, *this, ScreenColorResolution());
  Players->ReadInstalledFilesFrom(places.Installation);
  Players->RemoveAbandonedTemporaries();
  ChooseConfiguration();
  if (Quitting) {
    // Told to end while the person was choosing: nothing was played yet.
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    return;
  }
  if (!ClaimConfiguration()) {
    // Another copy plays on this configuration: this one writes nothing.
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    return;
  }
  const std::string directory = Players->DirectoryOf(Players->NameInUse());
  SeedPlayerFiles({places.Installation, directory});

  const std::string damage = GameSettingsInUse.Open(Players->SettingsPath());
  if (!damage.empty()) MessageText(SETTINGS_WARNING_CAPTION, damage, ICON_EXCLAMATION);
  if (!GameSettingsInUse.Prefs.Language.empty()) SpeakChosenLanguage(GameSettingsInUse.Prefs.Language);
  const std::string notice = places.PlayerFilesLeftBehind ? LeftBehindFilesNotice(*GameSettingsInUse.Store,
                                                                                     places.Installation,
                                                                                     places.Configuration)
                                                          : "";
  MainFrame = std::make_unique<QuorlaFrame>(GameSettingsInUse, directory, places.Installation);
  // The table places its own boxes clear of the cards, unless a test
  // answers them.
  if (PrompterGiven) MainFrame->Client()->SetPrompter(Prompt);
  MainFrame->Client()->SetWaitFactor(WaitFactor);
  if (Chooser) MainFrame->SetPlayerChooser(Chooser);
  MainFrame->AttachPlayers(*Players);
  MainFrame->ShowPlaced();
  MainFrame->Start();
  if (MainFrame->Client()->Table().State().ClosingRequested) {
    // No networks could be loaded: the table closes without saving.
    QTimer::singleShot(0, MainFrame.get(), &QWidget::close);
    return;
  }
  if (Quitting) {
    QTimer::singleShot(0, MainFrame.get(), &QWidget::close);
    return;
  }
  CheckWorkArea();
  // Said over the table, whose games it explains are not the old ones.
  if (!notice.empty())
    QTimer::singleShot(0, MainFrame.get(), [this, notice] { MessageText(FILES_MOVED_CAPTION, notice, ICON_EXCLAMATION); });
  // The warning and the introduction follow once the window is up.
  QTimer::singleShot(0, MainFrame.get(), [this] { ShowWorkAreaWarning(); });
}

void QuorlaApp::SpeakChosenLanguage(const std::string& choice) {
  const std::string problem = Language.Speak(choice, Installation);
  // The desktop's language and the configuration's can be the same one.
  if (problem.empty() || problem == LanguageProblemTold) return;
  LanguageProblemTold = problem;
  MessageText(LANGUAGE_CAPTION, problem, ICON_EXCLAMATION);
}

void QuorlaApp::SaveOnOutsideQuit() {
  Signals = std::make_unique<QuitSignals>();
  QObject::connect(Signals.get(), &QuitSignals::QuitRequested, Signals.get(), [this] { QuitWithoutQuestions(); });
  // The session manager asks for the data before it ends the session: the
  // save must be done when this returns.
  QObject::connect(qApp, &QGuiApplication::commitDataRequest, Signals.get(), [this](QSessionManager&) {
    QuitWithoutQuestions();
    FinishClosing();
  });
}

void QuorlaApp::QuitWithoutQuestions() {
  if (Quitting) return;
  Quitting = true;
  Prompt = AnswerWithoutAsking;
  if (MainFrame) MainFrame->Client()->SetPrompter(Prompt);
  DismissDialogs();
  // The frame's close ends a wait in progress and is granted from the
  // table's next idle step, after the computer's move is complete.
  if (MainFrame) QTimer::singleShot(0, MainFrame.get(), &QWidget::close);
}

void QuorlaApp::DismissDialogs() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    auto* dialog = qobject_cast<QDialog*>(widget);
    if (dialog && dialog->isVisible()) dialog->reject();
  }
}

void QuorlaApp::FinishClosing() {
  QElapsedTimer waited;
  waited.start();
  while (MainFrame && !MainFrame->IsClosed() && waited.elapsed() < 10000)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
}

std::optional<std::string> QuorlaApp::AskForConfiguration() {
  if (Chooser) return Chooser(ResourceText(PROGRAM_TITLE), Players->Names(), PlayerConfigs::DEFAULT_NAME);
  return ChoosePlayerWithDialog(nullptr, ResourceText(PROGRAM_TITLE), Players->Names(), PlayerConfigs::DEFAULT_NAME);
}

void QuorlaApp::ChooseConfiguration() {
  if (Players->Count() == 0) return;
  Players->Select(AskForConfiguration().value_or(PlayerConfigs::DEFAULT_NAME));
}

bool QuorlaApp::ClaimConfiguration() {
  const auto chooseAgain = [this]() -> std::optional<std::string> {
    return Quitting ? std::nullopt : AskForConfiguration();
  };
  const auto callForward = [](const std::string& directory) { RunningCopy::AskToComeForward(directory); };
  return ClaimConfigurationAtStart(*Players, *this, chooseAgain, callForward).has_value();
}

void QuorlaApp::CheckWorkArea() {
  const Preferences& prefs = GameSettingsInUse.Prefs;
  if (prefs.HideWarnSize != 0) return;
  const int32_t caption = MainFrame->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, MainFrame.get());
  const int32_t menu = MainFrame->menuBar()->sizeHint().height();
  const TSize formula = FrameWindowSize(caption, menu, prefs);
  // The window as laid out can be larger than the formula (a large table).
  const QSize laidOut = MainFrame->frameGeometry().size();
  const TSize window{std::max(formula.cx, laidOut.width()), std::max(formula.cy, laidOut.height())};
  QSize area = WorkArea.value_or(QSize());
  if (!WorkArea) {
    const QScreen* screen = MainFrame->screen() ? MainFrame->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    area = screen->availableGeometry().size();
  }
  TooSmall = WorkAreaTooSmall({area.width(), area.height()}, window);
}

void QuorlaApp::ShowWorkAreaWarning() {
  if (!TooSmall) {
    ShowIntroduction();
    return;
  }
  auto* dialog = new WorkAreaDlg(MainFrame.get());
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  QObject::connect(dialog, &QDialog::finished, MainFrame.get(), [this, dialog] {
    if (dialog->HideWarningChosen()) {
      GameSettingsInUse.Prefs.HideWarnSize = 1;
      WriteSetting(*GameSettingsInUse.Store, keys::HideWarnSize, 1);
    }
    ShowIntroduction();
  });
  dialog->open();
}

void QuorlaApp::ShowIntroduction() {
  if (!MainFrame->Client()->IntroductionDue()) return;
  // Written as it opens: the introduction is shown in the first run only.
  WriteSetting(*GameSettingsInUse.Store, keys::FirstPlay, 0);
  const GameState& state = MainFrame->Client()->Table().State();
  auto* dialog = new IntroductionDlg(state.Variation, state.GameTarget, MainFrame.get());
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->open();
}
