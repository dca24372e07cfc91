#pragma once

#include <array>

#include "app/cardback_change.h"
#include "ui/option_dlg.h"

class QButtonGroup;
class QCheckBox;
class QToolButton;

// "Select Cardback": the ten card backs as picture buttons in two rows of
// five, the one in use pressed, and the choice of a different back for
// each game.
class CardbackDlg : public OptionDlg {
  Q_OBJECT

 public:
  static constexpr uint32_t BACKS = 10;

  explicit CardbackDlg(const CardbackChoices& current, QWidget* parent = nullptr);

  CardbackChoices Choices() const;

  // index 0 to 9: back id 24456 + index
  QToolButton& BackButton(uint32_t index) { return *Backs.at(index); }
  QCheckBox& DifferentBackBox() { return *DifferentBack; }

 private:
  std::array<QToolButton*, BACKS> Backs{};
  QButtonGroup* Group;
  QCheckBox* DifferentBack;
  CardbackChoices Initial;
};
