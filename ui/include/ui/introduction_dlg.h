#pragma once

#include <QDialog>
#include <cstdint>

// "Introduction to Quorla", shown on the first play of each player
// configuration: the variation and target being played and where to change
// them, how to play with the mouse and where to find more.
class IntroductionDlg : public QDialog {
  Q_OBJECT

 public:
  IntroductionDlg(uint32_t variation, uint32_t target, QWidget* parent = nullptr);

  // What the dialog says, as plain text.
  QString Text() const;
};
