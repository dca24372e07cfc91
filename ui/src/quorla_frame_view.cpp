// QuorlaFrame: the window's size. The table is drawn at whatever size the
// window gives it; this file chooses that size on start, after Large Table
// and full screen, and remembers it for the configuration.
#include <QAction>
#include <QGuiApplication>
#include <QLayout>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QWindow>
#include <QWindowStateChangeEvent>
#include <cmath>

#include "app/table_fit.h"
#include "app/window_placement.h"
#include "store/settings_store.h"
#include "ui/frame_commands.h"
#include "ui/frame_view_keys.h"
#include "ui/quorla_client.h"
#include "ui/quorla_frame.h"

namespace {

TRect ToTRect(const QRect& r) { return {r.x(), r.y(), r.x() + r.width(), r.y() + r.height()}; }
QRect ToQRect(const TRect& r) { return {r.left, r.top, r.Width(), r.Height()}; }

// The available areas of the screens there are now, the primary first.
std::vector<TRect> AvailableScreens() {
  std::vector<TRect> areas;
  const QScreen* primary = QGuiApplication::primaryScreen();
  if (primary) areas.push_back(ToTRect(primary->availableGeometry()));
  for (const QScreen* screen : QGuiApplication::screens())
    if (screen != primary) areas.push_back(ToTRect(screen->availableGeometry()));
  return areas;
}

ScreenAreas AreasOf(const QScreen& screen) {
  return {ToTRect(screen.geometry()), ToTRect(screen.availableGeometry())};
}

// The title bar a window manager puts above the window: as it is once the
// window is shown, the style's guess before.
int TitleHeight(const QWidget& window) {
  const int framed = window.geometry().top() - window.frameGeometry().top();
  return window.isVisible() && framed > 0 ? framed
                                          : window.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &window);
}

// How long a window manager gets to carry out a change of state.
constexpr int STATE_SETTLING_MS = 250;

// The Large Table mark: the table at twice its size, to the pixel.
constexpr double LARGE_SCALE = 2.0;
constexpr double SAME_SCALE = 0.005;

}  // namespace

QSize QuorlaFrame::Chrome() {
  if (layout()) layout()->invalidate();
  const QSize whole = layout() ? layout()->sizeHint() : sizeHint();
  return whole - Table->sizeHint();
}

void QuorlaFrame::ShowPlaced() {
  ApplyPlacement();
  if (!isVisible()) show();
}

void QuorlaFrame::ApplyPlacement() {
  const std::vector<TRect> screens = AvailableScreens();
  auto remembered = ReadWindowPlacement(*Settings.Store);
  // A place remembered where it was known means nothing to a windowing
  // system that places the window itself: only its size is asked for.
  if (remembered && !PlacesWindowsHere) remembered->PlaceKnown = false;
  const QScreen* primary = QGuiApplication::primaryScreen();
  const auto normal = remembered ? PlaceOnScreens(*remembered, screens, primary ? primary->devicePixelRatio() : 1.0,
                                                  TitleHeight(*this))
                                 : std::nullopt;
  if (normal) {
    if (isFullScreen() || isMaximized()) showNormal();
    PlaceAt(*normal);
    Modes.PlacedAt(*normal);
    if (remembered->Mode == WindowMode::MAXIMISED) showMaximized();
    if (remembered->Mode == WindowMode::FULL_SCREEN) SetFullScreen(true);
    return;
  }
  if (isVisible() || screens.empty()) return;
  // A first start: as large as fits most of the screen; a file of an
  // earlier version that chose the large table keeps it where it fits.
  const TRect& screen = screens.front();
  const QSize chrome = Chrome();
  double scale = FirstStartScale({screen.Width(), screen.Height()}, {chrome.width(), chrome.height()});
  if (Settings.Store->ReadInt(OWN_SECTION, LARGE_TABLE_KEY, 0) != 0 &&
      FitScale({screen.Width() - chrome.width(), screen.Height() - chrome.height()}) >= LARGE_SCALE)
    scale = LARGE_SCALE;
  Table->SetPreferredScale(scale);
  const QSize size = chrome + Table->sizeHint();
  const TRect centred = CentredOn(screen, {size.width(), size.height()});
  PlaceAt(centred);
  Modes.PlacedAt(centred);
}

void QuorlaFrame::PlaceAt(const TRect& area) {
  if (PlacesWindowsHere)
    setGeometry(ToQRect(area));
  else
    resize(area.Width(), area.Height());
}

void QuorlaFrame::FitTableAt(double scale) {
  if (isFullScreen() || isMaximized()) {
    showNormal();
    // The table's new size is added to the normal area, not to the screen's.
    TakeAreaOfState();
  }
  Table->SetPreferredScale(scale);
  if (!layout()) return;
  // The bars as they are laid out now decide what the window adds; what
  // their size hints say may lag behind a bar that just moved.
  layout()->activate();
  resize(size() + Table->sizeHint() - Table->size());
}

void QuorlaFrame::SetFullScreen(bool on) {
  if (on == isFullScreen()) return;
  if (on) {
    MaximisedBeforeFullScreen = isMaximized();
    showFullScreen();
  } else if (MaximisedBeforeFullScreen) {
    showMaximized();
  } else {
    showNormal();
  }
}

WindowMode QuorlaFrame::Mode() const {
  if (isFullScreen()) return WindowMode::FULL_SCREEN;
  return isMaximized() ? WindowMode::MAXIMISED : WindowMode::NORMAL;
}

void QuorlaFrame::TakeAreaOfState() {
  const QScreen* shown = screen();
  if (!shown || !isVisible()) return;
  const auto area = Modes.AreaToTake(Mode(), ToTRect(geometry()), ToTRect(frameGeometry()), AreasOf(*shown));
  if (!area) return;
  const Qt::WindowStates state = windowState();
  setGeometry(ToQRect(*area));
  // A window given a geometry of its own leaves its state in the toolkit;
  // it is the state's area, so the state is given back.
  if (windowState() != state) setWindowState(state);
}

void QuorlaFrame::FollowGeometry() {
  if (const QScreen* shown = screen()) Modes.Moved(Mode(), ToTRect(geometry()), AreasOf(*shown));
}

void QuorlaFrame::moveEvent(QMoveEvent* event) {
  QMainWindow::moveEvent(event);
  FollowGeometry();
}

void QuorlaFrame::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  FollowGeometry();
}

void QuorlaFrame::RememberPlacement() {
  if (!Settings.Store) return;
  // A change of state still under way is completed first: leaving full
  // screen just before closing keeps the normal area, not the screen.
  TakeAreaOfState();
  // The area is remembered without the score sheet: it is shown again
  // only when the table shows it, and the window grows for it then.
  QRect shown = geometry();
  if (Mode() == WindowMode::NORMAL) shown.setWidth(shown.width() - DockedSheetWidth());
  WindowPlacement placement = Modes.ToRemember(Mode(), ToTRect(shown));
  placement.Ratio = devicePixelRatioF();
  WriteWindowPlacement(*Settings.Store, placement);
}

void QuorlaFrame::FollowViewScale() {
  LargeTable->setChecked(std::abs(Table->ViewScale() - LARGE_SCALE) < SAME_SCALE);
}

void QuorlaFrame::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::WindowStateChange) {
    if (QAction* full = Action(CM_FULL_SCREEN)) full->setChecked(isFullScreen());
    // Whoever asked for it (the menu, F11, a title bar, the start), the
    // window covers the state's area once a window manager had its chance.
    QTimer::singleShot(STATE_SETTLING_MS, this, &QuorlaFrame::TakeAreaOfState);
  }
}
