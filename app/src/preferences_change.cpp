#include "app/preferences_change.h"

#include "game/language_choice.h"

PreferenceChoices CurrentPreferenceChoices(const Preferences& preferences) {
  return {preferences.AlwaysResume != 0, preferences.DisableScenery, preferences.ToolbarLocation,
          preferences.HideToolbar,        preferences.ShowMelds,      preferences.Animation,
          preferences.Language};
}

WindowUpdate ApplyPreferenceChoices(const PreferenceChoices& chosen, Preferences& preferences) {
  WindowUpdate update;
  const Preferences before = preferences;
  preferences.AlwaysResume = chosen.AlwaysResume ? 1 : 0;
  preferences.DisableScenery = chosen.DisableScenery;
  if (chosen.ToolbarLocation <= 3) preferences.ToolbarLocation = chosen.ToolbarLocation;
  preferences.HideToolbar = chosen.HideToolbar;
  preferences.ShowMelds = chosen.ShowMelds;
  preferences.Animation = chosen.Animation;
  preferences.Language = IsKnownLanguage(chosen.Language) ? chosen.Language : std::string();
  update.Relayout = !before.SameToolbar(preferences);
  update.ReloadBackdrop = before.DisableScenery != preferences.DisableScenery;
  update.TablePresentation = before.ShowMelds != preferences.ShowMelds || before.Animation != preferences.Animation;
  update.Redraw = update.ReloadBackdrop;
  update.LanguageFromNextStart = before.Language != preferences.Language;
  return update;
}
