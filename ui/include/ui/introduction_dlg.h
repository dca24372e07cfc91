#pragma once

#include <QDialog>

// "Introduction to Quorla", shown on the first play of each player
// configuration: how to play with the mouse and where to find more.
class IntroductionDlg : public QDialog {
  Q_OBJECT

 public:
  explicit IntroductionDlg(QWidget* parent = nullptr);
};
