#pragma once

#include <array>

#include "app/preferences_change.h"
#include "ui/option_dlg.h"

class QCheckBox;
class QComboBox;
class QRadioButton;

// "Configure Preferences": the Startup group (resume, scenery) and the
// Button Bar group (its edge, or hidden).
class PreferencesDlg : public OptionDlg {
  Q_OBJECT

 public:
  explicit PreferencesDlg(const PreferenceChoices& current, QWidget* parent = nullptr);

  PreferenceChoices Choices() const;

  QCheckBox& AlwaysResumeBox() { return *AlwaysResume; }
  QCheckBox& DisableSceneryBox() { return *DisableScenery; }
  // 0 right, 1 left, 2 top, 3 bottom
  QRadioButton& LocationButton(uint32_t location) { return *Locations.at(location); }
  QCheckBox& HideBarBox() { return *HideBar; }
  QCheckBox& ShowMeldsBox() { return *ShowMelds; }
  QCheckBox& AnimationBox() { return *Animation; }
  QComboBox& LanguageBox() { return *Language; }

 private:
  QCheckBox* AlwaysResume;
  QCheckBox* DisableScenery;
  std::array<QRadioButton*, 4> Locations{};
  QCheckBox* HideBar;
  QCheckBox* ShowMelds;
  QCheckBox* Animation;
  QComboBox* Language;
  PreferenceChoices Initial;
};
