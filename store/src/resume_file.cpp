#include "store/resume_file.h"

#include <cstdio>

#include "game/object_stream.h"
#include "game/string_table.h"
#include "game/text_ids.h"
#include "neural/check.h"
#include "neural/regular_file.h"
#include "store/atomic_file.h"
#include "store/damaged_file.h"
#include "store/preferences.h"
#include "store/resume_image.h"
#include "store/score_stream.h"

std::vector<uint8_t> ResumeBytes(const TableParts& table) {
  NxObjectWriter out;
  out.WriteHeader();
  table.State().WriteFlowFields(out);
  NxDeck::Streamer::Write(out, table.Deck);
  table.Computer.Write(out);
  WriteScoreRecord(out, table.Sheet.Record());
  table.State().WriteSheetFields(out);
  return out.Data();
}

bool WriteResume(const std::string& path, const TableParts& table, uint32_t& formatStamp) {
  const std::vector<uint8_t> bytes = ResumeBytes(table);
  // A file the reader would refuse must not replace one it accepts.
  if (!CheckResumeBytes(bytes).empty()) return false;
  SaveResult result = SaveFileAtomically(path, bytes);
  if (result == SaveResult::OPEN_FAILED) return false;
  formatStamp = RESUME_FORMAT_STAMP;
  if (result == SaveResult::CLOSE_FAILED)
    table.View.MessageText(ERROR_CAPTION, ResourceString(STREAM_FAILURE_ON_CLOSING), ICON_NONE);
  return result == SaveResult::SAVED;
}

std::string CheckResumeBytes(const std::vector<uint8_t>& bytes) {
  ResumeImage image;
  return image.Parse(bytes);
}

namespace {

std::string FileMessage(TextId lead, const std::string& path) {
  return ResourceString(lead) + path + ResourceString(BEGINNING_NEW_GAME);
}

void ShowResumeError(Presentation& view, const std::string& text) {
  view.MessageText(RESUME_ERROR_CAPTION, text, ICON_EXCLAMATION);
}

// The file has passed every check: the same bytes now go into the table.
void Restore(const std::vector<uint8_t>& bytes, TableParts& table, bool playStarted) {
  // The game on the table may have ended unannounced; it is replaced now.
  table.Sheet.CountGameEnd();
  table.Flow.AwaitRestoredGame(playStarted);
  NxObjectReader in(bytes);
  const bool restored = ReadResumeLayout(in, table.Flow, table.Deck, table.Computer, table.Sheet.Record());
  NX_CHECK(restored);
  table.Sheet.SetVariation(table.State().Variation);
  table.Sheet.AdoptRestoredRecord();
  if (table.State().Watching) table.Sheet.SetWatching(true);
  table.Flow.ShowScoreSheetOnResume(false);
  if (!table.State().ScoreSheetShown)
    table.View.CloseScoreSheet();
  else if (!playStarted)
    table.Flow.ShowScoreSheetOnResume(true);
  else
    table.View.ShowScoreSheet();
}

}  // namespace

ResumeResult ReadResume(const std::string& path, TableParts& table, bool playStarted) {
  // What is no regular file counts as a file that cannot be opened: a FIFO
  // would keep start-up waiting for a writer.
  FILE* file = NxOpenRegularFile(path, false);
  if (!file) {
    ShowResumeError(table.View, FileMessage(UNABLE_TO_OPEN_FILE, path));
    return {ResumeOutcome::NOT_OPENED};
  }
  auto bytes = ReadOpenFileLimited(file, MAX_RESUME_BYTES);
  const bool closed = std::fclose(file) == 0;
  if (!bytes || !CheckResumeBytes(*bytes).empty()) {
    // Kept for a look, and out of the way of the new game's save.
    const DamagedFile damage = SetDamagedFileAside(path);
    ShowResumeError(table.View, FileMessage(CORRUPTED_FILE, path) +
                                    (damage.KeptAside ? ResourceString(DAMAGED_FILE_KEPT_AS) + damage.Aside + "." : ""));
    return {ResumeOutcome::CORRUPTED};
  }
  // Checked before the table changes, so a failure leaves it as it was.
  if (!closed) {
    ShowResumeError(table.View, ResourceString(STREAM_FAILURE_ON_OPENING));
    return {ResumeOutcome::CORRUPTED};
  }
  Restore(*bytes, table, playStarted);
  return {ResumeOutcome::RESTORED};
}
