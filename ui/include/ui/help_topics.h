#pragma once

#include <QString>

class QWidget;

// Opens the help at one of its topics ("variations", "select_player", ...).
void ShowHelpTopic(QWidget* parent, const QString& topic);
