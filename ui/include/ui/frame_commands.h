#pragma once

#include <cstdint>

// Commands the frame carries out itself (the table's are in
// game/table_commands.h). As with the table's, the id is the string id of
// the menu text, and CommandHintId gives its status-bar hint.
enum FrameCommand : uint32_t {
  CM_VARIATIONS = 1301,
  CM_DIFFICULTY = 1302,
  CM_DEALING = 1303,
  CM_CARDBACK = 1304,
  CM_PREFERENCES = 1306,
  CM_CARD_FACES = 1307,
  CM_FULL_SCREEN = 1311,
  CM_SWITCH_PLAYER = 1501,
  CM_CREATE_PLAYER = 1502,
  CM_REMOVE_PLAYER = 1503,
  CM_HELP_CONTENTS = 2001,
  CM_HELP_USING = 2002,
  CM_HELP_RULES = 2003,
  CM_ABOUT = 2009,
};

// Whether the frame, rather than the table, carries out this command.
constexpr bool IsFrameCommand(uint32_t command) {
  switch (command) {
    case CM_VARIATIONS:
    case CM_DIFFICULTY:
    case CM_DEALING:
    case CM_CARDBACK:
    case CM_CARD_FACES:
    case CM_PREFERENCES:
    case CM_FULL_SCREEN:
    case CM_SWITCH_PLAYER:
    case CM_CREATE_PLAYER:
    case CM_REMOVE_PLAYER:
    case CM_HELP_CONTENTS:
    case CM_HELP_USING:
    case CM_HELP_RULES:
    case CM_ABOUT: return true;
    default: return false;
  }
}
