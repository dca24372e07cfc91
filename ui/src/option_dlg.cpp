#include "ui/option_dlg.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "game/string_table.h"
#include "store/dialog_texts.h"
#include "ui/help_topics.h"

QString DialogText(uint32_t id) { return QString::fromUtf8(ResourceString(id)); }

OptionDlg::OptionDlg(uint32_t titleId, QString helpTopic, QWidget* parent, bool withCancelAndHelp)
    : QDialog(parent), Topic(std::move(helpTopic)) {
  setWindowTitle(DialogText(titleId));
  auto* buttons = new QDialogButtonBox(this);
  Ok = buttons->addButton(DialogText(dialog_texts::OK), QDialogButtonBox::AcceptRole);
  Ok->setDefault(true);
  if (withCancelAndHelp) {
    Cancel = buttons->addButton(DialogText(dialog_texts::CANCEL), QDialogButtonBox::RejectRole);
    // Help leaves the dialog open, so the person can read and then choose.
    Help = buttons->addButton(DialogText(dialog_texts::HELP), QDialogButtonBox::HelpRole);
    connect(buttons, &QDialogButtonBox::helpRequested, this, [this] { ShowHelpTopic(this, Topic); });
  }
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  Content = new QVBoxLayout;
  layout->addLayout(Content);
  layout->addSpacing(6);
  layout->addWidget(buttons);
  // Option dialogs have nothing to gain from resizing.
  layout->setSizeConstraint(QLayout::SetFixedSize);
}
