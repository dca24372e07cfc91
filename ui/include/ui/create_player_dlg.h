#pragma once

#include <QDialog>

class PlayerConfigs;
class QLineEdit;
class QListWidget;
class QPushButton;

// "Create Player Configuration(s)": each name typed and added becomes a
// configuration at once (refusals are shown by PlayerConfigs) and joins
// the "Names already Used" list. OK closes the dialog.
class CreatePlayerDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CreatePlayerDlg(PlayerConfigs& configs, QWidget* parent = nullptr);

  int AddedCount() const { return Added; }
  QLineEdit& NameEdit() { return *Name; }
  QPushButton& AddButton() { return *Add; }
  QListWidget& UsedNames() { return *Used; }

 private:
  void AddTypedName();

  PlayerConfigs& Configs;
  QLineEdit* Name;
  QPushButton* Add;
  QListWidget* Used;
  int Added = 0;
};
