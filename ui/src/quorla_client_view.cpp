// The game table window's picture: the scale the table is drawn at for
// the widget's size, the backdrop and scenery, the picture's composed table
// and the texts over it.
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

constexpr const char* BACKDROP_FILE = "BACKIMG.QLF";

QMessageBox::Icon ToQtIcon(BackdropIcon icon) {
  switch (icon) {
    case BackdropIcon::INFORMATION: return QMessageBox::Information;
    case BackdropIcon::QUESTION: return QMessageBox::Question;
    default: return QMessageBox::Warning;
  }
}

}  // namespace

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
  ThePicture.SetImages(Images.get());
  ThePicture.SetPresenter(this);
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
  // Once laid out, the picture presents every pixel of the composition;
  // before the first deal the table shows the backdrop alone.
  if (Composed.width() != table.Width() || Composed.height() != table.Height())
    Composed = QImage(table.Width(), table.Height(), QImage::Format_RGB32);
  if (!Objects.Deck.IsLaidOut()) Composed = ToQImage(backdrop);
  ThePicture.SetBackground(backdrop, TABLE_AREA);
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
  if (ThePicture.IsGliding() && !GlideTimer.isActive()) {
    GlideClock.start();
    GlideTimer.start();
  }
  if (backBuffer.Width() != Composed.width() || backBuffer.Height() != Composed.height()) return;
  if (tableArea.Intersects(STOCK_AREA)) update(WidgetRect(ThePicture.ToBuffer(STOCK_COUNT_AREA)));
  const TRect area = ThePicture.ToBuffer(tableArea);
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
  ThePicture.SetMarks(HUMAN_PILE, Settings.Prefs.ShowMelds ? MeldMarks(Objects.Deck, HUMAN_PILE) : CardMarks{});
}

void QuorlaClient::ApplyTablePreferences() {
  ThePicture.SetGlides(Settings.Prefs.Animation);
  RefreshDeadwood();
}

void QuorlaClient::StepGlides() {
  // A frame that came late (the computer was thinking) moves the cards one
  // frame's worth, not the whole delay: the move is still seen.
  ThePicture.AdvanceGlides(static_cast<uint32_t>(std::min<qint64>(GlideClock.restart(), 2 * GLIDE_FRAME_MS)));
  if (!ThePicture.IsGliding()) GlideTimer.stop();
}

QRect QuorlaClient::WidgetRect(const TRect& bufferArea) const {
  const double ratio = devicePixelRatioF();
  const QRectF shown((Placement.left() + bufferArea.left) / ratio, (Placement.top() + bufferArea.top) / ratio,
                     bufferArea.Width() / ratio, bufferArea.Height() / ratio);
  return shown.toAlignedRect().adjusted(-1, -1, 1, 1);
}

void QuorlaClient::DrawTableText(QPainter& painter, const TRect& tableArea, const QString& text, int flags) const {
  if (text.isEmpty()) return;
  const TRect area = ThePicture.ToBuffer(tableArea);
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

// ---------------------------------------------------------------- scenery

void QuorlaClient::ChooseSceneryFile() {
  // A first choice starts where people keep their pictures.
  QString start = LastSceneryDirectory;
  if (start.isEmpty()) start = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
  if (!QDir(start).exists()) start = QDir::homePath();
  const QString file = QFileDialog::getOpenFileName(this, ResourceText(SCENERY_TITLE), start,
                                                    SceneryFileFilters(ResourceText(SCENERY_PICTURES_FILTER),
                                                                       ResourceText(SCENERY_FILTER)));
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

