// The game table window: its parts put together, the widget's events
// handed to them, and the commands of the menus, the buttons and the keys.
#include "ui/quorla_client.h"

#include <QEvent>
#include <QHelpEvent>
#include <QKeyEvent>

#include <QScreen>

#include "app/box_place.h"
#include "game/table_commands.h"
#include "game/text_ids.h"
#include "store/setting_keys.h"
#include "ui/resource_text.h"
#include "ui/score_sheet_window.h"
#include "ui/table_accessible.h"
#include "ui/window_platform.h"

namespace {

TRect ToTRect(const QRect& r) { return {r.x(), r.y(), r.x() + r.width(), r.y() + r.height()}; }

}  // namespace

bool QuorlaClient::AskClearOfTheCards(const QString& caption, const QString& text, QMessageBox::Icon icon,
                                      bool yesNo) {
  QWidget* frame = window();
  QMessageBox box(icon, caption, text, yesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, frame);
  // Where the windowing system places every window itself, the box goes
  // where it puts it.
  const bool placed = PlacesWindows();
  if (const QScreen* screen = frame->screen(); screen && isVisible() && placed) {
    std::vector<TRect> keepClear;
    for (const TRect& area : TableAreasToKeepClear(Owner.Table().Deck, View.HandEnd().has_value())) {
      const QRect shown = View.ShownRect(area);
      keepClear.push_back(ToTRect(QRect(mapToGlobal(shown.topLeft()), shown.size())));
    }
    // The score sheet says what the hand changed in the game: it stays in view as well.
    if (const QWidget* sheet = ThePresenter.SheetWindow(); sheet && sheet->isVisible())
      keepClear.push_back(ToTRect(QRect(sheet->mapToGlobal(QPoint()), sheet->size())));
    // The box's title bar and edges are guessed from the frame's own.
    const QSize decorations = frame->frameGeometry().size() - frame->geometry().size();
    const QSize size = box.sizeHint() + decorations;
    if (const auto place = PlaceClearOf(keepClear, {size.width(), size.height()}, ToTRect(frame->frameGeometry()),
                                        ToTRect(screen->availableGeometry())))
      box.move(place->x, place->y);

  }
  return box.exec() == (yesNo ? QMessageBox::Yes : QMessageBox::Ok);
}

QuorlaClient::QuorlaClient(GameSettings& settings, std::string configDirectory, std::string installDirectory,
                           QWidget* parent)
    : QWidget(parent),
      Prompt([this](const QString& caption, const QString& text, QMessageBox::Icon icon, bool yesNo) {
        return AskClearOfTheCards(caption, text, icon, yesNo);
      }),
      Owner(settings, std::move(configDirectory), std::move(installDirectory), ThePresenter),
      View(*this, Owner, Prompt),
      ThePresenter(*this, Owner, View, Prompt),
      Input(*this, Owner, View, ThePresenter) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::StrongFocus);
  // The table's own accessible interface must be in place before anything
  // asks for one, the name's change notice included.
  InstallTableAccessibility();
  setAccessibleName(ResourceText(TABLE_ACCESSIBLE_NAME));
  connect(&ThePresenter, &FlowPresenter::CommandsChanged, this, &QuorlaClient::CommandsChanged);
  connect(&ThePresenter, &FlowPresenter::CloseRequested, this, &QuorlaClient::CloseRequested);
  connect(&View, &TableView::ScaleChanged, this, &QuorlaClient::ViewScaleChanged);
  View.ApplyScale();
}

QuorlaClient::~QuorlaClient() = default;

void QuorlaClient::Start() {
  Owner.SeatComputer();
  ThePresenter.ApplyTablePreferences();
  Owner.StartGame();
  ThePresenter.KickIdle();
  emit CommandsChanged();
}

bool QuorlaClient::RequestClose() {
  if (Owner.Table().Flow.RequestClose()) return true;
  ThePresenter.EndWaitIfDue();
  ThePresenter.KickIdle();
  return false;
}

void QuorlaClient::RunCommand(uint32_t command) {
  if (command == CM_STATISTICS) {
    emit StatisticsRequested();
    return;
  }
  if (command == CM_SCENERY) {
    View.ChooseSceneryFile();
    return;
  }
  if (command == CM_HINT) {
    if (IsCommandEnabled(CM_HINT)) Input.ShowHint();
    return;
  }
  if (command == CM_RESUME_GAME) {
    if (IsCommandEnabled(CM_RESUME_GAME)) ResumeSavedGame();
    return;
  }
  Owner.Table().Flow.RunCommand(command, Owner.Table().State().HitCard);
  ThePresenter.AfterInput();
}

void QuorlaClient::ShowOptionChange(const WindowUpdate& update) {
  GameSettings& settings = Owner.Settings();
  if (update.ReloadBackdrop) {
    // The backdrop loader takes the scenery switch from the settings file.
    WriteSetting(*settings.Store, keys::DisableScenery, settings.Prefs.DisableScenery ? 1 : 0);
    View.LoadBackdropPicture();
  }
  // New pictures for every card: the scale's whole set-up, at the same scale.
  if (update.NewCardFaces) {
    View.UseChosenFaceDeck();
    View.ApplyScale();
  }
  if (update.TablePresentation) ThePresenter.ApplyTablePreferences();
  if (update.Redraw && Owner.Table().Deck.IsLaidOut()) View.Picture().PaintArea(TABLE_AREA);
  ThePresenter.AfterInput();
}

void QuorlaClient::ResumeSavedGame() {
  if (Owner.ResumeSavedGame()) ThePresenter.PresentRestoredGame();
  ThePresenter.AfterInput();
}

SwitchOutcome QuorlaClient::SwitchConfiguration(PlayerConfigs& configs, const std::string& chosen,
                                                bool saveFirst) {
  const SwitchOutcome outcome = Owner.SwitchConfiguration(configs, chosen, saveFirst);
  if (!outcome.Switched) return outcome;
  // The new configuration may draw its cards from another face deck.
  if (View.FaceDeckChanged()) {
    View.UseChosenFaceDeck();
    View.ApplyScale();
  } else {
    View.LoadBackdropPicture();
  }
  if (outcome.Resumed)
    ThePresenter.PresentRestoredGame();
  else if (Owner.Table().Deck.IsLaidOut())
    View.Picture().PaintArea(TABLE_AREA);
  ThePresenter.AfterInput();
  return outcome;
}

// ----------------------------------------------------------------- events

void QuorlaClient::paintEvent(QPaintEvent* event) { View.Paint(event); }

bool QuorlaClient::event(QEvent* event) {
  if (event->type() != QEvent::ToolTip) return QWidget::event(event);
  View.ShowToolTip(*static_cast<QHelpEvent*>(event));
  return true;
}

void QuorlaClient::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  View.Shown();
}

void QuorlaClient::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  View.FollowSize();
}

void QuorlaClient::mousePressEvent(QMouseEvent* event) { Input.Press(*event); }

void QuorlaClient::mouseDoubleClickEvent(QMouseEvent* event) { Input.DoubleClick(*event); }

void QuorlaClient::mouseMoveEvent(QMouseEvent* event) { Input.Move(*event); }

void QuorlaClient::mouseReleaseEvent(QMouseEvent* event) { Input.Release(*event); }

void QuorlaClient::keyPressEvent(QKeyEvent* event) {
  if (!Input.Key(*event)) QWidget::keyPressEvent(event);
}
