#pragma once

#include <QMessageBox>
#include <QString>
#include <functional>

// How message boxes and questions reach the person; tests answer them.
// Returns true for yes (or OK).
using TablePrompter =
    std::function<bool(const QString& caption, const QString& text, QMessageBox::Icon icon, bool yesNo)>;
