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

namespace {

constexpr const char* BACKDROP_FILE = "BACKIMG.QLF";
// About sixty frames a second while a card travels.
constexpr int GLIDE_FRAME_MS = 16;

QString Text(uint32_t id) { return QString::fromUtf8(ResourceString(id)); }

QMessageBox::Icon ToQtIcon(MessageIcon icon) {
  switch (icon) {
    case ICON_EXCLAMATION: return QMessageBox::Warning;
    case ICON_ERROR: return QMessageBox::Critical;
    default: return QMessageBox::NoIcon;
  }
}

QMessageBox::Icon ToQtIcon(BackdropIcon icon) {
  switch (icon) {
    case BackdropIcon::INFORMATION: return QMessageBox::Information;
    case BackdropIcon::QUESTION: return QMessageBox::Question;
    default: return QMessageBox::Warning;
  }
}

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
      Objects(*this, nullptr, ReadTableChoices(*settings.Store).Rules.GameTarget),
      TheSheet(Objects.Record, ReadTableChoices(*settings.Store).Rules.Variation) {
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
  // The deck keeps a pointer to the pictures; the table goes first.
  Objects.Deck.SetPresenter(nullptr);
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

// ------------------------------------------------------------------ scale

TSize QuorlaClient::DeviceArea() const {
  const double ratio = devicePixelRatioF();
  return {static_cast<int32_t>(std::lround(width() * ratio)), static_cast<int32_t>(std::lround(height() * ratio))};
}

double QuorlaClient::WantedScale() const { return FitScale(DeviceArea()); }

double QuorlaClient::ViewScale() const { return Scale / devicePixelRatioF(); }

void QuorlaClient::ApplyScale() {
  if (Images) {
    Images->SetScale(Scale);
  } else {
    Images = std::make_unique<SvgCardImages>(Scale);
    UseChosenFaceDeck();
  }
  const QString missing = "Quorla: " + Images->MissingDecksMessage();
  if (!Images->MissingDecksMessage().isEmpty() && !Notes.contains(missing)) Notes << missing;
  Objects.Deck.SetImages(Images.get());
  Objects.Deck.SetPresenter(this);
  const TRect place = TablePlacement(DeviceArea(), Scale);
  Placement = QRect(place.left, place.top, place.Width(), place.Height());
  if (!BackdropLoaded)
    LoadBackdropPicture();
  else
    DecorateBackdrop();
}

void QuorlaClient::DecorateBackdrop() {
  NxBitmap& backdrop = Backdrops.At(Scale);
  if (backdrop.IsEmpty())
    backdrop = ToNxBitmap(TablePicture.isNull() ? PlainBackdrop(Scale) : DecoratedBackdrop(TablePicture, Scale));
  const TRect table = DeviceCover(TABLE_AREA, Scale);
  // Once laid out, the deck presents every pixel of the composition;
  // before the first deal the table shows the backdrop alone.
  if (Composed.width() != table.Width() || Composed.height() != table.Height())
    Composed = QImage(table.Width(), table.Height(), QImage::Format_RGB32);
  if (!Objects.Deck.IsLaidOut()) Composed = ToQImage(backdrop);
  Objects.Deck.SetBackground(backdrop, TABLE_AREA);
  update();
}

void QuorlaClient::TakeBackdrop(const QImage& tablePicture) {
  TablePicture = tablePicture;
  Backdrops.Clear();
  // The window around the table takes the colour of the scenery's edge.
  Surround = TablePicture.isNull() ? QColor::fromRgb(PLAIN_BACKDROP_COLOUR) : QColor::fromRgb(EdgeColour(TablePicture));
  DecorateBackdrop();
}

namespace {

std::string ChosenFaceDeck(const Preferences& preferences) {
  std::vector<std::string> installed;
  for (const QString& deck : SvgCardImages::InstalledDecks()) installed.push_back(deck.toStdString());
  return FaceDeckInUse(preferences.CardFaces, installed, SvgCardImages::FACE_DECK);
}

}  // namespace

void QuorlaClient::UseChosenFaceDeck() {
  const std::string deck = ChosenFaceDeck(Settings.Prefs);
  if (!deck.empty()) Images->SetFaceDeck(QString::fromStdString(deck));
}

bool QuorlaClient::FaceDeckChanged() const {
  return Images && Images->MissingDecksMessage().isEmpty() &&
         Images->FaceDeck().toStdString() != ChosenFaceDeck(Settings.Prefs);
}

QString QuorlaClient::FaceDeck() const {
  return Images && Images->MissingDecksMessage().isEmpty() ? Images->FaceDeck() : QString();
}

void QuorlaClient::LoadBackdropPicture() {
  std::string path = ConfigDirectory + BACKDROP_FILE;
  if (!std::filesystem::exists(path)) path = InstallDirectory + BACKDROP_FILE;
  BackdropLoad load = LoadBackdrop(path, Scale, *Settings.Store, ScreenColorResolution());
  BackdropLoaded = true;
  for (const BackdropMessage& message : load.Messages) {
    if (isVisible())
      Prompt(QString::fromStdString(message.Caption), QString::fromStdString(message.Text), ToQtIcon(message.Icon),
             false);
    else
      Notes << QString::fromStdString(message.Caption + ": " + message.Text);
  }
  TakeBackdrop(load.Picture);
}

void QuorlaClient::SetPreferredScale(double scale) {
  PreferredScale = std::max(scale, MIN_TABLE_SCALE);
  updateGeometry();
}

void QuorlaClient::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  FollowSize();
  if (window()->windowHandle())
    connect(window()->windowHandle(), &QWindow::screenChanged, this, &QuorlaClient::FollowSize,
            Qt::UniqueConnection);
}

void QuorlaClient::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  FollowSize();
}

void QuorlaClient::FollowSize() {
  const double wanted = WantedScale();
  if (std::abs(wanted - Scale) > 1e-9) {
    Scale = wanted;
    ApplyScale();
    emit ViewScaleChanged();
    return;
  }
  const TRect place = TablePlacement(DeviceArea(), Scale);
  Placement = QRect(place.left, place.top, place.Width(), place.Height());
  update();
}

QSize QuorlaClient::sizeHint() const {
  const TRect table = DeviceCover(TABLE_AREA, PreferredScale);
  return {table.Width(), table.Height()};
}

QSize QuorlaClient::minimumSizeHint() const {
  const TRect table = DeviceCover(TABLE_AREA, MIN_TABLE_SCALE);
  return {table.Width(), table.Height()};
}

// ---------------------------------------------------------------- drawing

void QuorlaClient::Present(const NxBitmap& backBuffer, const TRect& tableArea) {
  if (Objects.Deck.IsGliding() && !GlideTimer.isActive()) {
    GlideClock.start();
    GlideTimer.start();
  }
  if (backBuffer.Width() != Composed.width() || backBuffer.Height() != Composed.height()) return;
  if (tableArea.Intersects(STOCK_AREA)) update(WidgetRect(Objects.Deck.ToBuffer(STOCK_COUNT_AREA)));
  const TRect area = Objects.Deck.ToBuffer(tableArea);
  for (int32_t y = area.top; y < area.bottom; ++y) {
    const uint32_t* from = backBuffer.Data() + static_cast<size_t>(y) * backBuffer.Width() + area.left;
    auto* to = reinterpret_cast<uint32_t*>(Composed.scanLine(y)) + area.left;
    for (int32_t x = 0; x < area.Width(); ++x) to[x] = from[x] | 0xFF000000u;
  }
  update(WidgetRect(area));
}

// After every input and every step of the flow, not on every paint: a drag
// repaints many times and leaves the hand as it was.
void QuorlaClient::RefreshDeadwood() {
  if (Panes) Panes->SetDeadwood(QString::fromStdString(DeadwoodPaneText(Objects.Deck)));
  Objects.Deck.SetMarks(HUMAN_PILE, Settings.Prefs.ShowMelds ? MeldMarks(Objects.Deck, HUMAN_PILE) : CardMarks{});
}

void QuorlaClient::ApplyTablePreferences() {
  Objects.Deck.SetGlides(Settings.Prefs.Animation);
  RefreshDeadwood();
}

void QuorlaClient::StepGlides() {
  // A frame that came late (the computer was thinking) moves the cards one
  // frame's worth, not the whole delay: the move is still seen.
  Objects.Deck.AdvanceGlides(static_cast<uint32_t>(std::min<qint64>(GlideClock.restart(), 2 * GLIDE_FRAME_MS)));
  if (!Objects.Deck.IsGliding()) GlideTimer.stop();
}

QRect QuorlaClient::WidgetRect(const TRect& bufferArea) const {
  const double ratio = devicePixelRatioF();
  const QRectF shown((Placement.left() + bufferArea.left) / ratio, (Placement.top() + bufferArea.top) / ratio,
                     bufferArea.Width() / ratio, bufferArea.Height() / ratio);
  return shown.toAlignedRect().adjusted(-1, -1, 1, 1);
}

void QuorlaClient::DrawTableText(QPainter& painter, const TRect& tableArea, const QString& text, int flags) const {
  if (text.isEmpty()) return;
  const TRect area = Objects.Deck.ToBuffer(tableArea);
  const QRect device(Placement.left() + area.left, Placement.top() + area.top, area.Width(), area.Height());
  // A dark edge keeps the white text readable on any scenery.
  painter.setPen(QColor(0, 0, 0, 150));
  painter.drawText(device.translated(std::max(1, qRound(Scale)), std::max(1, qRound(Scale))), flags, text);
  painter.setPen(Qt::white);
  painter.drawText(device, flags, text);
}

void QuorlaClient::DrawTableTexts(QPainter& painter) const {
  QFont font = this->font();
  font.setPixelSize(std::max(1, qRound(13 * Scale)));
  font.setBold(true);
  painter.setFont(font);
  DrawTableText(painter, MOVE_LINE_AREA, LastMove, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine);
  DrawTableText(painter, STOCK_COUNT_AREA, QString::fromStdString(StockCountText(Objects.Deck)),
                Qt::AlignCenter | Qt::TextSingleLine);
}

bool QuorlaClient::event(QEvent* event) {
  if (event->type() != QEvent::ToolTip) return QWidget::event(event);
  const auto* help = static_cast<QHelpEvent*>(event);
  const TPoint point = ToTable(help->pos());
  if (MOVE_LINE_AREA.Contains(point) && !Moves.isEmpty())
    QToolTip::showText(help->globalPos(), Moves.join('\n'), this);
  else
    QToolTip::hideText();
  return true;
}

void QuorlaClient::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  const double ratio = devicePixelRatioF();
  // Device pixels throughout: the table is composed at the size it is shown.
  painter.scale(1.0 / ratio, 1.0 / ratio);
  const QRegion table(Placement);
  QRegion around(QRect(QPoint(0, 0), QSize(DeviceArea().cx, DeviceArea().cy)));
  around -= table;
  for (const QRect& rect : around) painter.fillRect(rect, Surround);
  for (const QRect& logical : event->region()) {
    const QRectF device(logical.x() * ratio, logical.y() * ratio, logical.width() * ratio, logical.height() * ratio);
    const QRect part = device.toAlignedRect().intersected(Placement);
    if (part.isEmpty()) continue;
    painter.drawImage(part.topLeft(), Composed, part.translated(-Placement.topLeft()));
  }
  DrawTableTexts(painter);
}

// ------------------------------------------------------- idle and waiting

void QuorlaClient::KickIdle() {
  RefreshDeadwood();
  if (!IdleTimer.isActive() && Objects.Flow.HasIdleWork()) IdleTimer.start(0);
}

void QuorlaClient::OnIdle() {
  const bool more = Objects.Flow.IdleStep();
  ShowFocus();
  RefreshDeadwood();
  emit CommandsChanged();
  if (more) IdleTimer.start(0);
}

void QuorlaClient::EndWaitIfDue() {
  if (!ActiveWait) return;
  const GameState& s = Objects.State;
  if ((WaitTimeUp && !s.Dragging) || s.AbortPending || s.ClosingRequested) ActiveWait->quit();
}

bool QuorlaClient::Wait(uint32_t milliseconds) {
  const GameState& s = Objects.State;
  if (!s.AbortPending && !s.ClosingRequested) {
    QEventLoop loop;
    QEventLoop* outer = ActiveWait;
    const bool outerTimeUp = WaitTimeUp;
    ActiveWait = &loop;
    WaitTimeUp = false;
    QTimer timer;
    timer.setSingleShot(true);
    connect(&timer, &QTimer::timeout, &loop, [this] {
      WaitTimeUp = true;
      EndWaitIfDue();
    });
    timer.start(static_cast<int>(milliseconds * WaitFactor));
    loop.exec();
    ActiveWait = outer;
    WaitTimeUp = outerTimeUp;
  }
  return !s.AbortPending;
}

// A slice of thinking is far shorter than a frame: the events are handled
// only every few milliseconds, so that the window answers well within a
// frame and the thinking is not slowed by the event loop.
void QuorlaClient::KeepAlive() {
  constexpr qint64 EVENTS_EVERY_MS = 8;
  if (SinceKeepAlive.isValid() && SinceKeepAlive.elapsed() < EVENTS_EVERY_MS) return;
  QCoreApplication::processEvents();
  SinceKeepAlive.start();
}

void QuorlaClient::AfterInput() {
  ShowFocus();
  EndWaitIfDue();
  KickIdle();
  emit CommandsChanged();
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
  if (update.Redraw && Objects.Deck.IsLaidOut()) Objects.Deck.PaintArea(TABLE_AREA);
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
  Objects.Deck.PaintArea(TABLE_AREA);
  SetStatus(s.StatusTextId);
  SetSelection(s.Selection, s.SelectionCard);
  ShowKnockLimit(s.KnockLimit);
  if (s.ScoreSheetShown) ShowScoreSheet();
}

void QuorlaClient::ChooseSceneryFile() {
  // A first choice starts where people keep their pictures.
  QString start = LastSceneryDirectory;
  if (start.isEmpty()) start = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
  if (!QDir(start).exists()) start = QDir::homePath();
  const QString file = QFileDialog::getOpenFileName(this, Text(SCENERY_TITLE), start,
                                                    SceneryFileFilters(Text(SCENERY_PICTURES_FILTER),
                                                                       Text(SCENERY_FILTER)));
  if (file.isEmpty()) return;
  LastSceneryDirectory = QFileInfo(file).absolutePath();
  ChooseSceneryFrom(file.toStdString());
}

void QuorlaClient::ChooseSceneryFrom(const std::string& file) {
  SetBusy(true);
  auto ask = [this](const BackdropMessage& question) {
    return Prompt(QString::fromStdString(question.Caption), QString::fromStdString(question.Text),
                  QMessageBox::Question, true);
  };
  SceneryChoice choice = ChooseScenery(file, ConfigDirectory + BACKDROP_FILE, Scale, ScreenColorResolution(), ask);
  SetBusy(false);
  if (choice.Message)
    Prompt(QString::fromStdString(choice.Message->Caption), QString::fromStdString(choice.Message->Text),
           ToQtIcon(choice.Message->Icon), false);
  if (choice.Backdrop.isNull()) return;
  TakeBackdrop(choice.Picture);
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

// ------------------------------------------------------------ presentation

bool QuorlaClient::Ask(uint32_t captionId, const QString& text, QMessageBox::Icon icon, bool yesNo) {
  return Prompt(Text(captionId), text, icon, yesNo);
}

void QuorlaClient::SetStatus(uint32_t textId) {
  if (Panes) Panes->SetMain(Text(textId));
}

void QuorlaClient::SetSelection(SelectionKind kind, uint32_t card) {
  if (Panes) Panes->SetSelection(QString::fromStdString(SelectionPaneText(kind, card)));
}

void QuorlaClient::ShowKnockLimit(uint32_t limit) {
  if (Panes) Panes->SetKnockLimit(QString::fromStdString(KnockLimitPaneText(limit)));
}

void QuorlaClient::Message(uint32_t captionId, uint32_t textId, MessageIcon icon) {
  Ask(captionId, Text(textId), ToQtIcon(icon), false);
}

void QuorlaClient::MessageWithFigures(uint32_t captionId, uint32_t textId, const std::string& figures,
                                      MessageIcon icon) {
  Ask(captionId, Text(textId) + "\n\n" + QString::fromStdString(figures), ToQtIcon(icon), false);
}

void QuorlaClient::ShowMoves(const MoveHistory& moves) {
  Moves.clear();
  for (const std::string& line : moves.Lines()) Moves << QString::fromStdString(line);
  const QString last = QString::fromStdString(moves.LastComputerMove());
  if (last == LastMove) return;
  LastMove = last;
  if (!Composed.isNull()) update(WidgetRect(Objects.Deck.ToBuffer(MOVE_LINE_AREA)));
}

void QuorlaClient::MessageText(uint32_t captionId, const std::string& text, MessageIcon icon) {
  Ask(captionId, QString::fromStdString(text), ToQtIcon(icon), false);
}

bool QuorlaClient::Confirm(uint32_t captionId, uint32_t textId) {
  return Ask(captionId, Text(textId), QMessageBox::Question, true);
}

bool QuorlaClient::ConfirmText(uint32_t captionId, const std::string& text) {
  return Ask(captionId, QString::fromStdString(text), QMessageBox::Warning, true);
}

void QuorlaClient::ShowComputerHand(bool) { emit CommandsChanged(); }

void QuorlaClient::ShowScoreSheet() {
  SheetView->SetLaidOff(Objects.State.LaidOff);
  if (!SheetView->IsShown()) PlaceScoreSheet();
  SheetView->Show();
  SheetView->Refresh();
}

void QuorlaClient::PlaceScoreSheet() {
  const QWidget* frame = window();
  const QRect outer = frame->frameGeometry();
  // Before its first showing the sheet's frame is not known yet: the main
  // window's decorations are the best guess.
  const QSize decorations = outer.size() - frame->geometry().size();
  const QSize size = SheetView->sizeHint().expandedTo(SheetView->size()) + decorations;
  const QScreen* screen = frame->screen() ? frame->screen() : QGuiApplication::primaryScreen();
  const QRect available = screen ? screen->availableGeometry() : outer;
  const TPoint place =
      PlaceBesideFrame({outer.left(), outer.top(), outer.right() + 1, outer.bottom() + 1}, {size.width(), size.height()},
                       {available.left(), available.top(), available.right() + 1, available.bottom() + 1},
                       mapToGlobal(QPoint(0, 0)).y());
  SheetView->move(place.x, place.y);
}

void QuorlaClient::FollowFrame() {
  if (SheetView && SheetView->IsShown()) PlaceScoreSheet();
}

void QuorlaClient::CloseScoreSheet() { SheetView->Close(); }

void QuorlaClient::SetBusy(bool busy) {
  if (busy)
    QApplication::setOverrideCursor(Qt::WaitCursor);
  else
    QApplication::restoreOverrideCursor();
}

void QuorlaClient::RepeatCloseRequest() { emit CloseRequested(); }
