#pragma once

#include <array>

#include "game/rules.h"
#include "ui/option_dlg.h"

class QCheckBox;
class QRadioButton;

// "Variations": the Gin Rummy variation, the ace rule of Oklahoma and the
// game target, shown as they are in force and returned as chosen.
class VariationsDlg : public OptionDlg {
  Q_OBJECT

 public:
  explicit VariationsDlg(const RuleChoices& current, QWidget* parent = nullptr);

  RuleChoices Choices() const;

  QRadioButton& VariationButton(uint32_t variation) { return *Variations.at(variation); }
  QCheckBox& AceRequiresGinBox() { return *AceRule; }
  // index into GAME_TARGETS
  QRadioButton& TargetButton(uint32_t index) { return *Targets.at(index); }

 private:
  std::array<QRadioButton*, 3> Variations{};
  std::array<QRadioButton*, 4> Targets{};
  QCheckBox* AceRule;
  RuleChoices Initial;
};
