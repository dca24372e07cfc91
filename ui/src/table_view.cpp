// The game table window's picture: the scale the table is drawn at for
// the widget's size, the backdrop and scenery, the picture's composed table,
// the texts over it and the keyboard's focus on it.
#include "ui/table_view.h"

#include <QPainter>
#include <QPaintEvent>
#include <QToolTip>
#include <QWindow>
#include <algorithm>
#include <cmath>
#include <utility>

#include "app/card_faces_change.h"
#include "app/table_fit.h"
#include "game/status_texts.h"
#include "game/text_ids.h"
#include "ui/image_convert.h"
#include "ui/quorla_client.h"
#include "ui/resource_text.h"
#include "ui/svg_card_images.h"
#include "ui/table_accessible.h"
#include "ui/table_owner.h"

namespace {

std::string ChosenFaceDeck(const Preferences& preferences) {
  std::vector<std::string> installed;
  for (const QString& deck : SvgCardImages::InstalledDecks()) installed.push_back(deck.toStdString());
  return FaceDeckInUse(preferences.CardFaces, installed, SvgCardImages::FACE_DECK);
}

}  // namespace

TableView::TableView(QuorlaClient& widget, TableOwner& owner, const TablePrompter& prompt)
    : Widget(widget),
      Owner(owner),
      Prompt(prompt),
      ThePicture(owner.Table().Deck),
      Backdrop(widget, owner, prompt) {
  GlideTimer.setTimerType(Qt::PreciseTimer);
  GlideTimer.setInterval(GLIDE_FRAME_MS);
  connect(&GlideTimer, &QTimer::timeout, this, &TableView::StepGlides);
}

TableView::~TableView() {
  // The table's last moves while it closes are shown to nobody.
  ThePicture.SetPresenter(nullptr);
}

// ------------------------------------------------------------------ scale

TSize TableView::DeviceArea() const {
  const double ratio = Widget.devicePixelRatioF();
  return {static_cast<int32_t>(std::lround(Widget.width() * ratio)),
          static_cast<int32_t>(std::lround(Widget.height() * ratio))};
}

double TableView::WantedScale() const { return FitScale(DeviceArea()); }

double TableView::ViewScale() const { return Scale / Widget.devicePixelRatioF(); }

void TableView::PlaceTable() {
  const TRect place = TablePlacement(DeviceArea(), Scale);
  Placement = QRect(place.left, place.top, place.Width(), place.Height());
}

void TableView::ApplyScale() {
  if (Images) {
    Images->SetScale(Scale);
  } else {
    Images = std::make_unique<SvgCardImages>(Scale);
    UseChosenFaceDeck();
  }
  const QString missing = ResourceText(DECKS_MISSING_LINE).arg(Images->MissingDecksMessage());
  if (!Images->MissingDecksMessage().isEmpty() && !Notes.contains(missing)) Notes << missing;
  ThePicture.SetImages(Images.get());
  ThePicture.SetPresenter(this);
  PlaceTable();
  if (!Backdrop.Loaded())
    LoadBackdropPicture();
  else
    DecorateBackdrop();
}

void TableView::FollowSize() {
  const double wanted = WantedScale();
  if (std::abs(wanted - Scale) > 1e-9) {
    Scale = wanted;
    ApplyScale();
    emit ScaleChanged();
    return;
  }
  PlaceTable();
  Widget.update();
}

void TableView::Shown() {
  FollowSize();
  if (QWindow* handle = Widget.window()->windowHandle())
    connect(handle, &QWindow::screenChanged, this, &TableView::FollowSize, Qt::UniqueConnection);
}

void TableView::SetPreferredScale(double scale) {
  PreferredScale = std::max(scale, MIN_TABLE_SCALE);
  Widget.updateGeometry();
}

QSize TableView::SizeHint() const {
  const TRect table = DeviceCover(TABLE_AREA, PreferredScale);
  return {table.Width(), table.Height()};
}

QSize TableView::MinimumSize() {
  const TRect table = DeviceCover(TABLE_AREA, MIN_TABLE_SCALE);
  return {table.Width(), table.Height()};
}

TPoint TableView::ToTable(const QPointF& point) const {
  const double ratio = Widget.devicePixelRatioF();
  const TPoint device{static_cast<int32_t>(std::floor(point.x() * ratio)),
                      static_cast<int32_t>(std::floor(point.y() * ratio))};
  return ToTablePoint(device, {Placement.left(), Placement.top(), Placement.right() + 1, Placement.bottom() + 1},
                      Scale);
}

// ------------------------------------------------------- backdrop and deck

void TableView::DecorateBackdrop() {
  NxBitmap& backdrop = Backdrop.At(Scale);
  const TRect table = DeviceCover(TABLE_AREA, Scale);
  // Once laid out, the picture presents every pixel of the composition;
  // before the first deal the table shows the backdrop alone.
  // A window resized back and forth shows two sizes in turn: the image of
  // the other one is kept, as fresh memory of that size costs more in page
  // faults than the copy into it.
  const QSize size(table.Width(), table.Height());
  if (Composed.size() != size) {
    std::swap(Composed, SpareComposed);
    if (Composed.size() != size) Composed = QImage(size, QImage::Format_RGB32);
  }
  if (!Owner.Table().Deck.IsLaidOut()) Composed = ToQImage(backdrop);
  ThePicture.SetBackground(backdrop, TABLE_AREA);
  Widget.update();
}

void TableView::UseChosenFaceDeck() {
  const std::string deck = ChosenFaceDeck(Owner.Settings().Prefs);
  if (!deck.empty()) Images->SetFaceDeck(QString::fromStdString(deck));
}

bool TableView::FaceDeckChanged() const {
  return Images && Images->MissingDecksMessage().isEmpty() &&
         Images->FaceDeck().toStdString() != ChosenFaceDeck(Owner.Settings().Prefs);
}

QString TableView::FaceDeck() const {
  return Images && Images->MissingDecksMessage().isEmpty() ? Images->FaceDeck() : QString();
}

void TableView::LoadBackdropPicture() {
  Backdrop.Load(Scale, Notes);
  DecorateBackdrop();
}

void TableView::ShowStartupNotes() {
  const QStringList notes = Notes;
  Notes.clear();
  for (const QString& note : notes) {
    const int colon = note.indexOf(": ");
    Prompt(colon > 0 ? note.left(colon) : "Quorla", colon > 0 ? note.mid(colon + 2) : note, QMessageBox::Warning,
           false);
  }
}

void TableView::ChooseSceneryFile() {
  if (Backdrop.ChooseFile(Scale)) DecorateBackdrop();
}

void TableView::ChooseSceneryFrom(const std::string& file) {
  if (Backdrop.ChooseFrom(file, Scale)) DecorateBackdrop();
}

// ---------------------------------------------------------------- drawing

void TableView::Present(const NxBitmap& backBuffer, const TRect& tableArea) {
  if (ThePicture.IsGliding() && !GlideTimer.isActive()) {
    GlideClock.start();
    GlideTimer.start();
  }
  if (backBuffer.Width() != Composed.width() || backBuffer.Height() != Composed.height()) return;
  if (tableArea.Intersects(STOCK_AREA)) Widget.update(WidgetRect(ThePicture.ToBuffer(STOCK_COUNT_AREA)));
  const TRect area = ThePicture.ToBuffer(tableArea);
  for (int32_t y = area.top; y < area.bottom; ++y) {
    const uint32_t* from = backBuffer.Data() + static_cast<size_t>(y) * backBuffer.Width() + area.left;
    auto* to = reinterpret_cast<uint32_t*>(Composed.scanLine(y)) + area.left;
    for (int32_t x = 0; x < area.Width(); ++x) to[x] = from[x] | 0xFF000000u;
  }
  Widget.update(WidgetRect(area));
}

void TableView::StepGlides() {
  // A frame that came late (the computer was thinking) moves the cards one
  // frame's worth, not the whole delay: the move is still seen.
  ThePicture.AdvanceGlides(static_cast<uint32_t>(std::min<qint64>(GlideClock.restart(), 2 * GLIDE_FRAME_MS)));
  if (!ThePicture.IsGliding()) GlideTimer.stop();
}

QRect TableView::WidgetRect(const TRect& bufferArea) const {
  const double ratio = Widget.devicePixelRatioF();
  const QRectF shown((Placement.left() + bufferArea.left) / ratio, (Placement.top() + bufferArea.top) / ratio,
                     bufferArea.Width() / ratio, bufferArea.Height() / ratio);
  return shown.toAlignedRect().adjusted(-1, -1, 1, 1);
}

void TableView::DrawTableText(QPainter& painter, const TRect& tableArea, const QString& text, int flags) const {
  if (text.isEmpty()) return;
  const TRect area = ThePicture.ToBuffer(tableArea);
  const QRect device(Placement.left() + area.left, Placement.top() + area.top, area.Width(), area.Height());
  // A dark edge keeps the white text readable on any scenery.
  painter.setPen(QColor(0, 0, 0, 150));
  painter.drawText(device.translated(std::max(1, qRound(Scale)), std::max(1, qRound(Scale))), flags, text);
  painter.setPen(Qt::white);
  painter.drawText(device, flags, text);
}

void TableView::DrawTableTexts(QPainter& painter) const {
  QFont font = Widget.font();
  font.setPixelSize(std::max(1, qRound(13 * Scale)));
  font.setBold(true);
  painter.setFont(font);
  DrawTableText(painter, MOVE_LINE_AREA, LastMove, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine);
  if (!TheHandEnd) {
    DrawTableText(painter, STOCK_COUNT_AREA, QString::fromStdString(StockCountText(Owner.Table().Deck)),
                  Qt::AlignCenter | Qt::TextSingleLine);
    return;
  }
  for (uint32_t seat : {HUMAN_SEAT, COMPUTER_SEAT})
    DrawTableText(painter, HAND_DEADWOOD_AREAS[seat], QString::fromStdString(TheHandEnd->Deadwood[seat]),
                  Qt::AlignCenter | Qt::TextWordWrap);
  // The sum on one line where it fits, else on two in a smaller font.
  const QString line = QString::fromStdString(TheHandEnd->Line);
  const TRect area = ThePicture.ToBuffer(HAND_END_LINE_AREA);
  // A little narrower than the area: the painter's layout may break a line
  // the metrics just let through.
  const QRect room(0, 0, area.Width() * 97 / 100, area.Height());
  const int oneLine = QFontMetrics(painter.font()).height();
  if (QFontMetrics(painter.font()).boundingRect(room, Qt::AlignCenter | Qt::TextWordWrap, line).height() > oneLine) {
    QFont smaller = painter.font();
    smaller.setPixelSize(std::max(1, qRound(11 * Scale)));
    painter.setFont(smaller);
  }
  DrawTableText(painter, HAND_END_LINE_AREA, line, Qt::AlignCenter | Qt::TextWordWrap);
}

void TableView::ShowHandEnd(const std::optional<HandEndView>& end) {
  const bool same = end.has_value() == TheHandEnd.has_value() &&
                    (!end || (end->Line == TheHandEnd->Line && end->Deadwood == TheHandEnd->Deadwood));
  TheHandEnd = end;
  if (same || Composed.isNull()) return;
  for (const TRect& area : {HAND_END_LINE_AREA, STOCK_COUNT_AREA, HAND_DEADWOOD_AREAS[0], HAND_DEADWOOD_AREAS[1]})
    Widget.update(WidgetRect(ThePicture.ToBuffer(area)));
}

void TableView::Paint(QPaintEvent* event) {
  QPainter painter(&Widget);
  const double ratio = Widget.devicePixelRatioF();
  // Device pixels throughout: the table is composed at the size it is shown.
  painter.scale(1.0 / ratio, 1.0 / ratio);
  QRegion asked;
  for (const QRect& logical : event->region())
    asked += QRectF(logical.x() * ratio, logical.y() * ratio, logical.width() * ratio, logical.height() * ratio)
                 .toAlignedRect();
  // Only the asked part of the scenery around the table: it costs more to
  // draw than the table's own dirty areas.
  Backdrop.PaintAround(painter, asked.subtracted(QRegion(Placement)), Placement, Scale);
  for (const QRect& device : asked) {
    const QRect part = device.intersected(Placement);
    if (part.isEmpty()) continue;
    painter.drawImage(part.topLeft(), Composed, part.translated(-Placement.topLeft()));
  }
  DrawTableTexts(painter);
}

void TableView::ShowToolTip(const QHelpEvent& help) {
  if (MOVE_LINE_AREA.Contains(ToTable(help.pos())) && !Moves.isEmpty())
    QToolTip::showText(help.globalPos(), Moves.join('\n'), &Widget);
  else
    QToolTip::hideText();
}

void TableView::ShowMoves(const MoveHistory& moves) {
  Moves.clear();
  for (const std::string& line : moves.Lines()) Moves << QString::fromStdString(line);
  const QString last = QString::fromStdString(moves.LastComputerMove());
  if (last == LastMove) return;
  LastMove = last;
  if (!Composed.isNull()) Widget.update(WidgetRect(ThePicture.ToBuffer(MOVE_LINE_AREA)));
}

// ------------------------------------------------------------------ focus

void TableView::FrameFocus(const TableFocus& focus) {
  TheFocus = focus;
  FocusShown = true;
  ShowFocus();
}

void TableView::HideFocus() {
  if (!FocusShown) return;
  FocusShown = false;
  ThePicture.SetHighlight(std::nullopt);
  ThePicture.Paint(true);
}

void TableView::ShowFocus() {
  NxDeck& deck = Owner.Table().Deck;
  if (FocusShown && deck.IsLaidOut() && !Owner.Table().State().Dragging) {
    const uint32_t count = deck.CardsInPile(HUMAN_PILE);
    if (count > 0) TheFocus.Position = std::min(TheFocus.Position, count - 1);
    ThePicture.SetHighlight(FocusRect(deck, TheFocus));
    ThePicture.Paint(true);
  }
  AnnounceTableFocus(Widget);
}
