#include "store/score_sheet_summary.h"

#include "game/string_table.h"
#include "game/text_ids.h"
#include "game/string_table.h"

ScoreSheetSummary SummaryOf(const ScoreRecord& record) {
  // The last row carries both running totals; a game without a won hand
  // stands at nought to nought.
  const ScoreRow last = record.NumScores > 0 ? record.Row(record.NumScores - 1) : ScoreRow{};
  ScoreSheetSummary summary;
  summary.Target = FillIn(ResourceString(SHEET_TARGET), std::to_string(record.Target));
  summary.Totals = FillIn(ResourceString(SHEET_TOTALS), std::to_string(last.Human), std::to_string(last.Computer));
  if (last.Human == last.Computer)
    summary.Lead = ResourceString(SHEET_LEVEL);
  else if (last.Human > last.Computer)
    summary.Lead = FillIn(ResourceString(SHEET_HUMAN_LEADS), std::to_string(last.Human - last.Computer));
  else
    summary.Lead = FillIn(ResourceString(SHEET_COMPUTER_LEADS), std::to_string(last.Computer - last.Human));
  return summary;
}
