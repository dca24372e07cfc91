#pragma once

#include <functional>
#include <optional>
#include <string>

#include "game/user_messages.h"

class PlayerConfigs;

// Another chance to choose a configuration; nothing when the person declined.
using ChooseAgain = std::function<std::optional<std::string>()>;

// Makes the selected configuration the one this copy of the program uses.
// When another running copy uses it, the person is told so: with other
// configurations to choose from they may choose again (declining leaves),
// otherwise this copy leaves. Nothing of a configuration in use elsewhere
// is written. The name in use, or nothing when this copy must leave.
std::optional<std::string> ClaimConfigurationAtStart(PlayerConfigs& configs, UserMessages& messages,
                                                     const ChooseAgain& chooseAgain);
