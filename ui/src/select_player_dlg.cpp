#include "ui/select_player_dlg.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

#include "app/dialog_texts.h"
#include "game/string_table.h"
#include "game/text_ids.h"
#include "store/player_configs.h"
#include "ui/dialog_button_row.h"

SelectPlayerDlg::SelectPlayerDlg(const QString& title, const std::vector<std::string>& names,
                                 const std::string& preselected, QWidget* parent)
    : QDialog(parent) {
  setWindowTitle(title);
  auto* prompt = new QLabel(QString::fromUtf8(ResourceString(SELECT_CONFIGURATION)), this);
  Names = new QListWidget(this);
  Names->setSelectionMode(QAbstractItemView::SingleSelection);
  Names->addItem(QString::fromUtf8(ResourceString(DEFAULT_CONFIGURATION)));
  for (const std::string& name : names) Names->addItem(QString::fromStdString(name));
  Names->setCurrentRow(0);
  for (int row = 0; row < Names->count(); ++row)
    if (Names->item(row)->text().toStdString() == preselected) Names->setCurrentRow(row);
  prompt->setBuddy(Names);
  connect(Names, &QListWidget::itemDoubleClicked, this, &QDialog::accept);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(prompt);
  layout->addWidget(Names);
  layout->addWidget(MakeDialogButtonRow(this, "select_player"));
  Names->setMinimumHeight(fontMetrics().height() * 10);
}

std::string SelectPlayerDlg::ChosenName() const {
  const QListWidgetItem* item = Names->currentItem();
  return item ? item->text().toStdString() : PlayerConfigs::DEFAULT_NAME;
}

std::optional<std::string> ChoosePlayerWithDialog(QWidget* parent, const QString& title,
                                                  const std::vector<std::string>& names,
                                                  const std::string& preselected) {
  SelectPlayerDlg dialog(title, names, preselected, parent);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.ChosenName();
}
