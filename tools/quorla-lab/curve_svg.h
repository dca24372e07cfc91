#pragma once

#include <string>

#include "win_curve.h"

// A picture of a win curve as a standalone SVG document: the 95% interval
// of each slice as a band over the games it covers, the win rate at the
// middle of each slice, the 50% line, and axes with their labels. `title`
// heads the picture; `seat` names whose wins are counted.
std::string WinCurveSvg(const WinCurve& curve, const std::string& title, const std::string& seat);
