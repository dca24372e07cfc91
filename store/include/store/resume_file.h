#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "store/table_parts.h"

constexpr const char* RESUME_FILE = "RESUME.QLF";
// Added to the resume file's name when a save could not replace it: the
// older game it holds is kept, and offered back at the next start.
constexpr const char* SET_ASIDE_SUFFIX = ".stale";
// Larger than any real resume file by far; a larger file is damaged.
constexpr size_t MAX_RESUME_BYTES = 256 * 1024;

// The unfinished game as the bytes of a resume file.
std::vector<uint8_t> ResumeBytes(const TableParts& table);

// Saves the game next to the previous file and renames it over it, so a
// failed save keeps the previous saved game. On success the preferences'
// resume-format stamp becomes current (`formatStamp`). A failure to finish
// the file is reported with "Stream failure on closing". A game that
// would not read back (the reader's own checks) is not written at all and
// counts as a failed write.
bool WriteResume(const std::string& path, const TableParts& table, uint32_t& formatStamp);

// What ReadResume did.
enum class ResumeOutcome {
  RESTORED,      // the table now holds the saved game
  NOT_OPENED,    // no file: the table keeps what it has (reported as success)
  CORRUPTED,     // the file failed a check: the table is untouched
};

struct ResumeResult {
  ResumeOutcome Outcome;
  // The success flag the frame acts on.
  bool Succeeded() const { return Outcome != ResumeOutcome::CORRUPTED; }
};

// Checks the whole file before anything of the table changes. When play
// has not started yet the restored game waits for the flow's new game;
// otherwise a computer move in progress is abandoned. Problems are shown
// under "Error Resuming Quorla Game"; a corrupted file is kept aside
// (DamagedFile) before the new game's save could replace it.
ResumeResult ReadResume(const std::string& path, TableParts& table, bool playStarted);

// Checks a resume file's bytes without a table: empty when they would be
// restored, otherwise what is wrong with them.
std::string CheckResumeBytes(const std::vector<uint8_t>& bytes);
