#include "ui/button_bar.h"

#include <QAction>
#include <QMainWindow>
#include <QPainter>
#include <QStyleOption>
#include <QTimer>

#include "app/dialog_texts.h"
#include "game/string_table.h"
#include "game/table_commands.h"
#include "game/text_ids.h"
#include "ui/frame_commands.h"
#include "ui/resource_text.h"

// The icons are compiled into the library; a static library's resources
// register only when asked for.
void LoadButtonIcons() { Q_INIT_RESOURCE(icons); }

namespace {

constexpr int ICON_SIZE = 22;
constexpr uint32_t DEFAULT_LOCATION = 1;

// A fixed gap between groups of buttons, with the style's etched line in
// the middle; it turns with the bar.
class BarSeparator : public QWidget {
 public:
  explicit BarSeparator(QToolBar* bar) : QWidget(bar), Bar(bar) {
    Follow(bar->orientation());
    connect(bar, &QToolBar::orientationChanged, this, &BarSeparator::Follow);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    QStyleOption option;
    option.initFrom(this);
    if (Bar->orientation() == Qt::Horizontal) option.state |= QStyle::State_Horizontal;
    style()->drawPrimitive(QStyle::PE_IndicatorToolBarSeparator, &option, &painter, this);
  }

 private:
  void Follow(Qt::Orientation orientation) {
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    if (orientation == Qt::Horizontal)
      setFixedWidth(ButtonBar::SEPARATOR_EXTENT);
    else
      setFixedHeight(ButtonBar::SEPARATOR_EXTENT);
  }

  QToolBar* Bar;
};

QString IconFile(uint32_t command) {
  switch (command) {
    case CM_NEXT_HAND: return ":/icons/next_hand.svg";
    case CM_NEW_GAME: return ":/icons/new_game.svg";
    case CM_SCORE: return ":/icons/score.svg";
    case CM_PASS: return ":/icons/pass.svg";
    case CM_HINT: return ":/icons/hint.svg";
    case CM_SORT_BY_VALUE: return ":/icons/sort_by_value.svg";
    case CM_SORT_BY_SUIT: return ":/icons/sort_by_suit.svg";
    case CM_SORT_BY_MELDS: return ":/icons/sort_by_melds.svg";
    case CM_HELP_CONTENTS: return ":/icons/help_contents.svg";
    default: return {};
  }
}

}  // namespace

const std::vector<uint32_t>& ButtonBar::Layout() {
  static const std::vector<uint32_t> layout = {
      CM_NEXT_HAND,     CM_NEW_GAME,     CM_SCORE,       MENU_SEPARATOR,  CM_PASS, CM_HINT, MENU_SEPARATOR,
      CM_SORT_BY_VALUE, CM_SORT_BY_SUIT, CM_SORT_BY_MELDS, MENU_SEPARATOR, CM_HELP_CONTENTS,
  };
  return layout;
}

ButtonBar::ButtonBar(const std::function<QAction*(uint32_t)>& actionFor, QWidget* parent)
    : QToolBar(parent), ActionFor(actionFor) {
  LoadButtonIcons();
  setObjectName("ButtonBar");
  setAccessibleName(ResourceText(BUTTON_BAR_ACCESSIBLE_NAME));
  setMovable(false);
  setFloatable(false);
  setIconSize({ICON_SIZE, ICON_SIZE});
  // The bar's place is a preference, not something a right click changes.
  toggleViewAction()->setVisible(false);
  for (uint32_t command : Layout()) {
    if (command == MENU_SEPARATOR) {
      addWidget(new BarSeparator(this));
      continue;
    }
    QAction* action = ActionFor(command);
    action->setIcon(QIcon(IconFile(command)));
    // Until the bar is first shown, a button's tooltip is its hint.
    action->setToolTip(action->statusTip());
    addAction(action);
    // A button, the checkable one included, is named by its command, as a
    // screen reader would read the menu item.
    if (QWidget* button = widgetForAction(action)) button->setAccessibleName(QString(action->text()).remove(QLatin1Char('&')));
  }
  connect(this, &QToolBar::orientationChanged, this, &ButtonBar::FitThickness);
  FitThickness(orientation());
}

void ButtonBar::Place(QMainWindow& frame, uint32_t location, bool hidden) {
  frame.addToolBar(ButtonBarArea(location), this);
  FitThickness(orientation());
  setVisible(!hidden);
}

void ButtonBar::FitThickness(Qt::Orientation orientation) {
  setMinimumSize(0, 0);
  setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  if (orientation == Qt::Vertical)
    setFixedWidth(VERTICAL_WIDTH);
  else
    setFixedHeight(HORIZONTAL_HEIGHT);
}

void ButtonBar::showEvent(QShowEvent* event) {
  QToolBar::showEvent(event);
  // The short tooltips come with the first idle pass after the bar shows.
  if (!TooltipsShortened) QTimer::singleShot(0, this, &ButtonBar::ShortenTooltips);
}

void ButtonBar::ShortenTooltips() {
  if (TooltipsShortened) return;
  TooltipsShortened = true;
  ActionFor(CM_SCORE)->setToolTip(ResourceText(GAME_SCORE_TOOLTIP));
  ActionFor(CM_HELP_CONTENTS)->setToolTip(ResourceText(HELP_BUTTON));
}

Qt::ToolBarArea ButtonBarArea(uint32_t location) {
  switch (location > 3 ? DEFAULT_LOCATION : location) {
    case 0: return Qt::RightToolBarArea;
    case 2: return Qt::TopToolBarArea;
    case 3: return Qt::BottomToolBarArea;
    default: return Qt::LeftToolBarArea;
  }
}
