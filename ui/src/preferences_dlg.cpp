#include "ui/preferences_dlg.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

#include "game/text_ids.h"

PreferencesDlg::PreferencesDlg(const PreferenceChoices& current, QWidget* parent)
    : OptionDlg(PREFERENCES_TITLE, QStringLiteral("preferences"), parent), Initial(current) {
  auto* startup = new QGroupBox(DialogText(STARTUP_GROUP), this);
  auto* startupLayout = new QVBoxLayout(startup);
  AlwaysResume = new QCheckBox(DialogText(ALWAYS_RESUME), startup);
  DisableScenery = new QCheckBox(DialogText(DISABLE_SCENERY), startup);
  AlwaysResume->setChecked(current.AlwaysResume);
  DisableScenery->setChecked(current.DisableScenery);
  startupLayout->addWidget(AlwaysResume);
  startupLayout->addWidget(DisableScenery);

  auto* bar = new QGroupBox(DialogText(BUTTON_BAR_GROUP), this);
  auto* barLayout = new QVBoxLayout(bar);
  const uint32_t texts[] = {BAR_RIGHT, BAR_LEFT, BAR_TOP, BAR_BOTTOM};
  for (uint32_t i = 0; i < Locations.size(); ++i) {
    Locations[i] = new QRadioButton(DialogText(texts[i]), bar);
    Locations[i]->setChecked(i == current.ToolbarLocation);
    barLayout->addWidget(Locations[i]);
  }
  HideBar = new QCheckBox(DialogText(HIDE_BUTTON_BAR), bar);
  HideBar->setChecked(current.HideToolbar);
  barLayout->addSpacing(4);
  barLayout->addWidget(HideBar);
  // The edge means nothing while the bar is hidden.
  auto showEdges = [this] {
    for (QRadioButton* location : Locations) location->setEnabled(!HideBar->isChecked());
  };
  connect(HideBar, &QCheckBox::toggled, this, showEdges);
  showEdges();

  auto* table = new QGroupBox(DialogText(TABLE_GROUP), this);
  auto* tableLayout = new QVBoxLayout(table);
  ShowMelds = new QCheckBox(DialogText(SHOW_MELDS), table);
  Animation = new QCheckBox(DialogText(ANIMATE_CARDS), table);
  ShowMelds->setChecked(current.ShowMelds);
  Animation->setChecked(current.Animation);
  tableLayout->addWidget(ShowMelds);
  tableLayout->addWidget(Animation);

  Body().addWidget(startup);
  Body().addWidget(bar);
  Body().addWidget(table);
}

PreferenceChoices PreferencesDlg::Choices() const {
  PreferenceChoices chosen = Initial;
  chosen.AlwaysResume = AlwaysResume->isChecked();
  chosen.DisableScenery = DisableScenery->isChecked();
  for (uint32_t i = 0; i < Locations.size(); ++i)
    if (Locations[i]->isChecked()) chosen.ToolbarLocation = i;
  chosen.HideToolbar = HideBar->isChecked();
  chosen.ShowMelds = ShowMelds->isChecked();
  chosen.Animation = Animation->isChecked();
  return chosen;
}
