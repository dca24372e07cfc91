#include "app/kept_game.h"

#include <sys/stat.h>

#include <cstdio>

#include "game/string_table.h"
#include "game/text_ids.h"
#include "store/atomic_file.h"
#include "store/preferences.h"
#include "store/resume_file.h"
#include "store/setting_keys.h"

namespace {

bool IsRegularFile(const std::string& path) {
  struct stat status;
  return lstat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

bool ReadsBack(const std::string& path) {
  const auto bytes = ReadFileLimited(path, MAX_RESUME_BYTES);
  return bytes && CheckResumeBytes(*bytes).empty();
}

}  // namespace

std::string RestoreSetAsideGame(GameSettings& settings, const std::string& resumePath) {
  const std::string aside = resumePath + SET_ASIDE_SUFFIX;
  // A saved game that can be resumed is newer than anything set aside.
  if (!IsRegularFile(aside) || (IsResumable(*settings.Store) && IsRegularFile(resumePath))) return "";
  if (!ReadsBack(aside) || std::rename(aside.c_str(), resumePath.c_str()) != 0) return "";
  SettingsStore::Batch oneWrite(*settings.Store);
  WriteSetting(*settings.Store, keys::CanResume, 1);
  WriteSetting(*settings.Store, keys::OKResumeVersn, RESUME_FORMAT_STAMP);
  settings.Prefs.ResumeFormatStamp = RESUME_FORMAT_STAMP;
  return ResourceString(SET_ASIDE_GAME_LEAD) + aside + ResourceString(SET_ASIDE_GAME_KEPT_AS);
}

KeptGameOffer OfferKeptGame(GameSettings& settings, TableParts& table, const std::string& resumePath,
                            bool playStarted) {
  KeptGameOffer offer;
  const std::string note = RestoreSetAsideGame(settings, resumePath);
  if (!IsResumable(*settings.Store)) {
    // Put back, but the settings file could not record it: still said.
    if (!note.empty()) table.View.MessageText(KEPT_GAME_CAPTION, note, ICON_EXCLAMATION);
    return offer;
  }
  // A saved game whose file has gone is not asked about: the attempt
  // says what became of it.
  if (settings.Prefs.AlwaysResume != 0 || !IsRegularFile(resumePath)) {
    if (!note.empty())
      table.View.MessageText(KEPT_GAME_CAPTION, note + ResourceString(SET_ASIDE_GAME_RESTORED), ICON_EXCLAMATION);
  } else if (!table.View.ConfirmText(KEPT_GAME_CAPTION,
                                     (note.empty() ? "" : note + "\n\n") + ResourceString(KEPT_GAME_QUESTION))) {
    offer.Declined = true;
    return offer;
  }
  offer.Attempted = true;
  offer.Resumed = ReadResume(resumePath, table, playStarted).Outcome == ResumeOutcome::RESTORED;
  return offer;
}
