#pragma once

#include <QMessageBox>
#include <QString>
#include <cstdint>

#include "game/user_messages.h"

// A text of the string table as the window shows it (the table holds UTF-8).
QString ResourceText(uint32_t id);

// The message box icon for a box the core asks for.
QMessageBox::Icon ToQtIcon(MessageIcon icon);
