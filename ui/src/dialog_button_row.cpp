#include "ui/dialog_button_row.h"

#include <QDialog>
#include <QPushButton>

#include "app/dialog_texts.h"
#include "game/string_table.h"
#include "game/text_ids.h"
#include "ui/help_topics.h"

QDialogButtonBox* MakeDialogButtonRow(QDialog* dialog, const QString& helpTopic, DialogButtons buttons) {
  auto* row = new QDialogButtonBox(dialog);
  QPushButton* ok = row->addButton(QString::fromUtf8(ResourceString(OK_BUTTON)), QDialogButtonBox::AcceptRole);
  ok->setDefault(true);
  if (buttons == DialogButtons::OK_CANCEL_HELP)
    row->addButton(QString::fromUtf8(ResourceString(CANCEL_BUTTON)), QDialogButtonBox::RejectRole);
  if (buttons != DialogButtons::OK) {
    row->addButton(QString::fromUtf8(ResourceString(HELP_BUTTON)), QDialogButtonBox::HelpRole);
    QObject::connect(row, &QDialogButtonBox::helpRequested, dialog,
                     [dialog, helpTopic] { ShowHelpTopic(dialog, helpTopic); });
  }
  QObject::connect(row, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
  QObject::connect(row, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
  return row;
}

QPushButton* ButtonWithRole(const QDialogButtonBox& row, QDialogButtonBox::ButtonRole role) {
  for (QAbstractButton* button : row.buttons())
    if (row.buttonRole(button) == role) return qobject_cast<QPushButton*>(button);
  return nullptr;
}
