#pragma once

#include <QSize>
#include <QToolBar>
#include <cstdint>
#include <functional>
#include <vector>

#include "ui/frame_size.h"

class QMainWindow;

// The frame's button bar: the main commands as icon buttons that share the
// menu's actions (so they enable, disable and hint exactly like the menu),
// at one edge of the frame or hidden.
class ButtonBar : public QToolBar {
  Q_OBJECT

 public:
  // The bar's thickness: at the right or left edge it is this wide, at the
  // top or bottom this high. The frame adds it to the table's size.
  static constexpr int VERTICAL_WIDTH = VERTICAL_BAR_WIDTH;
  static constexpr int HORIZONTAL_HEIGHT = HORIZONTAL_BAR_HEIGHT;
  // The gap between groups of buttons, along the bar.
  static constexpr int SEPARATOR_EXTENT = 8;

  // The buttons in order, with MENU_SEPARATOR between groups.
  static const std::vector<uint32_t>& Layout();

  // `actionFor` gives the action of each command of the layout.
  ButtonBar(const std::function<QAction*(uint32_t)>& actionFor, QWidget* parent = nullptr);

  // Puts the bar at `location` (0 right, 1 left, 2 top, 3 bottom) of the
  // frame, or hides it.
  void Place(QMainWindow& frame, uint32_t location, bool hidden);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void ShortenTooltips();
  void FitThickness(Qt::Orientation orientation);

  std::function<QAction*(uint32_t)> ActionFor;
  bool TooltipsShortened = false;
};

// Makes the icons (":/icons/...") available.
void LoadButtonIcons();

// Where a ToolbarLocation value puts the bar; a value the settings should
// never hold puts it at the default place, the left edge.
Qt::ToolBarArea ButtonBarArea(uint32_t location);

