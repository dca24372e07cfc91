#include "ui/score_client.h"

#include <QPainter>
#include <QScrollBar>

#include "ui/sheet_font.h"

namespace {

// Everything the sheet draws with one painter: text in the window-text
// colour, rules and underlines in red one pixel wide.
class SheetPainter {
 public:
  SheetPainter(QPainter& painter, QSize unit, const QColor& text)
      : P(painter), W(unit.width()), H(unit.height()), TextColour(text) {}

  void Line(const SheetLine& line, int y) {
    using namespace sheet_geometry;
    if (line.RuleAbove != SheetRule::NONE) Rule(y);
    if (line.RuleAbove == SheetRule::DOUBLE) Rule(y + DOUBLE_RULE_GAP_PIXELS);
    P.setPen(TextColour);
    for (uint32_t column = 0; column < 2; ++column) {
      if (line.Text[column].empty()) continue;
      const int drop = column == HUMAN_COLUMN ? line.TextDropPixels : 0;
      const QRect box(0, y + drop, COLUMN_END[column] * W, H);
      P.drawText(box, Qt::AlignRight | Qt::AlignTop | Qt::TextDontClip, QString::fromStdString(line.Text[column]));
    }
    if (line.Underlined < 2) {
      P.setPen(QPen(Qt::red, 1));
      const int under = y + H - 1;
      P.drawLine(UNDERLINE_FROM[line.Underlined] * W, under, UNDERLINE_TO[line.Underlined] * W, under);
    }
  }

 private:
  void Rule(int y) {
    P.setPen(QPen(Qt::red, 1));
    P.drawLine(sheet_geometry::RULE_FROM_PIXELS, y, sheet_geometry::RULE_TO * W, y);
  }

  QPainter& P;
  int W;
  int H;
  QColor TextColour;
};

}  // namespace

ScoreClient::ScoreClient(ScoreSheet& sheet, QWidget* parent) : QAbstractScrollArea(parent), Sheet(sheet) {
  QFont font = SheetFont();
  viewport()->setFont(font);
  UnitSize = SheetUnit(font);
  setFrameStyle(QFrame::Panel | QFrame::Sunken);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  verticalScrollBar()->setSingleStep(1);
  verticalScrollBar()->setPageStep(static_cast<int>(ScoreSheet::VISIBLE_LINES));
  viewport()->setBackgroundRole(QPalette::Base);
  viewport()->setAutoFillBackground(true);
  Refresh();
}

void ScoreClient::Refresh() {
  Updating = true;
  QScrollBar* bar = verticalScrollBar();
  bar->setRange(0, static_cast<int>(Sheet.ScrollRange()));
  bar->setValue(static_cast<int>(Sheet.ScrollPosition()));
  Updating = false;
  viewport()->update();
}

void ScoreClient::SetFit(QSize size, int leftInset) {
  Fitted = size;
  LeftInset = leftInset;
  updateGeometry();
  viewport()->update();
}

QSize ScoreClient::sizeHint() const {
  if (Fitted.isValid()) return Fitted;
  const int frame = 2 * frameWidth();
  const int width = (sheet_geometry::RULE_TO + 1) * UnitSize.width() + verticalScrollBar()->sizeHint().width();
  const int height = static_cast<int>(ScoreSheet::VISIBLE_LINES) * UnitSize.height();
  return QSize(width + frame, height + frame);
}

void ScoreClient::scrollContentsBy(int, int) {
  if (!Updating) Sheet.SetScrollPosition(verticalScrollBar()->value());
  viewport()->update();
}

void ScoreClient::paintEvent(QPaintEvent*) {
  const ScoreSheetLayout layout = Sheet.DrawnLayout();
  // Rows the flow recorded since the last refresh moved the sheet's scroll
  // position; the bar follows once this paint is done.
  if (verticalScrollBar()->value() != static_cast<int>(Sheet.ScrollPosition()) ||
      verticalScrollBar()->maximum() != static_cast<int>(Sheet.ScrollRange()))
    QMetaObject::invokeMethod(this, &ScoreClient::Refresh, Qt::QueuedConnection);
  QPainter painter(viewport());
  painter.setFont(viewport()->font());
  painter.translate(LeftInset, 0);
  SheetPainter sheet(painter, UnitSize, palette().color(QPalette::Text));
  const int first = static_cast<int>(Sheet.ScrollPosition());
  const int lastVisible = first + viewport()->height() / UnitSize.height() + 1;
  for (int i = first; i < static_cast<int>(layout.Lines.size()) && i <= lastVisible; ++i)
    sheet.Line(layout.Lines[static_cast<size_t>(i)], (i - first) * UnitSize.height());
}
