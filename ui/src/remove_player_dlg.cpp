#include "ui/remove_player_dlg.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

#include "app/dialog_texts.h"
#include "game/string_table.h"
#include "game/text_ids.h"
#include "ui/dialog_button_row.h"
#include "ui/resource_text.h"

RemovePlayerDlg::RemovePlayerDlg(const std::vector<std::string>& names, QWidget* parent) : QDialog(parent) {
  setWindowTitle(QString::fromUtf8(ResourceString(REMOVE_TITLE)));
  Names = new QListWidget(this);
  Names->setSelectionMode(QAbstractItemView::ExtendedSelection);
  for (const std::string& name : names) Names->addItem(QString::fromStdString(name));
  auto* prompt = new QLabel(ResourceText(REMOVE_PROMPT), this);
  prompt->setBuddy(Names);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(prompt);
  layout->addWidget(Names);
  layout->addWidget(MakeDialogButtonRow(this, "remove_player"));
  Names->setMinimumHeight(fontMetrics().height() * 10);
}

std::vector<std::string> RemovePlayerDlg::SelectedNames() const {
  std::vector<std::string> chosen;
  for (int row = 0; row < Names->count(); ++row)
    if (Names->item(row)->isSelected()) chosen.push_back(Names->item(row)->text().toStdString());
  return chosen;
}
