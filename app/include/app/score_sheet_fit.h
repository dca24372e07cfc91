#pragma once

#include <string>
#include <vector>

#include "game/rect.h"

// The size of the score sheet window, worked out from what the window
// measured of its fonts and controls, so that the title, the column
// labels, every column of the widest game and the last of the visible
// lines show whole.

// What the window measured, in its pixels.
struct SheetWindowParts {
  TSize Unit{0, 0};            // width and height of "0" in the sheet's font
  int32_t WidestText = 0;      // the widest of WidestSheetTexts() in the sheet's font
  int32_t LabelsRight = 0;     // where the column labels end, from the sheet's left edge
  int32_t TitleText = 0;       // the window title in the title bar's font
  int32_t TitleBarHeight = 0;  // the title bar's buttons are about this wide each
  int32_t ScrollBarWidth = 0;
  int32_t FrameWidth = 0;      // the sheet's sunken frame, on each side
  TSize Margins{0, 0};         // the window's margins around the sheet, both sides together
};

struct SheetWindowFit {
  // Ink left of the human's column would be cut: the sheet's drawing moves
  // this many pixels right.
  int32_t LeftInset = 0;
  // The framed sheet with its scroll bar.
  TSize Sheet{0, 0};
  // The window's width inside its frame; the sheet grows to it.
  int32_t WindowWidth = 0;
};

SheetWindowFit FitScoreSheetWindow(const SheetWindowParts& parts);

// The widest texts a game can put on a line, one for each kind: running
// totals and final totals up to four digits, the shutout and subtraction
// lines, the boxes line.
std::vector<std::string> WidestSheetTexts();
