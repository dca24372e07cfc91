#include "ui/about_dlg.h"

#include <QBoxLayout>
#include <QFont>
#include <QLabel>

#include "app/dialog_texts.h"
#include "game/text_ids.h"

namespace {

// Every deck the table may draw, credited as the artwork's licences ask.
constexpr TextId ARTWORK_CREDITS[] = {ARTWORK_HEADING,       ARTWORK_STANDARD_DECKS, ARTWORK_PENGUINS_DECK,
                                      ARTWORK_KONQI_DECK,    ARTWORK_TIGULLIO_DECK,  ARTWORK_OTHER_DECKS,
                                      ARTWORK_FULL_NOTICES};
constexpr int CREDITS_WIDTH = 440;

}  // namespace

AboutDlg::AboutDlg(QWidget* parent) : OptionDlg(ABOUT_TITLE, QStringLiteral("about"), parent, false) {
  auto* name = new QLabel(DialogText(PROGRAM_TITLE), this);
  QFont big = name->font();
  big.setPointSizeF(big.pointSizeF() * 1.8);
  big.setBold(true);
  name->setFont(big);
  Body().addWidget(name, 0, Qt::AlignHCenter);
  const QString lines[] = {
      DialogText(ABOUT_VERSION) + QStringLiteral(QUORLA_VERSION),
      DialogText(ABOUT_DESCRIPTION),
      QString(),
      QStringLiteral("Palomet Technologies"),
  };
  for (const QString& line : lines) {
    auto* label = new QLabel(line, this);
    label->setObjectName(QStringLiteral("aboutLine"));
    Body().addWidget(label, 0, Qt::AlignHCenter);
  }
  Body().addSpacing(10);
  for (TextId id : ARTWORK_CREDITS) {
    auto* credit = new QLabel(DialogText(id), this);
    credit->setObjectName(QStringLiteral("artworkCredit"));
    credit->setWordWrap(true);
    credit->setFixedWidth(CREDITS_WIDTH);
    credit->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont small = credit->font();
    small.setPointSizeF(small.pointSizeF() * 0.9);
    credit->setFont(small);
    Body().addWidget(credit, 0, Qt::AlignHCenter);
  }
  Body().setSpacing(4);
  Body().setContentsMargins(24, 12, 24, 12);
}

QStringList AboutDlg::Lines() const {
  QStringList lines;
  for (const QLabel* label : findChildren<QLabel*>()) lines << label->text();
  return lines;
}
