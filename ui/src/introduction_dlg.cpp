#include "ui/introduction_dlg.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QTextDocument>
#include <QVBoxLayout>

#include "app/dialog_texts.h"
#include "game/string_table.h"
#include "game/text_ids.h"
#include "ui/dialog_button_row.h"

namespace {

constexpr const char* WELCOME =
    "<p><b>Welcome to Quorla</b>, Gin Rummy against a computer opponent that learns from every hand you "
    "play.</p>";
constexpr const char* HOW_TO_PLAY =
    "<p>Play with the mouse: drag the upcard or the top card of the stock into your hand, drag a card onto "
    "the discard pile to discard it, or onto the knock area to knock with it. Drag cards within your hand to "
    "arrange your melds. A click with the right mouse button opens a menu with the moves you can make.</p>"
    "<p>The <b>Options</b> menu chooses the variation (Simple, Standard or Oklahoma), the game target, the "
    "difficulty, the dealing and sorting, the card back and the scenery. The player configuration commands of "
    "the <b>Game</b> menu keep a separate configuration for each person who plays: their own statistics, "
    "saved game and learning opponent.</p>"
    "<p>An unfinished game is kept when you close Quorla; <b>Resume Game</b> in the <b>Game</b> menu "
    "continues it. Press <b>Help</b> for the rules of Gin Rummy.</p>";

}  // namespace

IntroductionDlg::IntroductionDlg(uint32_t variation, uint32_t target, QWidget* parent) : QDialog(parent) {
  setWindowTitle(QString::fromUtf8(ResourceString(INTRODUCTION_TITLE)));
  // The rules in force right after the welcome: a new player should know
  // what game is dealt before reading how to play it.
  const QString rules = "<p>" + QString::fromStdString(IntroductionRulesText(variation, target)).toHtmlEscaped() +
                        "</p>";
  auto* text = new QLabel(WELCOME + rules + HOW_TO_PLAY, this);
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
