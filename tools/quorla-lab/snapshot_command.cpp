// quorla-lab snapshot: plays a headless game for a number of moves and
// writes its resume file as the table would save it at that moment.
#include <cstdio>
#include <memory>
#include <string>

#include "game/game_flow.h"
#include "game/headless_presentation.h"
#include "lab_command.h"
#include "options.h"
#include "neural/exceptions.h"
#include "player/computer_play.h"
#include "player/scripted_player.h"
#include "player/table_objects.h"
#include "scratch/scratch_installation.h"
#include "store/resume_file.h"

namespace {

void PrintHelp() {
  std::printf(
      "usage: quorla-lab snapshot --seed S --moves N --out FILE\n"
      "\n"
      "Plays N moves of a headless game of Standard Gin (traditional deal)\n"
      "between a scripted human and the computer at level 1, then writes the\n"
      "resume file exactly as the game table would save it at that moment.\n"
      "A move is one human action or one step of the computer (a take, a\n"
      "discard, an announcement or a learning step). The computer's networks\n"
      "are freshly initialised from the seed, so a seed always gives the same\n"
      "file.\n"
      "\n"
      "  --seed S    shuffling and network seed, a whole number\n"
      "  --moves N   moves to play, 0 to 100000\n"
      "  --out FILE  the resume file to write\n");
}

// The recording presentation comes first, so that it outlives the table.
struct SnapshotView {
  HeadlessPresentation View;
};

struct SnapshotTable : SnapshotView, TableObjects {
  explicit SnapshotTable(int32_t seed) : TableObjects(View) {
    View.Watch(&State());
    Flow.SetVariation(STANDARD_GIN);
    Seed(seed);
    SeatComputer(0);
    Computer->SelectNet(HIGH_NET);
  }

  ScoreSheet Sheet{Record, STANDARD_GIN};
};

int Snapshot(long seed, long moves, const std::string& out) {
  ScratchInstallation installation("snapshot", "", static_cast<unsigned>(seed));
  if (installation.Failed()) {
    std::fprintf(stderr, "quorla-lab snapshot: cannot create a scratch installation: %s\n",
                 installation.Problem().c_str());
    return 1;
  }
  SnapshotTable table(static_cast<int32_t>(seed % 714025));
  if (table.State().DoNotSave) {
    std::fprintf(stderr, "quorla-lab snapshot: the computer's networks could not be set up\n");
    return 1;
  }
  table.Flow.NewGame(false, false);
  for (long move = 0; move < moves; ++move) StepHeadlessGame(table.Flow, *table.Computer);
  if (table.Record.GameOver) {
    std::fprintf(stderr, "quorla-lab snapshot: the game is over after %ld moves; a finished game is not saved\n",
                 moves);
    return 1;
  }
  TableParts parts{table.Flow, table.Deck, *table.Computer, table.Sheet, table.View};
  uint32_t stamp = 0;
  if (!WriteResume(out, parts, stamp)) {
    std::fprintf(stderr, "quorla-lab snapshot: cannot write %s\n", out.c_str());
    return 1;
  }
  return 0;
}

int Run(const std::vector<std::string_view>& args) {
  long seed = -1, moves = -1;
  std::string out;
  CommandOptions options("snapshot", PrintHelp);
  options.Whole("--seed", 0, 999999999, seed);
  options.Whole("--moves", 0, 100000, moves);
  options.Text("--out", out);
  if (auto status = options.Parse(args)) return *status;
  if (seed < 0 || moves < 0 || out.empty()) return options.Fail("--seed, --moves and --out are all needed");
  try {
    return Snapshot(seed, moves, out);
  } catch (const XCBase& error) {
    std::fprintf(stderr, "quorla-lab snapshot: %s\n", error.what());
    return 1;
  }
}

}  // namespace

const LabCommand& SnapshotCommand() {
  static const LabCommand command{"snapshot", "write the resume file of a headless game after N moves", Run,
                                  PrintHelp};
  return command;
}
