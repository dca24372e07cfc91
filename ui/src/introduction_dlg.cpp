#include "ui/introduction_dlg.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QTextDocument>
#include <QVBoxLayout>

#include "app/dialog_texts.h"
#include "game/string_table.h"
#include "game/text_ids.h"
#include "ui/dialog_button_row.h"

IntroductionDlg::IntroductionDlg(uint32_t variation, uint32_t target, QWidget* parent) : QDialog(parent) {
  setWindowTitle(QString::fromUtf8(ResourceString(INTRODUCTION_TITLE)));
  // The rules in force right after the welcome: a new player should know
  // what game is dealt before reading how to play it.
  const QString rules = "<p>" + QString::fromStdString(IntroductionRulesText(variation, target)).toHtmlEscaped() +
                        "</p>";
  auto* text = new QLabel(QString::fromUtf8(ResourceString(INTRODUCTION_WELCOME)) + rules +
                               QString::fromUtf8(ResourceString(INTRODUCTION_HOW_TO_PLAY)),
                           this);
  text->setObjectName(QStringLiteral("introductionText"));
  text->setWordWrap(true);
  text->setTextFormat(Qt::RichText);
  text->setFixedWidth(420);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(text);
  layout->addWidget(MakeDialogButtonRow(this, "introduction", DialogButtons::OK_HELP));
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

QString IntroductionDlg::Text() const {
  QTextDocument document;
  document.setHtml(findChild<QLabel*>(QStringLiteral("introductionText"))->text());
  return document.toPlainText();
}
