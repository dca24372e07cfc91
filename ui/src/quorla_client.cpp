// The game table window: its life cycle, the presentation the flow talks
// through, the idle processing and the timed waits.
#include "ui/quorla_client.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QPaintEvent>
#include <QScreen>
#include <QToolTip>
#include <QStandardPaths>
#include <QWindow>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>

#include "app/card_faces_change.h"
#include "app/dialog_texts.h"
#include "app/score_sheet_fit.h"
#include "app/table_fit.h"
#include "app/table_start.h"
#include "game/meld_marks.h"
#include "game/status_texts.h"
#include "game/string_table.h"
#include "game/table_commands.h"
#include "game/text_ids.h"
#include "store/preferences.h"
#include "store/resume_file.h"
#include "store/setting_keys.h"
#include "ui/backdrop.h"
#include "ui/backdrop_loading.h"
#include "ui/image_convert.h"
#include "ui/scenery_picture.h"
#include "ui/score_sheet_window.h"
#include "ui/svg_card_images.h"
#include "ui/table_accessible.h"
#include "ui/table_status_panes.h"
#include "ui/resource_text.h"

namespace {

bool AskWithMessageBox(QWidget* parent, const QString& caption, const QString& text, QMessageBox::Icon icon,
                       bool yesNo) {
  QMessageBox box(icon, caption, text, yesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, parent);
  return box.exec() == (yesNo ? QMessageBox::Yes : QMessageBox::Ok);
}

}  // namespace


QuorlaClient::QuorlaClient(GameSettings& settings, std::string configDirectory, std::string installDirectory,
                           QWidget* parent)
    : QWidget(parent),
      Settings(settings),
      ConfigDirectory(std::move(configDirectory)),
      InstallDirectory(std::move(installDirectory)),
      Objects(*this, ReadTableChoices(*settings.Store).Rules.GameTarget),
      TheSheet(Objects.Record, ReadTableChoices(*settings.Store).Rules.Variation),
      ThePicture(Objects.Deck) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::StrongFocus);
  InstallTableAccessibility();
  Prompt = [this](const QString& caption, const QString& text, QMessageBox::Icon icon, bool yesNo) {
    return AskWithMessageBox(window(), caption, text, icon, yesNo);
  };
  IdleTimer.setSingleShot(true);
  connect(&IdleTimer, &QTimer::timeout, this, &QuorlaClient::OnIdle);
  GlideTimer.setTimerType(Qt::PreciseTimer);
  GlideTimer.setInterval(GLIDE_FRAME_MS);
  connect(&GlideTimer, &QTimer::timeout, this, &QuorlaClient::StepGlides);

  SheetView = new ScoreSheetWindow(TheSheet, this);
  connect(SheetView, &ScoreSheetWindow::ClosedByUser, this, [this] {
    Objects.State.ScoreSheetShown = false;
    emit CommandsChanged();
  });
  Surround = QColor::fromRgb(PLAIN_BACKDROP_COLOUR);
  ApplyScale();
}

QuorlaClient::~QuorlaClient() {
  // The table's last moves while it closes are shown to nobody.
  ThePicture.SetPresenter(nullptr);
}

TableParts QuorlaClient::Parts() { return {Objects.State, Objects.Deck, *Objects.Computer, TheSheet, *this}; }

void QuorlaClient::Start() {
  GameState& s = Objects.State;
  s.Watching = false;
  // Without networks the table still reads its rule choices and statistics
  // (and deals nothing): the close that follows saves them as they were.
  Objects.SeatComputer(Settings.Prefs.DifficultyLevel);
  ApplyTablePreferences();
  TableParts parts = Parts();
  const StartOutcome started = StartTable(Settings, parts, Objects.Flow, ConfigDirectory + RESUME_FILE);
  // After the start: it may have put back a game that a failed save set aside.
  Resumable.CheckSettings(*Settings.Store, Objects.Flow.HumanMoves());
  if (started.Resumed || started.ResumeFailed) Resumable.NoteAttempt();
  Introduction = started.ShowIntroduction;
  KickIdle();
  emit CommandsChanged();
}

bool QuorlaClient::RequestClose() {
  if (Objects.Flow.RequestClose()) return true;
  EndWaitIfDue();
  KickIdle();
  return false;
}

void QuorlaClient::SaveOnClose() {
  if (!Settings.Store) return;
  if (Objects.Deck.HeldCard()) Objects.Deck.ReturnHeldCard();
  TableParts parts = Parts();
  ReportUnsaved(CloseTable(Settings, parts, ConfigDirectory + RESUME_FILE).Saved);
}

void QuorlaClient::ReportUnsaved(const SaveReport& report) {
  if (!report.Complete()) MessageText(NotSavedCaption(), UnsavedFilesMessage(report), ICON_EXCLAMATION);
}

// --------------------------------------------------------------- commands

void QuorlaClient::RunCommand(uint32_t command) {
  if (command == CM_STATISTICS) {
    emit StatisticsRequested();
    return;
  }
  if (command == CM_SCENERY) {
    ChooseSceneryFile();
    return;
  }
  if (command == CM_HINT) {
    if (IsCommandEnabled(CM_HINT)) ShowHint();
    return;
  }
  if (command == CM_RESUME_GAME) {
    if (IsCommandEnabled(CM_RESUME_GAME)) ResumeSavedGame();
    return;
  }
  Objects.Flow.RunCommand(command, Objects.State.HitCard);
  AfterInput();
}

bool QuorlaClient::IsCommandEnabled(uint32_t command) const {
  const GameState& s = Objects.State;
  return ::IsCommandEnabled(command, {s, true, s.ScoreSheetShown, Objects.Record.GameOver,
                                      Settings.Prefs.DisableScenery, Resumable.IsOffered(Objects.Flow.HumanMoves())});
}

void QuorlaClient::ShowOptionChange(const WindowUpdate& update) {
  if (update.ReloadBackdrop) {
    // The backdrop loader takes the scenery switch from the settings file.
    WriteSetting(*Settings.Store, keys::DisableScenery, Settings.Prefs.DisableScenery ? 1 : 0);
    LoadBackdropPicture();
  }
  // New pictures for every card: the scale's whole set-up, at the same scale.
  if (update.NewCardFaces) {
    UseChosenFaceDeck();
    ApplyScale();
  }
  if (update.TablePresentation) ApplyTablePreferences();
  if (update.Redraw && Objects.Deck.IsLaidOut()) ThePicture.PaintArea(TABLE_AREA);
  AfterInput();
}

void QuorlaClient::ResumeSavedGame() {
  Resumable.NoteAttempt();
  TableParts parts = Parts();
  if (ResumeGameOnCommand(parts, Objects.Flow, ConfigDirectory + RESUME_FILE)) PresentRestoredGame();
  AfterInput();
}

void QuorlaClient::PresentRestoredGame() {
  const GameState& s = Objects.State;
  ThePicture.PaintArea(TABLE_AREA);
  SetStatus(s.StatusTextId);
  SetSelection(s.Selection, s.SelectionCard);
  ShowKnockLimit(s.KnockLimit);
  if (s.ScoreSheetShown) ShowScoreSheet();
}

void QuorlaClient::ShowStartupNotes() {
  const QStringList notes = Notes;
  Notes.clear();
  for (const QString& note : notes) {
    const int colon = note.indexOf(": ");
    Prompt(colon > 0 ? note.left(colon) : "Quorla", colon > 0 ? note.mid(colon + 2) : note, QMessageBox::Warning,
           false);
  }
}

