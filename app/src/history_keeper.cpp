#include "app/history_keeper.h"

#include "game/string_table.h"
#include "game/text_ids.h"

HistoryKeeper::HistoryKeeper(GameFlow& flow, UserMessages& messages, const Preferences& prefs)
    : Flow(flow), Messages(messages), Prefs(prefs) {
  Flow.HandPlayed = [this](const PlayedHand& hand) { Keep(hand); };
}

HistoryKeeper::~HistoryKeeper() { Flow.HandPlayed = nullptr; }

void HistoryKeeper::OpenIn(const std::string& configDirectory) {
  Told = false;
  TheHistory.Open(configDirectory + PlayHistory::FILE_NAME);
}

uint32_t HistoryKeeper::LevelOf(const Preferences& prefs) {
  return prefs.Master && prefs.DifficultyLevel == 3 ? 4 : prefs.DifficultyLevel;
}

void HistoryKeeper::Keep(const PlayedHand& hand) {
  if (Told || TheHistory.Record(hand, LevelOf(Prefs))) return;
  Told = true;
  const std::string problem = TheHistory.Problem();
  TheHistory.Close();
  Messages.MessageText(HISTORY_CAPTION,
                       ResourceString(HISTORY_NOT_WRITTEN) + problem + ResourceString(HISTORY_PLAY_GOES_ON),
                       ICON_EXCLAMATION);
}
