// QuorlaFrame: the window's size. The table is drawn at whatever size the
// window gives it; this file chooses that size on start, after Large Table
// and full screen, and remembers it for the configuration.
#include <QAction>
#include <QGuiApplication>
#include <QLayout>
#include <QScreen>
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
  if (const auto remembered = ReadWindowPlacement(*Settings.Store)) {
    if (isFullScreen() || isMaximized()) showNormal();
    setGeometry(ToQRect(PlaceOnScreens(remembered->Normal, screens)));
    NormalArea = geometry();
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
  setGeometry(ToQRect(CentredOn(screen, {size.width(), size.height()})));
}

void QuorlaFrame::FitTableAt(double scale) {
  if (isFullScreen() || isMaximized()) showNormal();
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
    NormalArea = isMaximized() ? normalGeometry() : geometry();
    showFullScreen();
  } else if (MaximisedBeforeFullScreen) {
    showMaximized();
  } else {
    showNormal();
  }
  QTimer::singleShot(STATE_SETTLING_MS, this, &QuorlaFrame::EnforceWindowState);
}

void QuorlaFrame::showMaximized() {
  if (!isMaximized() && !isFullScreen()) NormalArea = geometry();
  QMainWindow::showMaximized();
  QTimer::singleShot(STATE_SETTLING_MS, this, &QuorlaFrame::EnforceWindowState);
}

void QuorlaFrame::EnforceWindowState() {
  // Without a window manager (or with one that ignores the request) the
  // state changes but the window keeps its size: the frame takes the area
  // the state stands for itself.
  const QScreen* shown = screen();
  if (!shown || !windowHandle()) return;
  // A widget's new geometry ends its state, so the state is given again.
  if (isFullScreen() && geometry() != shown->geometry()) {
    setGeometry(shown->geometry());
    setWindowState(windowState() | Qt::WindowFullScreen);
  } else if (isMaximized() && !isFullScreen() && geometry().size() != shown->availableGeometry().size() &&
             frameGeometry().size() != shown->availableGeometry().size()) {
    setGeometry(shown->availableGeometry());
    setWindowState(windowState() | Qt::WindowMaximized);
  } else if (!isMaximized() && !isFullScreen() && NormalArea.isValid() &&
             (geometry() == shown->geometry() || geometry() == shown->availableGeometry())) {
    setGeometry(NormalArea);
  }
}

void QuorlaFrame::RememberPlacement() {
  if (!Settings.Store) return;
  WindowPlacement placement;
  const bool special = isFullScreen() || isMaximized();
  // The area of the normal state, kept while the window is in another.
  const QRect normal = NormalArea.isValid() ? NormalArea : normalGeometry();
  placement.Normal = ToTRect(special && normal.isValid() ? normal : geometry());
  placement.Mode = isFullScreen() ? WindowMode::FULL_SCREEN : isMaximized() ? WindowMode::MAXIMISED : WindowMode::NORMAL;
  WriteWindowPlacement(*Settings.Store, placement);
}

void QuorlaFrame::FollowViewScale() {
  LargeTable->setChecked(std::abs(Table->ViewScale() - LARGE_SCALE) < SAME_SCALE);
}

void QuorlaFrame::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::WindowStateChange) {
    if (QAction* full = Action(CM_FULL_SCREEN)) full->setChecked(isFullScreen());
    // A maximise from the title bar does not come through showMaximized.
    QTimer::singleShot(STATE_SETTLING_MS, this, &QuorlaFrame::EnforceWindowState);
  }
}
