#pragma once

#include <QDialog>
#include <string>
#include <vector>

class QListWidget;

// "Remove Player Configuration(s)": one or more configurations chosen from
// the list; OK hands them to PlayerConfigs for removal.
class RemovePlayerDlg : public QDialog {
  Q_OBJECT

 public:
  explicit RemovePlayerDlg(const std::vector<std::string>& names, QWidget* parent = nullptr);

  // In list order.
  std::vector<std::string> SelectedNames() const;
  QListWidget& List() { return *Names; }

 private:
  QListWidget* Names;
};
