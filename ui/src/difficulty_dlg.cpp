#include "ui/difficulty_dlg.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QGroupBox>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "game/text_ids.h"

namespace {

ResetAnswer AskWithMessageBox(QWidget* parent, const QString& caption, const QString& text) {
  QMessageBox box(QMessageBox::Warning, caption, text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                  parent);
  box.button(QMessageBox::Yes)->setText(DialogText(YES_BUTTON));
  box.button(QMessageBox::No)->setText(DialogText(NO_BUTTON));
  box.button(QMessageBox::Cancel)->setText(DialogText(CANCEL_BUTTON));
  box.setDefaultButton(QMessageBox::No);
  switch (box.exec()) {
    case QMessageBox::Yes: return ResetAnswer::YES;
    case QMessageBox::No: return ResetAnswer::NO;
    default: return ResetAnswer::CANCEL;  // Escape and the close button too
  }
}

}  // namespace

DifficultyDlg::DifficultyDlg(uint32_t currentLevel, QWidget* parent)
    : OptionDlg(DIFFICULTY_TITLE, QStringLiteral("difficulty"), parent), Initial(currentLevel) {
  auto* group = new QGroupBox(this);
  auto* layout = new QVBoxLayout(group);
  const uint32_t texts[] = {LEVEL_1, LEVEL_2, LEVEL_3, LEVEL_4, LEVEL_MASTER};
  for (uint32_t i = 0; i < Levels.size(); ++i) {
    Levels[i] = new QRadioButton(DialogText(texts[i]), group);
    Levels[i]->setChecked(i == currentLevel);
    layout->addWidget(Levels[i]);
  }
  Reset = new QCheckBox(DialogText(RESET_TO_DEFAULT), this);
  Body().addWidget(group);
  Body().addWidget(Reset);
  Ask = [this](const QString& caption, const QString& text) { return AskWithMessageBox(this, caption, text); };
}

DifficultyChoice DifficultyDlg::Choice() const {
  DifficultyChoice choice;
  choice.Level = Initial;
  for (uint32_t i = 0; i < Levels.size(); ++i)
    if (Levels[i]->isChecked()) choice.Level = i;
  choice.ResetTicked = Reset->isChecked();
  return choice;
}

void DifficultyDlg::accept() {
  Given = ResetAnswer::NOT_ASKED;
  const DifficultyChoice choice = Choice();
  if (choice.ResetTicked) {
    Given = Ask(DialogText(ResetQuestionCaption()), QString::fromStdString(ResetQuestion(choice.Level)));
    if (Given == ResetAnswer::CANCEL) return;
  }
  QDialog::accept();
}
