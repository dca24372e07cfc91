#include "ui/preferences_dlg.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

#include "game/language_choice.h"
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

  auto* language = new QGroupBox(DialogText(LANGUAGE_GROUP), this);
  auto* languageLayout = new QVBoxLayout(language);
  Language = new QComboBox(language);
  Language->addItem(DialogText(SYSTEM_LANGUAGE), QString());
  for (const KnownLanguage& known : KNOWN_LANGUAGES)
    Language->addItem(QString::fromUtf8(known.OwnName.data(), static_cast<int>(known.OwnName.size())),
                      QString::fromUtf8(known.Code.data(), static_cast<int>(known.Code.size())));
  Language->setCurrentIndex(std::max(0, Language->findData(QString::fromStdString(current.Language))));
  Language->setAccessibleName(DialogText(LANGUAGE_GROUP));
  languageLayout->addWidget(Language);

  Body().addWidget(startup);
  Body().addWidget(bar);
  Body().addWidget(table);
  Body().addWidget(language);
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
  chosen.Language = Language->currentData().toString().toStdString();
  return chosen;
}
