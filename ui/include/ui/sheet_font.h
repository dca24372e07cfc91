#pragma once

#include <QFont>
#include <QSize>

// The font of the score sheet and the statistics table, and the unit both
// place their text in: the width and height of the text "0".
QFont SheetFont();
QSize SheetUnit(const QFont& font);
