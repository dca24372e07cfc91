#include "ui/dialog_button_row.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>

#include "game/string_table.h"
#include "store/dialog_texts.h"
#include "ui/help_topics.h"

QDialogButtonBox* MakeDialogButtonRow(QDialog* dialog, const QString& helpTopic, bool withCancel) {
  using namespace dialog_texts;
  auto* row = new QDialogButtonBox(dialog);
  QPushButton* ok = row->addButton(QString::fromUtf8(ResourceString(OK)), QDialogButtonBox::AcceptRole);
  ok->setDefault(true);
  if (withCancel) row->addButton(QString::fromUtf8(ResourceString(CANCEL)), QDialogButtonBox::RejectRole);
  row->addButton(QString::fromUtf8(ResourceString(HELP)), QDialogButtonBox::HelpRole);
  QObject::connect(row, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
  QObject::connect(row, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
  QObject::connect(row, &QDialogButtonBox::helpRequested, dialog,
                   [dialog, helpTopic] { ShowHelpTopic(dialog, helpTopic); });
  return row;
}
