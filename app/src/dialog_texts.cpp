#include "app/dialog_texts.h"

#include "game/rules.h"
#include "game/string_table.h"
#include "game/text_ids.h"

std::string IntroductionRulesText(uint32_t variation, uint32_t target) {
  const uint32_t known = variation <= OKLAHOMA_GIN ? variation : STANDARD_GIN;
  return ResourceString(INTRO_PLAYING) + std::string(ResourceString(INTRO_SIMPLE_GIN + known)) +
         ResourceString(INTRO_TO_TARGET) + std::to_string(target) + ResourceString(INTRO_WHERE_TO_CHANGE);
}

std::string FrameTitle(const std::string& configuration, uint32_t variation) {
  std::string title = ResourceString(PROGRAM_TITLE);
  if (configuration != ResourceString(DEFAULT_CONFIGURATION))
    title += ResourceString(TITLE_CONFIG_OPEN) + configuration + ResourceString(TITLE_CONFIG_CLOSE);
  switch (variation) {
    case SIMPLE_GIN: return title + ResourceString(TITLE_SIMPLE);
    case STANDARD_GIN: return title + ResourceString(TITLE_STANDARD);
    case OKLAHOMA_GIN: return title + ResourceString(TITLE_OKLAHOMA);
    default: return title;
  }
}
