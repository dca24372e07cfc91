#include "app/score_sheet_fit.h"

#include <algorithm>

#include "store/score_sheet.h"
#include "store/score_sheet_layout.h"

namespace {

// Room between the last column and the scroll bar, in units.
constexpr int32_t RIGHT_ROOM = 1;
// The winner's margin sits a pixel low and the double rule two pixels
// below the line's top: the last visible line needs that much more.
constexpr int32_t LAST_LINE_SLACK = 2;
// The title bar holds an icon and a close button besides the title, each
// about as wide as the bar is high, and a little air.
constexpr int32_t TITLE_BAR_BUTTONS = 3;

}  // namespace

SheetWindowFit FitScoreSheetWindow(const SheetWindowParts& parts) {
  using namespace sheet_geometry;
  const int32_t w = parts.Unit.cx;
  SheetWindowFit fit;
  fit.LeftInset = std::max(0, parts.WidestText - COLUMN_END[HUMAN_COLUMN] * w);
  const int32_t drawn = fit.LeftInset + std::max({RULE_TO, COLUMN_END[COMPUTER_COLUMN], UNDERLINE_TO[COMPUTER_COLUMN]}) * w;
  const int32_t frame = 2 * parts.FrameWidth;
  fit.Sheet.cx = drawn + RIGHT_ROOM * w + parts.ScrollBarWidth + frame;
  fit.Sheet.cy = static_cast<int32_t>(ScoreSheet::VISIBLE_LINES) * parts.Unit.cy + LAST_LINE_SLACK + frame;
  const int32_t forTitle = parts.TitleText + TITLE_BAR_BUTTONS * parts.TitleBarHeight;
  const int32_t forLabels = fit.LeftInset + parts.LabelsRight + parts.ScrollBarWidth + frame;
  fit.WindowWidth = std::max({fit.Sheet.cx, forLabels, forTitle - parts.Margins.cx}) + parts.Margins.cx;
  fit.Sheet.cx = fit.WindowWidth - parts.Margins.cx;
  return fit;
}

std::vector<std::string> WidestSheetTexts() {
  // The formats of the sheet's lines at their widest: "%4d" and "+%3d"
  // and "-%3d" reach four digits in a long game, boxes two.
  return {"8888", "+8888", "-8888", "+88 (25)", "+100"};
}
