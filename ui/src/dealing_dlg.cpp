#include "ui/dealing_dlg.h"

#include <QBoxLayout>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>

#include "game/text_ids.h"

namespace {

// A group of radio buttons, one per text, the checked one given by index.
template <size_t N>
QGroupBox* RadioGroup(uint32_t titleId, const uint32_t (&texts)[N], std::array<QRadioButton*, N>& buttons,
                      uint32_t checked, QWidget* parent) {
  auto* group = new QGroupBox(DialogText(titleId), parent);
  auto* layout = new QVBoxLayout(group);
  for (size_t i = 0; i < N; ++i) {
    buttons[i] = new QRadioButton(DialogText(texts[i]), group);
    buttons[i]->setChecked(i == checked);
    layout->addWidget(buttons[i]);
  }
  layout->addStretch();
  return group;
}

}  // namespace

DealingDlg::DealingDlg(const DealingChoices& current, QWidget* parent)
    : OptionDlg(DEALING_TITLE, QStringLiteral("dealing"), parent), Initial(current) {
  auto* dealGroup = new QGroupBox(DialogText(DEALING_GROUP), this);
  auto* dealLayout = new QVBoxLayout(dealGroup);
  const uint32_t options[] = {TRADITIONAL_OPTION, ELEVEN_TEN_OPTION};
  const uint32_t labels[] = {TRADITIONAL_LABEL, ELEVEN_TEN_LABEL};
  // The continuation lines start under the option's text, not its circle.
  const int indent = style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth) +
                     style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing);
  for (uint32_t i = 0; i < Deals.size(); ++i) {
    Deals[i] = new QRadioButton(DialogText(options[i]), dealGroup);
    Deals[i]->setChecked(i == (current.DealType != 0 ? 1u : 0u));
    DealLabels[i] = new QLabel(DialogText(labels[i]), dealGroup);
    // With a buddy the label shows a doubled ampersand as one, like the
    // option's own text.
    DealLabels[i]->setBuddy(Deals[i]);
    DealLabels[i]->setIndent(indent);
    DealLabels[i]->setContentsMargins(0, 0, 0, 0);
    if (i > 0) dealLayout->addSpacing(6);
    dealLayout->addWidget(Deals[i]);
    dealLayout->addWidget(DealLabels[i]);
  }
  dealLayout->setSpacing(1);

  const uint32_t sortings[] = {NO_SORTING, SORT_BY_FACE, SORT_BY_SUITS};
  const uint32_t directions[] = {ASCENDING, DESCENDING};
  auto* row = new QHBoxLayout;
  row->addWidget(RadioGroup(SORTING_GROUP, sortings, Sortings, current.HandSorting, this));
  row->addWidget(RadioGroup(SORT_ORDER_GROUP, directions, Directions, current.SortDirection != 0 ? 1 : 0, this));
  Body().addWidget(dealGroup);
  Body().addLayout(row);
}

DealingChoices DealingDlg::Choices() const {
  // A stored value no button stands for stays as it is.
  DealingChoices chosen = Initial;
  chosen.DealType = Deals[1]->isChecked() ? 1 : 0;
  for (uint32_t i = 0; i < Sortings.size(); ++i)
    if (Sortings[i]->isChecked()) chosen.HandSorting = i;
  chosen.SortDirection = Directions[1]->isChecked() ? 1 : 0;
  return chosen;
}
