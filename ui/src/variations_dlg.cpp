#include "ui/variations_dlg.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

#include "game/text_ids.h"

VariationsDlg::VariationsDlg(const RuleChoices& current, QWidget* parent)
    : OptionDlg(VARIATIONS_TITLE, QStringLiteral("variations"), parent) {
  auto* variationGroup = new QGroupBox(DialogText(VARIATION_GROUP), this);
  auto* variationLayout = new QVBoxLayout(variationGroup);
  const uint32_t variationTexts[] = {SIMPLE_OPTION, STANDARD_OPTION, OKLAHOMA_OPTION};
  for (uint32_t i = 0; i < Variations.size(); ++i) {
    Variations[i] = new QRadioButton(DialogText(variationTexts[i]), variationGroup);
    variationLayout->addWidget(Variations[i]);
  }
  AceRule = new QCheckBox(DialogText(ACE_REQUIRES_GIN), variationGroup);
  variationLayout->addSpacing(4);
  variationLayout->addWidget(AceRule);

  auto* targetGroup = new QGroupBox(DialogText(PLAY_TO_GROUP), this);
  auto* targetLayout = new QVBoxLayout(targetGroup);
  const uint32_t targetTexts[] = {TARGET_100, TARGET_150, TARGET_250, TARGET_500};
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
