#include "ui/table_status_panes.h"

#include <algorithm>

#include <QLabel>
#include <QStatusBar>

#include "game/text_ids.h"
#include "ui/resource_text.h"

namespace {

// Between two panes, as the bar lays them out.
constexpr int PANE_GAP = 6;

QLabel* Pane(QStatusBar* bar, int minimumWidth) {
  auto* label = new QLabel(bar);
  label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  label->setMinimumWidth(minimumWidth);
  return label;
}

}  // namespace

TableStatusPanes::TableStatusPanes(QStatusBar* bar)
    : Main(new QLabel(bar)),
      Selection(Pane(bar, 120)),
      KnockLimit(Pane(bar, 140)),
      Deadwood(Pane(bar, 0)),
      Bar(bar) {
  // Room for the largest count a hand can have.
  Deadwood->setMinimumWidth(Deadwood->fontMetrics().horizontalAdvance(ResourceText(DEADWOOD_LABEL) + QStringLiteral("100")) + 12);
  bar->addWidget(Main, 1);
  bar->addPermanentWidget(Deadwood);
  bar->addPermanentWidget(Selection);
  bar->addPermanentWidget(KnockLimit);
  KnockLimit->setToolTip(ResourceText(KNOCK_LIMIT_TOOLTIP));
  // A note covers the main text while it shows; when it goes, the main
  // text is what must fit.
  QObject::connect(bar, &QStatusBar::messageChanged, bar,
                   [this](const QString& note) { MakeRoomFor(note.isEmpty() ? Main->text() : note); });
}

void TableStatusPanes::MakeRoomFor(const QString& note) {
  QLabel* panes[] = {Deadwood, Selection, KnockLimit};
  bool hide = false;
  if (!note.isEmpty()) {
    // The room the note has while the panes stand: the bar less their widths.
    int room = Bar->contentsRect().width();
    for (QLabel* pane : panes) room -= std::max(pane->sizeHint().width(), pane->minimumWidth()) + PANE_GAP;
    hide = Bar->fontMetrics().horizontalAdvance(note) > room - Bar->fontMetrics().averageCharWidth();
  }
  for (QLabel* pane : panes) pane->setVisible(!hide);
}

bool TableStatusPanes::PanesShown() const { return !KnockLimit->isHidden(); }

void TableStatusPanes::SetMain(const QString& text) {
  Main->setText(text);
  if (Bar->currentMessage().isEmpty()) MakeRoomFor(text);
}
void TableStatusPanes::SetSelection(const QString& text) { Selection->setText(text); }
void TableStatusPanes::SetKnockLimit(const QString& text) { KnockLimit->setText(text); }
void TableStatusPanes::SetDeadwood(const QString& text) { Deadwood->setText(text); }
void TableStatusPanes::ShowNote(const QString& text) { Bar->showMessage(text, 10000); }
QString TableStatusPanes::DeadwoodText() const { return Deadwood->text(); }
QString TableStatusPanes::MainText() const { return Main->text(); }
QString TableStatusPanes::SelectionText() const { return Selection->text(); }
QString TableStatusPanes::KnockLimitText() const { return KnockLimit->text(); }
