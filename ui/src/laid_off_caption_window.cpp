#include "ui/laid_off_caption_window.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

#include "game/string_table.h"
#include "game/text_ids.h"
#include "ui/sheet_font.h"

namespace {

// The suit signs by suit index: hearts, diamonds, spades, clubs.
const char16_t SUIT_SIGNS[NUM_SUITS] = {u'\u2665', u'\u2666', u'\u2660', u'\u2663'};

bool IsRedSuit(uint32_t suit) { return suit == HEARTS || suit == DIAMONDS; }

QString RankText(uint32_t card) { return QString::fromUtf8(ResourceString(RANK_ACE_TEXT + RankOf(card))); }
QString SuitSign(uint32_t card) { return QString(QChar(SUIT_SIGNS[SuitOf(card)])); }

// Where the first card is painted in the client area.
constexpr int START_X = 6;
constexpr int START_Y = 8;
// Lines the client keeps room for; cards that do not fit the width go on
// to the next line rather than being cut off.
constexpr int LINES_SHOWN = 2;

}  // namespace

// The client area of the caption window.
class LaidOffCards : public QWidget {
 public:
  LaidOffCards(const LaidOffList& list, QWidget* parent) : QWidget(parent), Cards(list) {
    setFont(SheetFont());
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
    const int lineHeight = fontMetrics().height();
    setFixedHeight(START_Y + LINES_SHOWN * lineHeight + START_Y / 2);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    const QFontMetrics metrics = fontMetrics();
    const int space = metrics.horizontalAdvance(QLatin1Char(' '));
    int x = START_X;
    int y = START_Y;
    bool first = true;
    for (uint32_t i = 0; i < Cards.Count && i < MAX_LAID_OFF; ++i) {
      const uint32_t card = Cards.Cards[i];
      if (!IsCard(card)) continue;
      const QString rank = RankText(card);
      const QString sign = SuitSign(card);
      const int width = metrics.horizontalAdvance(rank) + metrics.horizontalAdvance(sign);
      if (!first) x += space;
      if (!first && x + width > this->width() - START_X / 2) {
        x = START_X;
        y += metrics.height();
      }
      first = false;
      painter.setPen(palette().color(QPalette::Text));
      painter.drawText(x, y + metrics.ascent(), rank);
      x += metrics.horizontalAdvance(rank);
      painter.setPen(IsRedSuit(SuitOf(card)) ? QColor(Qt::red) : palette().color(QPalette::Text));
      painter.drawText(x, y + metrics.ascent(), sign);
      x += metrics.horizontalAdvance(sign);
    }
  }

 private:
  const LaidOffList& Cards;
};

LaidOffCaptionWindow::LaidOffCaptionWindow(QWidget* parent) : QFrame(parent) {
  setFrameStyle(QFrame::Panel | QFrame::Raised);
  setLineWidth(1);
  TitleBar = new QLabel(this);
  TitleBar->setBackgroundRole(QPalette::Highlight);
  TitleBar->setForegroundRole(QPalette::HighlightedText);
  TitleBar->setAutoFillBackground(true);
  TitleBar->setContentsMargins(3, 1, 3, 1);
  QFont titleFont = TitleBar->font();
  titleFont.setBold(true);
  TitleBar->setFont(titleFont);
  TitleBar->setMinimumHeight(QFontMetrics(titleFont).height() + 2);
  Client = new LaidOffCards(Cards, this);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(1, 1, 1, 1);
  layout->setSpacing(0);
  layout->addWidget(TitleBar);
  layout->addWidget(Client);
  // A hidden caption still holds its place, so the score sheet window
  // keeps its size from deal to deal.
  QSizePolicy policy = sizePolicy();
  policy.setRetainSizeWhenHidden(true);
  setSizePolicy(policy);
  Update();
}

void LaidOffCaptionWindow::SetLaidOff(uint32_t pile, const uint32_t* cards, uint32_t count) {
  Cards.Clear();
  Cards.Player = pile < 2 ? pile : 0;
  for (uint32_t i = 0; cards && i < count && Cards.Count < MAX_LAID_OFF; ++i)
    if (IsCard(cards[i])) Cards.Cards[Cards.Count++] = cards[i];
  Update();
}

void LaidOffCaptionWindow::Clear() {
  Cards.Clear();
  Update();
}

QString LaidOffCaptionWindow::Title() const {
  return HasList() ? QString::fromUtf8(ResourceString(Cards.TitleId())) : QString();
}

QString LaidOffCaptionWindow::Text() const {
  QStringList pieces;
  for (uint32_t i = 0; i < Cards.Count; ++i) {
    const uint32_t card = Cards.Cards[i];
    pieces << RankText(card) + SuitSign(card);
  }
  return pieces.join(QLatin1Char(' '));
}

void LaidOffCaptionWindow::Update() {
  TitleBar->setText(Title());
  setWindowTitle(Title());
  setVisible(HasList());
  Client->update();
}
