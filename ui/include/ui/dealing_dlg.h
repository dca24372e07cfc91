#pragma once

#include <array>

#include "app/dealing_change.h"
#include "ui/option_dlg.h"

class QLabel;
class QRadioButton;

// "Dealing/Sorting": the dealing method, the sorting after a deal and its
// direction.
class DealingDlg : public OptionDlg {
  Q_OBJECT

 public:
  explicit DealingDlg(const DealingChoices& current, QWidget* parent = nullptr);

  DealingChoices Choices() const;

  QRadioButton& DealButton(uint32_t dealType) { return *Deals.at(dealType); }
  // The second line of a dealing method's text.
  QLabel& DealLabel(uint32_t dealType) { return *DealLabels.at(dealType); }
  QRadioButton& SortingButton(uint32_t sorting) { return *Sortings.at(sorting); }
  QRadioButton& DirectionButton(uint32_t direction) { return *Directions.at(direction); }

 private:
  std::array<QRadioButton*, 2> Deals{};
  std::array<QLabel*, 2> DealLabels{};
  std::array<QRadioButton*, 3> Sortings{};
  std::array<QRadioButton*, 2> Directions{};
  DealingChoices Initial;
};
