#pragma once

#include <QDialog>

class QCheckBox;

// "Warning!": the desktop work area is smaller than the window. OK with
// "Hide this warning in the future" checked turns the warning off.
class WorkAreaDlg : public QDialog {
  Q_OBJECT

 public:
  explicit WorkAreaDlg(QWidget* parent = nullptr);

  QCheckBox& HideBox() { return *Hide; }
  bool HideWarningChosen() const;

 private:
  QCheckBox* Hide;
};
