#pragma once

#include <QString>

class QWidget;

// Opens the help window at one topic ("variations", "difficulty", ...);
// every dialog's Help button comes here.
void ShowHelpTopic(QWidget* parent, const QString& topic);
