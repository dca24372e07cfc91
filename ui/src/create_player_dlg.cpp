#include "ui/create_player_dlg.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/dialog_texts.h"
#include "game/string_table.h"
#include "game/text_ids.h"
#include "store/config_name.h"
#include "store/player_configs.h"
#include "ui/dialog_button_row.h"
#include "ui/resource_text.h"

CreatePlayerDlg::CreatePlayerDlg(PlayerConfigs& configs, QWidget* parent) : QDialog(parent), Configs(configs) {
  setWindowTitle(ResourceText(CREATE_TITLE));
  Name = new QLineEdit(this);
  Name->setMaxLength(static_cast<int>(MAX_CONFIG_NAME));
  Add = new QPushButton(ResourceText(ADD_BUTTON), this);
  // Enter in the name field adds the name; it does not close the dialog.
  Add->setAutoDefault(true);
  connect(Add, &QPushButton::clicked, this, &CreatePlayerDlg::AddTypedName);

  auto* used = new QGroupBox(ResourceText(NAMES_ALREADY_USED), this);
  Used = new QListWidget(used);
  Used->setSelectionMode(QAbstractItemView::NoSelection);
  Used->setFocusPolicy(Qt::NoFocus);
  for (const std::string& name : configs.Names()) Used->addItem(QString::fromStdString(name));
  auto* usedLayout = new QVBoxLayout(used);
  usedLayout->addWidget(Used);

  auto* label = new QLabel(ResourceText(CREATE_NAME_LABEL), this);
  label->setBuddy(Name);
  auto* entry = new QHBoxLayout;
  entry->addWidget(label);
  entry->addWidget(Name, 1);
  entry->addWidget(Add);
  QDialogButtonBox* buttons = MakeDialogButtonRow(this, "create_player", DialogButtons::OK_HELP);
  for (QAbstractButton* button : buttons->buttons())
    if (auto* push = qobject_cast<QPushButton*>(button)) push->setAutoDefault(false);
  // The dialog's default is the last button made default.
  Add->setDefault(true);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(entry);
  layout->addWidget(used);
  layout->addWidget(buttons);
  Used->setMinimumHeight(fontMetrics().height() * 7);
}

void CreatePlayerDlg::AddTypedName() {
  const std::string typed = Name->text().toStdString();
  if (!Configs.AddConfiguration(typed)) return;
  ++Added;
  Used->addItem(QString::fromStdString(TrimName(typed)));
  Name->clear();
  Name->setFocus();
}
