#pragma once

#include <QImage>
#include <QMessageBox>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/config_switch.h"
#include "app/window_update.h"
#include "game/keyboard_play.h"
#include "game/presentation.h"
#include "player/table_objects.h"
#include "store/resume_availability.h"
#include "store/score_sheet.h"
#include "store/table_parts.h"
#include "table/bitmap.h"
#include "table/image_provider.h"
#include "table/table_picture.h"
#include "ui/scale_cache.h"

class QPainter;
class QEventLoop;
class ScoreSheetWindow;
class SvgCardImages;
class TableStatusPanes;

// The game table window: it owns the game objects and the table's picture,
// shows the picture's back buffer, turns mouse actions and commands into
// the flow's operations, and is the flow's presentation (status panes,
// message boxes, timed waits). Every rule is the core's; this widget
// collects input and draws.
class QuorlaClient : public QWidget, public Presentation, public NxTablePresenter {
  Q_OBJECT

 public:
  // `settings` holds the open settings of the configuration in use; its
  // files live in `configDirectory` (with a trailing '/'), and the default
  // backdrop in `installDirectory`.
  QuorlaClient(GameSettings& settings, std::string configDirectory, std::string installDirectory,
               QWidget* parent = nullptr);
  ~QuorlaClient() override;

  // Loads the backdrop and deals a new game, or presents the saved one
  // when the configuration always resumes.
  void Start();
  // The frame's close request: false while the table first finishes what
  // it is doing (the idle step then asks again through CloseRequested).
  bool RequestClose();
  // Saves the unfinished game, the settings and the statistics.
  void SaveOnClose();
  // One message naming every file a save could not write.
  void ReportUnsaved(const SaveReport& report);

  void RunCommand(uint32_t command);
  // Scenery: a picture chosen with the file dialog becomes the backdrop.
  void ChooseSceneryFile();
  void ChooseSceneryFrom(const std::string& file);
  // Shows the notes gathered before the window was visible.
  void ShowStartupNotes();
  // Resume Game: the saved game replaces the one on the table.
  void ResumeSavedGame();
  // Whether the configuration plays for the first time (its introduction is due).
  bool IntroductionDue() const { return Introduction; }
  // Switch Player: the core's switch, then the new configuration's files,
  // backdrop and game on the table (quorla_client_switch.cpp).
  SwitchOutcome SwitchConfiguration(PlayerConfigs& configs, const std::string& chosen, bool saveFirst);
  const std::string& ConfigurationDirectory() const { return ConfigDirectory; }
  bool IsCommandEnabled(uint32_t command) const;
  // After an option dialog's values were applied: loads the backdrop again
  // or redraws as the update says, and lets a newly dealt game go on.
  void ShowOptionChange(const WindowUpdate& update);
  bool IsWatching() const { return Objects.State.Watching; }

  // The table is drawn to fit the widget at any factor, centred; every
  // position stays in table pixels. The size the widget asks for shows the
  // table at `scale` window pixels per table pixel.
  void SetPreferredScale(double scale);
  // Window (logical) pixels per table pixel at the widget's present size.
  double ViewScale() const;
  // Device pixels per table pixel of the composed table.
  double CompositionScale() const { return Scale; }
  // The line on the table telling the computer's latest move, and the
  // hand's moves its tooltip lists.
  QString MoveLine() const { return LastMove; }
  QStringList HandMoves() const { return Moves; }
  // The keyboard's focus on the table while it is framed.
  std::optional<TableFocus> KeyboardFocus() const { return FocusShown ? std::optional(Focus) : std::nullopt; }
  // Where the table is drawn in the widget, in device pixels.
  QRect TablePlace() const { return Placement; }
  // The folder of the face deck the cards are drawn from; empty for the
  // game's plain cards.
  QString FaceDeck() const;

  void SetStatusPanes(TableStatusPanes* panes) { Panes = panes; }
  TableObjects& Table() { return Objects; }
  const TableObjects& Table() const { return Objects; }
  NxTablePicture& Picture() { return ThePicture; }
  const NxTablePicture& Picture() const { return ThePicture; }
  ScoreSheet& Sheet() { return TheSheet; }
  ScoreSheetWindow* SheetWindow() { return SheetView; }
  // The frame moved, changed its size or state: a shown score sheet goes
  // beside it again.
  void FollowFrame();
  TableParts Parts();

  // How message boxes and questions reach the person; tests answer them.
  // Returns true for yes (or OK).
  using Prompter = std::function<bool(const QString& caption, const QString& text, QMessageBox::Icon icon,
                                      bool yesNo)>;
  void SetPrompter(Prompter prompter) { Prompt = std::move(prompter); }
  // Scales every timed wait (tests and benchmarks play fast).
  void SetWaitFactor(double factor) { WaitFactor = factor; }

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

  // --- Presentation
  void SetStatus(uint32_t textId) override;
  void SetSelection(SelectionKind kind, uint32_t card) override;
  void ShowKnockLimit(uint32_t limit) override;
  void Message(uint32_t captionId, uint32_t textId, MessageIcon icon) override;
  void MessageText(uint32_t captionId, const std::string& text, MessageIcon icon) override;
  void MessageWithFigures(uint32_t captionId, uint32_t textId, const std::string& figures, MessageIcon icon) override;
  bool Confirm(uint32_t captionId, uint32_t textId) override;
  bool ConfirmText(uint32_t captionId, const std::string& text) override;
  void ShowComputerHand(bool faceUp) override;
  void ShowScoreSheet() override;
  void CloseScoreSheet() override;
  void ShowMoves(const MoveHistory& moves) override;
  void SetBusy(bool busy) override;
  bool Wait(uint32_t milliseconds) override;
  void KeepAlive() override;
  void RepeatCloseRequest() override;
  // --- NxTablePresenter
  void Present(const NxBitmap& backBuffer, const TRect& tableArea) override;

 signals:
  // Enabling or check marks of commands may have changed.
  void CommandsChanged();
  // The table finished its step and asks the frame to close again.
  void CloseRequested();
  // The table is drawn at another size.
  void ViewScaleChanged();
  void StatisticsRequested();

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool event(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  // quorla_client_mouse.cpp: the mouse, the keys' focus and the hint
  TPoint ToTable(const QPointF& point) const;
  void LeftPress(TPoint point);
  void RightPress(TPoint point, const QPoint& globalPoint);
  void BeginDrag(uint32_t position, TPoint point, TPoint corner);
  void FinishDrag(TPoint point);
  uint32_t HandPositionOf(uint32_t card) const;
  void ShowFocus();
  // Frames the card or pile of the move the top level advises, where the
  // keyboard then acts, and says the move in the status bar.
  void ShowHint();

  // quorla_client.cpp: the table's life and its commands
  // A game read from the resume file while the window runs: every pile,
  // the three panes and the score sheet as saved.
  void PresentRestoredGame();

  // quorla_client_view.cpp: the picture
  void ApplyScale();
  // The player's face deck, or the default, goes on the card pictures.
  void UseChosenFaceDeck();
  bool FaceDeckChanged() const;
  // A resized window, or one moved to a screen of another pixel ratio,
  // draws the table anew at the size it is shown.
  void FollowSize();
  double WantedScale() const;
  TSize DeviceArea() const;
  // The deadwood pane and the hand's meld marks, after every input and
  // every step of the flow.
  void RefreshDeadwood();
  // Meld marks and animation as the preferences say.
  void ApplyTablePreferences();
  // Moves the cards on their way one frame further; the timer runs only
  // while a card is travelling.
  void StepGlides();
  // Widget pixels, rounded outwards, of an area of the composed table.
  QRect WidgetRect(const TRect& bufferArea) const;
  // The texts drawn over the composed table at the size it is shown.
  void DrawTableTexts(QPainter& painter) const;
  void DrawTableText(QPainter& painter, const TRect& tableArea, const QString& text, int flags) const;
  void LoadBackdropPicture();
  // The decorated backdrop at the present scale from the table picture.
  void DecorateBackdrop();
  void TakeBackdrop(const QImage& tablePicture);

  // quorla_client_presenter.cpp: the flow's presentation
  void KickIdle();
  void OnIdle();
  void EndWaitIfDue();
  void AfterInput();
  bool Ask(uint32_t captionId, const QString& text, QMessageBox::Icon icon, bool yesNo);
  // Beside the frame, on the screen, level with the table's top.
  void PlaceScoreSheet();

  // About sixty frames a second while a card travels.
  static constexpr int GLIDE_FRAME_MS = 16;

  GameSettings& Settings;
  std::string ConfigDirectory;
  std::string InstallDirectory;
  TableObjects Objects;
  ScoreSheet TheSheet;
  NxTablePicture ThePicture;
  std::unique_ptr<SvgCardImages> Images;
  ScoreSheetWindow* SheetView = nullptr;
  TableStatusPanes* Panes = nullptr;
  QImage Composed;  // the picture's back buffer as the screen shows it
  bool BackdropLoaded = false;  // the scenery file was read (or found missing) once
  QImage TablePicture;  // the scenery at table size, undecorated; null for the plain table
  // The decorated backdrop of the scales last shown.
  ScaleCache<NxBitmap> Backdrops{2};
  QColor Surround;  // around the table where the window is wider or taller
  double PreferredScale = 1.0;
  double Scale = 1.0;
  QRect Placement;
  QString LastMove;
  // The keyboard's focus on the table; framed once a key moved it.
  TableFocus Focus;
  bool FocusShown = false;
  QStringList Moves;
  QTimer IdleTimer;
  QTimer GlideTimer;
  QElapsedTimer GlideClock;
  // Since the window last handled its events during the computer's thinking.
  QElapsedTimer SinceKeepAlive;
  bool Hinting = false;
  QEventLoop* ActiveWait = nullptr;
  bool WaitTimeUp = false;
  double WaitFactor = 1.0;
  TPoint GrabOffset{0, 0};
  Prompter Prompt;
  QStringList Notes;
  QString LastSceneryDirectory;
  ResumeAvailability Resumable;
  bool Introduction = false;
};
