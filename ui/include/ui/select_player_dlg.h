#pragma once

#include <QDialog>
#include <optional>
#include <string>
#include <vector>

class QListWidget;

// The player configuration choice, at start-up and for Switch Player:
// "Default" first, then every configuration, the one in use preselected.
class SelectPlayerDlg : public QDialog {
  Q_OBJECT

 public:
  SelectPlayerDlg(const QString& title, const std::vector<std::string>& names, const std::string& preselected,
                  QWidget* parent = nullptr);

  std::string ChosenName() const;
  QListWidget& List() { return *Names; }

 private:
  QListWidget* Names;
};

// Asks with the dialog; nothing when it was cancelled.
std::optional<std::string> ChoosePlayerWithDialog(QWidget* parent, const QString& title,
                                                  const std::vector<std::string>& names,
                                                  const std::string& preselected);
