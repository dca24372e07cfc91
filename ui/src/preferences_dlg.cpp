#include "ui/preferences_dlg.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/dialog_texts.h"

namespace dt = dialog_texts;

PreferencesDlg::PreferencesDlg(const PreferenceChoices& current, QWidget* parent)
    : OptionDlg(dt::PREFERENCES_TITLE, QStringLiteral("preferences"), parent), Initial(current) {
  auto* startup = new QGroupBox(DialogText(dt::STARTUP_GROUP), this);
  auto* startupLayout = new QVBoxLayout(startup);
  AlwaysResume = new QCheckBox(DialogText(dt::ALWAYS_RESUME), startup);
  DisableScenery = new QCheckBox(DialogText(dt::DISABLE_SCENERY), startup);
  AlwaysResume->setChecked(current.AlwaysResume);
  DisableScenery->setChecked(current.DisableScenery);
  startupLayout->addWidget(AlwaysResume);
  startupLayout->addWidget(DisableScenery);

  auto* bar = new QGroupBox(DialogText(dt::BUTTON_BAR_GROUP), this);
  auto* barLayout = new QVBoxLayout(bar);
  const uint32_t texts[] = {dt::BAR_RIGHT, dt::BAR_LEFT, dt::BAR_TOP, dt::BAR_BOTTOM};
  for (uint32_t i = 0; i < Locations.size(); ++i) {
    Locations[i] = new QRadioButton(DialogText(texts[i]), bar);
    Locations[i]->setChecked(i == current.ToolbarLocation);
    barLayout->addWidget(Locations[i]);
  }
  HideBar = new QCheckBox(DialogText(dt::HIDE_BUTTON_BAR), bar);
  HideBar->setChecked(current.HideToolbar);
  barLayout->addSpacing(4);
  barLayout->addWidget(HideBar);
  // The edge means nothing while the bar is hidden.
  auto showEdges = [this] {
    for (QRadioButton* location : Locations) location->setEnabled(!HideBar->isChecked());
  };
  connect(HideBar, &QCheckBox::toggled, this, showEdges);
  showEdges();

  Body().addWidget(startup);
  Body().addWidget(bar);
}

PreferenceChoices PreferencesDlg::Choices() const {
  PreferenceChoices chosen = Initial;
  chosen.AlwaysResume = AlwaysResume->isChecked();
  chosen.DisableScenery = DisableScenery->isChecked();
  for (uint32_t i = 0; i < Locations.size(); ++i)
    if (Locations[i]->isChecked()) chosen.ToolbarLocation = i;
  chosen.HideToolbar = HideBar->isChecked();
  return chosen;
}
