#include "ui/about_dlg.h"

#include <QBoxLayout>
#include <QFont>
#include <QLabel>

#include "app/dialog_texts.h"
#include "game/text_ids.h"

AboutDlg::AboutDlg(QWidget* parent) : OptionDlg(ABOUT_TITLE, QStringLiteral("about"), parent, false) {
  auto* name = new QLabel(DialogText(PROGRAM_TITLE), this);
  QFont big = name->font();
  big.setPointSizeF(big.pointSizeF() * 1.8);
  big.setBold(true);
  name->setFont(big);
  Body().addWidget(name, 0, Qt::AlignHCenter);
  const QString lines[] = {
      QStringLiteral("Gin Rummy against a computer player that learns from every hand"),
      QString(),
      QStringLiteral("Palomet Technologies"),
  };
  for (const QString& line : lines) {
    auto* label = new QLabel(line, this);
    label->setObjectName(QStringLiteral("aboutLine"));
    Body().addWidget(label, 0, Qt::AlignHCenter);
  }
  Body().setSpacing(4);
  Body().setContentsMargins(24, 12, 24, 12);
}

QStringList AboutDlg::Lines() const {
  QStringList lines;
  for (const QLabel* label : findChildren<QLabel*>()) lines << label->text();
  return lines;
}
