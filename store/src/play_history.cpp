#include "store/play_history.h"

#include <sqlite3.h>

#include <filesystem>
#include <memory>

namespace {

// The layout: one row per hand, one per finished game, written together
// when a hand ends the game. A game's box bonuses are its hands won times
// the box bonus; the game bonus and a shutout are in its totals.
constexpr const char* LAYOUT_SQL =
    "CREATE TABLE IF NOT EXISTS hands ("
    " id INTEGER PRIMARY KEY,"
    " played TEXT NOT NULL DEFAULT (strftime('%Y-%m-%d %H:%M:%S', 'now', 'localtime')),"
    " level INTEGER NOT NULL, variation INTEGER NOT NULL, target INTEGER NOT NULL,"
    " eleven_ten_deal INTEGER NOT NULL, watched INTEGER NOT NULL, number INTEGER NOT NULL,"
    " knocker INTEGER, winner INTEGER, gin INTEGER NOT NULL, undercut INTEGER NOT NULL,"
    " deadwood_human INTEGER NOT NULL, deadwood_computer INTEGER NOT NULL, points INTEGER NOT NULL,"
    " ends_game INTEGER NOT NULL);"
    "CREATE TABLE IF NOT EXISTS games ("
    " id INTEGER PRIMARY KEY,"
    " last_hand INTEGER NOT NULL REFERENCES hands(id),"
    " level INTEGER NOT NULL, variation INTEGER NOT NULL, target INTEGER NOT NULL,"
    " eleven_ten_deal INTEGER NOT NULL, watched INTEGER NOT NULL,"
    " hands_won_human INTEGER NOT NULL, hands_won_computer INTEGER NOT NULL, shutout INTEGER NOT NULL,"
    " total_human INTEGER NOT NULL, total_computer INTEGER NOT NULL, winner INTEGER);";

struct StatementDeleter {
  void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementDeleter>;

Statement Prepare(sqlite3* db, const char* sql) {
  sqlite3_stmt* statement = nullptr;
  if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) != SQLITE_OK) return nullptr;
  return Statement(statement);
}

void BindSeat(sqlite3_stmt* statement, int at, uint32_t seat) {
  if (seat < PlayedHand::NOBODY)
    sqlite3_bind_int(statement, at, static_cast<int>(seat));
  else
    sqlite3_bind_null(statement, at);
}

// The columns a hand and a game share, first in both: the level and the
// rules played.
void BindRules(sqlite3_stmt* statement, const PlayedHand& hand, uint32_t level) {
  sqlite3_bind_int64(statement, 1, level);
  sqlite3_bind_int64(statement, 2, hand.Variation);
  sqlite3_bind_int64(statement, 3, hand.Target);
  sqlite3_bind_int(statement, 4, hand.ElevenTenDeal);
  sqlite3_bind_int(statement, 5, hand.Watched);
}

// Reads a stored value back into the range the program writes: the file
// may have been changed by anything.
uint32_t Count(sqlite3_stmt* statement, int column, uint32_t most) {
  const sqlite3_int64 value = sqlite3_column_int64(statement, column);
  return value < 0 ? 0 : value > most ? most : static_cast<uint32_t>(value);
}

uint32_t Seat(sqlite3_stmt* statement, int column) {
  if (sqlite3_column_type(statement, column) == SQLITE_NULL) return PlayedHand::NOBODY;
  const sqlite3_int64 value = sqlite3_column_int64(statement, column);
  return value == 0 || value == 1 ? static_cast<uint32_t>(value) : PlayedHand::NOBODY;
}

int32_t Points(sqlite3_stmt* statement, int column) {
  constexpr sqlite3_int64 MOST = 1 << 30;
  const sqlite3_int64 value = sqlite3_column_int64(statement, column);
  return static_cast<int32_t>(value < -MOST ? -MOST : value > MOST ? MOST : value);
}

}  // namespace

PlayHistory::~PlayHistory() { Close(); }

void PlayHistory::Close() {
  if (Db) sqlite3_close(Db);
  Db = nullptr;
  Writable = false;
}

bool PlayHistory::Fail(const std::string& what) {
  LastProblem = what + (Db ? std::string(": ") + sqlite3_errmsg(Db) : std::string());
  return false;
}

bool PlayHistory::Execute(const char* sql) { return sqlite3_exec(Db, sql, nullptr, nullptr, nullptr) == SQLITE_OK; }

bool PlayHistory::Open(const std::string& path) {
  Close();
  LastProblem.clear();
  // A pipe or a device in its place would block the first read or be
  // written over.
  std::error_code error;
  const std::filesystem::file_status found = std::filesystem::status(path, error);
  if (std::filesystem::exists(found) && !std::filesystem::is_regular_file(found)) {
    LastProblem = path + ": not a regular file";
    return false;
  }
  if (sqlite3_open_v2(path.c_str(), &Db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
    Fail(path);
    Close();
    return false;
  }
  // Another copy of the program may be writing its hand; waiting a moment
  // beats losing this one.
  sqlite3_busy_timeout(Db, 500);
  // With the write-ahead log, a committed hand survives the process being
  // killed at any moment; NORMAL syncs less often, which only a power cut
  // could notice.
  if (!Execute("PRAGMA journal_mode=WAL") || !Execute("PRAGMA synchronous=NORMAL")) return Fail(path);
  Statement version = Prepare(Db, "PRAGMA user_version");
  if (!version || sqlite3_step(version.get()) != SQLITE_ROW) return Fail(path);
  const int stored = sqlite3_column_int(version.get(), 0);
  if (stored > LAYOUT_VERSION) {
    LastProblem = path + ": written by a newer version of the program";
    return false;
  }
  if (stored < LAYOUT_VERSION && !CreateLayout()) return Fail(path);
  Writable = true;
  return true;
}

bool PlayHistory::CreateLayout() {
  if (!Execute("BEGIN IMMEDIATE")) return false;
  const std::string setVersion = "PRAGMA user_version=" + std::to_string(LAYOUT_VERSION);
  if (Execute(LAYOUT_SQL) && Execute(setVersion.c_str()) && Execute("COMMIT")) return true;
  Execute("ROLLBACK");
  return false;
}

bool PlayHistory::Record(const PlayedHand& hand, uint32_t level) {
  if (!Db || !Writable) return false;
  if (!Execute("BEGIN IMMEDIATE")) return Fail("adding a hand");
  if (InsertHand(hand, level) && (!hand.EndsGame || InsertGame(hand, level)) && Execute("COMMIT")) return true;
  Fail("adding a hand");
  Execute("ROLLBACK");
  return false;
}

bool PlayHistory::InsertHand(const PlayedHand& hand, uint32_t level) {
  Statement insert = Prepare(Db,
                             "INSERT INTO hands (level, variation, target, eleven_ten_deal, watched, number, knocker,"
                             " winner, gin, undercut, deadwood_human, deadwood_computer, points, ends_game)"
                             " VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14)");
  if (!insert) return false;
  sqlite3_stmt* s = insert.get();
  BindRules(s, hand, level);
  sqlite3_bind_int64(s, 6, hand.Number);
  BindSeat(s, 7, hand.Knocker);
  BindSeat(s, 8, hand.Winner);
  sqlite3_bind_int(s, 9, hand.Gin);
  sqlite3_bind_int(s, 10, hand.Undercut);
  sqlite3_bind_int(s, 11, hand.Deadwood[0]);
  sqlite3_bind_int(s, 12, hand.Deadwood[1]);
  sqlite3_bind_int64(s, 13, hand.Points);
  sqlite3_bind_int(s, 14, hand.EndsGame);
  return sqlite3_step(s) == SQLITE_DONE;
}

bool PlayHistory::InsertGame(const PlayedHand& hand, uint32_t level) {
  Statement insert = Prepare(Db,
                             "INSERT INTO games (last_hand, level, variation, target, eleven_ten_deal, watched,"
                             " hands_won_human, hands_won_computer, shutout, total_human, total_computer, winner)"
                             " VALUES (last_insert_rowid(), ?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11)");
  if (!insert) return false;
  sqlite3_stmt* s = insert.get();
  BindRules(s, hand, level);
  sqlite3_bind_int64(s, 6, hand.HandsWon[0]);
  sqlite3_bind_int64(s, 7, hand.HandsWon[1]);
  sqlite3_bind_int(s, 8, hand.Shutout);
  sqlite3_bind_int(s, 9, hand.Totals.Total[0]);
  sqlite3_bind_int(s, 10, hand.Totals.Total[1]);
  BindSeat(s, 11, hand.Totals.Result);
  return sqlite3_step(s) == SQLITE_DONE;
}

std::vector<RecordedHand> PlayHistory::Hands() {
  std::vector<RecordedHand> hands;
  if (!Db) return hands;
  Statement select = Prepare(Db,
                             "SELECT played, level, variation, target, eleven_ten_deal, watched, number, knocker,"
                             " winner, gin, undercut, deadwood_human, deadwood_computer, points, ends_game"
                             " FROM hands ORDER BY id");
  if (!select) {
    Fail("reading the hands");
    return hands;
  }
  sqlite3_stmt* s = select.get();
  int step;
  while ((step = sqlite3_step(s)) == SQLITE_ROW) {
    RecordedHand row;
    const unsigned char* played = sqlite3_column_text(s, 0);
    row.Played = played ? reinterpret_cast<const char*>(played) : "";
    row.Level = Count(s, 1, 4);
    PlayedHand& hand = row.Hand;
    hand.Variation = Count(s, 2, 2);
    hand.Target = Count(s, 3, 1000000);
    hand.ElevenTenDeal = Count(s, 4, 1) != 0;
    hand.Watched = Count(s, 5, 1) != 0;
    hand.Number = Count(s, 6, 1000000);
    hand.Knocker = Seat(s, 7);
    hand.Winner = Seat(s, 8);
    hand.Gin = Count(s, 9, 1) != 0;
    hand.Undercut = Count(s, 10, 1) != 0;
    hand.Deadwood[0] = Points(s, 11);
    hand.Deadwood[1] = Points(s, 12);
    hand.Points = Count(s, 13, 1000000);
    hand.EndsGame = Count(s, 14, 1) != 0;
    hands.push_back(row);
  }
  if (step != SQLITE_DONE) Fail("reading the hands");
  return hands;
}

std::vector<RecordedGame> PlayHistory::Games() {
  std::vector<RecordedGame> games;
  if (!Db) return games;
  Statement select = Prepare(Db, "SELECT level, variation, watched, winner FROM games ORDER BY id");
  if (!select) {
    Fail("reading the games");
    return games;
  }
  sqlite3_stmt* s = select.get();
  int step;
  while ((step = sqlite3_step(s)) == SQLITE_ROW)
    games.push_back({Count(s, 0, 4), Count(s, 1, 2), Count(s, 2, 1) != 0, Seat(s, 3)});
  if (step != SQLITE_DONE) Fail("reading the games");
  return games;
}
