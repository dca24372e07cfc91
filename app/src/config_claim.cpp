#include "app/config_claim.h"

#include "game/text_ids.h"
#include "store/player_configs.h"

std::optional<std::string> ClaimConfigurationAtStart(PlayerConfigs& configs, UserMessages& messages,
                                                     const ChooseAgain& chooseAgain, const CallForward& callForward) {
  for (;;) {
    const std::string wanted = configs.SelectedName();
    if (configs.MakeCurrent()) return configs.NameInUse();
    // The running copy first, so that the message stands over it.
    if (callForward) callForward(configs.DirectoryOf(wanted));
    const bool canChoose = configs.Count() > 0;
    messages.MessageText(CONFIG_IN_USE_CAPTION,
                         configs.InUseMessage(wanted, canChoose ? CONFIG_IN_USE_CHOOSE_ANOTHER
                                                                : CONFIG_IN_USE_THIS_COPY_CLOSES),
                         ICON_EXCLAMATION);
    if (!canChoose) return std::nullopt;
    const std::optional<std::string> chosen = chooseAgain();
    if (!chosen) return std::nullopt;
    configs.Select(*chosen);
  }
}
