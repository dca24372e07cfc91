#include "ui/variations_dlg.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/dialog_texts.h"

namespace dt = dialog_texts;

VariationsDlg::VariationsDlg(const RuleChoices& current, QWidget* parent)
    : OptionDlg(dt::VARIATIONS_TITLE, QStringLiteral("variations"), parent) {
  auto* variationGroup = new QGroupBox(DialogText(dt::VARIATION_GROUP), this);
  auto* variationLayout = new QVBoxLayout(variationGroup);
  const uint32_t variationTexts[] = {dt::SIMPLE_OPTION, dt::STANDARD_OPTION, dt::OKLAHOMA_OPTION};
  for (uint32_t i = 0; i < Variations.size(); ++i) {
    Variations[i] = new QRadioButton(DialogText(variationTexts[i]), variationGroup);
    variationLayout->addWidget(Variations[i]);
  }
  AceRule = new QCheckBox(DialogText(dt::ACE_REQUIRES_GIN), variationGroup);
  variationLayout->addSpacing(4);
  variationLayout->addWidget(AceRule);

  auto* targetGroup = new QGroupBox(DialogText(dt::PLAY_TO_GROUP), this);
  auto* targetLayout = new QVBoxLayout(targetGroup);
  const uint32_t targetTexts[] = {dt::TARGET_100, dt::TARGET_150, dt::TARGET_250, dt::TARGET_500};
  for (uint32_t i = 0; i < Targets.size(); ++i) {
    Targets[i] = new QRadioButton(DialogText(targetTexts[i]), targetGroup);
    targetLayout->addWidget(Targets[i]);
  }
  targetLayout->addStretch();

  auto* row = new QHBoxLayout;
  row->addWidget(variationGroup);
  row->addWidget(targetGroup);
  Body().addLayout(row);

  // A value the dialog cannot offer leaves no button checked; OK then keeps it.
  if (current.Variation < Variations.size()) Variations[current.Variation]->setChecked(true);
  AceRule->setChecked(current.AceRequiresGin);
  for (uint32_t i = 0; i < Targets.size(); ++i) Targets[i]->setChecked(GAME_TARGETS[i] == current.GameTarget);
  Initial = current;
}

RuleChoices VariationsDlg::Choices() const {
  RuleChoices chosen = Initial;
  for (uint32_t i = 0; i < Variations.size(); ++i)
    if (Variations[i]->isChecked()) chosen.Variation = i;
  chosen.AceRequiresGin = AceRule->isChecked();
  for (uint32_t i = 0; i < Targets.size(); ++i)
    if (Targets[i]->isChecked()) chosen.GameTarget = GAME_TARGETS[i];
  return chosen;
}
