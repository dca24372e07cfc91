#pragma once

#include <functional>
#include <optional>
#include <string>

#include "game/user_messages.h"

class PlayerConfigs;

// Another chance to choose a configuration; nothing when the person declined.
using ChooseAgain = std::function<std::optional<std::string>()>;
// Asks the copy that uses the configuration in `directory` to show itself.
using CallForward = std::function<void(const std::string& directory)>;

// Makes the selected configuration the one this copy of the program uses.
// When another running copy uses it, that copy is called forward and the
// person is told so: with other configurations to choose from they may
// choose again (declining leaves), otherwise this copy leaves. Nothing of a
// configuration in use elsewhere is written. The name in use, or nothing
// when this copy must leave.
std::optional<std::string> ClaimConfigurationAtStart(PlayerConfigs& configs, UserMessages& messages,
                                                     const ChooseAgain& chooseAgain,
                                                     const CallForward& callForward = {});
