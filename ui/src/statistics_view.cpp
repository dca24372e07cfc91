#include "ui/statistics_view.h"

#include <QLocale>
#include <QPainter>

#include "game/string_table.h"
#include "game/text_ids.h"
#include "ui/sheet_font.h"
#include "ui/resource_text.h"

namespace {

// Positions in units of the width of "0".
constexpr int CATEGORY_X = 4;
constexpr int YOU_X = 25;
constexpr int COMPUTER_X = 33;
constexpr int RULE_FROM = 1;
constexpr int RULE_TO = 43;
constexpr int VARIATION_X = 2;
constexpr int LABEL_X = 4;
constexpr int VALUE_END[2] = {28, 40};  // human, computer
constexpr int WIDTH_UNITS = 44;
constexpr int RULE_BELOW_HEADER_PIXELS = 3;
constexpr int ROWS_PER_BLOCK = 3;

}  // namespace

StatisticsView::StatisticsView(const Statistics& stats, QWidget* parent) : QFrame(parent), Stats(stats) {
  setFrameStyle(QFrame::Panel | QFrame::Sunken);
  setLineWidth(2);
  setFont(SheetFont());
  UnitSize = SheetUnit(font());
  setBackgroundRole(QPalette::Base);
  setForegroundRole(QPalette::Text);
  setAutoFillBackground(true);
}

QLine StatisticsView::HeaderRule() const {
  const int y = UnitSize.height() / 2 + UnitSize.height() + RULE_BELOW_HEADER_PIXELS;
  return QLine(RULE_FROM * UnitSize.width(), y, RULE_TO * UnitSize.width(), y);
}

int StatisticsView::BlockTop(uint32_t variation) const {
  // The first block starts 0.4 h below the rule; each later one 1.2 h below
  // the last row of the block before.
  const double h = UnitSize.height();
  const double first = HeaderRule().y1() + 0.4 * h;
  return static_cast<int>(first + variation * (ROWS_PER_BLOCK * h + 1.2 * h));
}

std::vector<StatisticsView::Item> StatisticsView::Items() const {
  const int w = UnitSize.width();
  const int h = UnitSize.height();
  std::vector<Item> items = {
      {ResourceText(CATEGORY_TEXT), CATEGORY_X * w, h / 2, false},
      {ResourceText(YOU_TEXT), YOU_X * w, h / 2, false},
      {ResourceText(COMPUTER_TEXT), COMPUTER_X * w, h / 2, false},
  };
  struct Row {
    uint32_t Label;
    StatisticKind Human;
    StatisticKind Computer;
  };
  constexpr Row ROWS[ROWS_PER_BLOCK] = {
      {TOTAL_POINTS_TEXT, USER_POINTS, COMPUTER_POINTS},
      {GAMES_WON_TEXT, USER_WINS, COMPUTER_WINS},
      {BEST_SCORE_TEXT, USER_BEST_SCORE, COMPUTER_BEST_SCORE},
  };
  for (uint32_t variation = 0; variation < STATISTIC_VARIATIONS; ++variation) {
    int y = BlockTop(variation);
    items.push_back({ResourceText(SIMPLE_GIN_TEXT + variation), VARIATION_X * w, y, false});
    for (const Row& row : ROWS) {
      y += h;
      items.push_back({ResourceText(row.Label), LABEL_X * w, y, false});
      items.push_back({QLocale().toString(Stats.At(row.Human, variation)), VALUE_END[0] * w, y, true});
      items.push_back({QLocale().toString(Stats.At(row.Computer, variation)), VALUE_END[1] * w, y, true});
    }
  }
  return items;
}

QSize StatisticsView::sizeHint() const {
  const int frame = 2 * frameWidth();
  const int bottom = BlockTop(STATISTIC_VARIATIONS - 1) + (ROWS_PER_BLOCK + 1) * UnitSize.height();
  return QSize(WIDTH_UNITS * UnitSize.width() + frame, bottom + UnitSize.height() / 2 + frame);
}

void StatisticsView::paintEvent(QPaintEvent* event) {
  QFrame::paintEvent(event);
  QPainter painter(this);
  const QRect area = contentsRect();
  painter.setClipRect(area);
  painter.translate(area.topLeft());
  const QColor ink = palette().color(QPalette::Text);
  painter.setPen(QPen(ink, 1));
  painter.drawLine(HeaderRule());
  for (const Item& item : Items()) {
    if (item.RightAligned)
      painter.drawText(QRect(0, item.Y, item.X, UnitSize.height()), Qt::AlignRight | Qt::AlignTop | Qt::TextDontClip,
                       item.Text);
    else
      painter.drawText(QRect(item.X, item.Y, area.width(), UnitSize.height()), Qt::AlignLeft | Qt::AlignTop,
                       item.Text);
  }
}
