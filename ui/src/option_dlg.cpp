#include "ui/option_dlg.h"

#include <QPushButton>
#include <QVBoxLayout>

#include "game/string_table.h"
#include "ui/dialog_button_row.h"

QString DialogText(uint32_t id) { return QString::fromUtf8(ResourceString(id)); }

OptionDlg::OptionDlg(uint32_t titleId, QString helpTopic, QWidget* parent, bool withCancelAndHelp)
    : QDialog(parent), Topic(std::move(helpTopic)) {
  setWindowTitle(DialogText(titleId));
  QDialogButtonBox* buttons = MakeDialogButtonRow(
      this, Topic, withCancelAndHelp ? DialogButtons::OK_CANCEL_HELP : DialogButtons::OK);
  Ok = ButtonWithRole(*buttons, QDialogButtonBox::AcceptRole);
  Cancel = ButtonWithRole(*buttons, QDialogButtonBox::RejectRole);
  Help = ButtonWithRole(*buttons, QDialogButtonBox::HelpRole);

  auto* layout = new QVBoxLayout(this);
  Content = new QVBoxLayout;
  layout->addLayout(Content);
  layout->addSpacing(6);
  layout->addWidget(buttons);
  // Option dialogs have nothing to gain from resizing.
  layout->setSizeConstraint(QLayout::SetFixedSize);
}
