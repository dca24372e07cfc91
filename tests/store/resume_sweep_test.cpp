// Whole games saved at every step: every save must read back, and a game
// resumed from it must go on exactly as the one that was saved.
#include <gtest/gtest.h>

#include "game/game_flow.h"
#include "store/resume_file.h"
#include "store/resume_image.h"
#include "store/score_sheet.h"
#include "player/scripted_player.h"
#include "table_fixture.h"
#include "table_scenario.h"

namespace {

struct SweepTable {
  SweepTable(uint32_t level, uint32_t variation, bool elevenTen, int32_t seed)
      : Table(level, variation, elevenTen, seed), Sheet(Table.Record, variation) {}
  HeadlessTable Table;
  ScoreSheet Sheet;
  TableParts Parts{Table.Flow, Table.Deck, *Table.Computer, Sheet, Table.View};
};

// Plays on like StepHeadlessGame, except that now and then the next hand or
// a new game is pressed while the computer is still learning. The choice
// depends only on the game, so a resumed copy makes the same one.
void SweepStep(SweepTable& t) {
  const GameState& s = TableScenario::State(t.Table);
  ComputerPlay& c = *t.Table.Computer;
  if (s.Play != Learning) {
    StepHeadlessGame(t.Table.Flow, c);
    return;
  }
  const uint32_t hand = t.Table.Record.NumScores + 2 * t.Table.Record.HandsWon[0];
  const bool nextEarly = (hand % 3 == 1 && c.GetOwnPasses() == 2 && c.GetReplayPosition() == c.GetObservationCount()) ||
                         (hand % 3 == 2 && c.GetHumanPasses() == 2);
  const bool newGameEarly = t.Table.Record.GameOver && hand % 2 == 1 && c.GetOwnPasses() == 1;
  if (newGameEarly) {
    t.Table.Flow.NewGame(false, false);
  } else if (nextEarly || !c.LearnStep(Learning, s.ComputerOutcome, s.HumanOutcome)) {
    if (!t.Table.Flow.NextHand()) t.Table.Flow.NewGame(false, false);
  }
}

struct Sweep {
  uint32_t Variation;
  bool ElevenTen;
  uint32_t Level;
};

std::string Describe(const Sweep& sweep) {
  return "variation " + std::to_string(sweep.Variation) + (sweep.ElevenTen ? " eleven/ten" : " traditional") +
         " level " + std::to_string(sweep.Level);
}

}  // namespace

TEST(ResumeSweep, EveryStepOfWholeGamesSavesReadsBackAndContinues) {
  ScratchInstallation install;
  const std::string path = install.PlayerPath(RESUME_FILE);
  const Sweep sweeps[] = {{SIMPLE_GIN, false, 0},   {SIMPLE_GIN, true, 3},   {STANDARD_GIN, false, 3},
                          {STANDARD_GIN, true, 1},  {OKLAHOMA_GIN, false, 2}, {OKLAHOMA_GIN, true, 0}};
  int saves = 0, resumes = 0, earlyDeals = 0;
  for (const Sweep& sweep : sweeps) {
    SCOPED_TRACE(Describe(sweep));
    SweepTable game(sweep.Level, sweep.Variation, sweep.ElevenTen, 1000 + static_cast<int32_t>(sweep.Level));
    game.Table.Flow.NewGame(false, false);
    uint32_t gamesStarted = 0;
    auto advance = [&] {
      const uint32_t rowsBefore = game.Table.Record.NumScores;
      SweepStep(game);
      if (rowsBefore > 0 && game.Table.Record.NumScores == 0) ++gamesStarted;
    };
    for (int step = 0; step < 20000 && gamesStarted < 2; ++step) {
      const std::vector<uint8_t> bytes = ResumeBytes(game.Parts);
      ++saves;
      ASSERT_EQ(CheckResumeBytes(bytes), "") << "step " << step << " play state " << game.Table.State().Play;
      if (game.Table.Computer->GetReplayPosition() > game.Table.Computer->GetObservationCount()) ++earlyDeals;
      if (step % 23 == 0) {
        // Through the real files: the weights first, as the table's full save does.
        ++resumes;
        game.Table.Computer->SaveNets(game.Table.Computer->Level());
        uint32_t stamp = 0;
        ASSERT_TRUE(WriteResume(path, game.Parts, stamp)) << step;
        SweepTable resumed(sweep.Level, sweep.Variation, sweep.ElevenTen, 7);
        ASSERT_EQ(ReadResume(path, resumed.Parts, false).Outcome, ResumeOutcome::RESTORED) << step;
        resumed.Table.Flow.NewGame(false, false);
        ASSERT_EQ(ResumeBytes(resumed.Parts), bytes) << step;
        // The file holds neither the shuffle's generator nor the computer's
        // last kind of draw (which goes into the human's final position):
        // compare up to the next deal or announcement. (Nor does it hold the
        // networks' traces and rate counters, so the weights after a hand's
        // training are not compared.)
        for (int ahead = 0; ahead < 6 && game.Table.State().Play != HandEnded; ++ahead) {
          const bool mayDeal = game.Table.State().Play == Learning;
          advance();
          SweepStep(resumed);
          if (mayDeal && game.Table.State().Play != Learning) break;
          ASSERT_EQ(ResumeBytes(resumed.Parts), ResumeBytes(game.Parts)) << step << "+" << ahead;
        }
        continue;
      }
      advance();
    }
    EXPECT_EQ(gamesStarted, 2u);
  }
  EXPECT_GT(resumes, 50);
  EXPECT_GT(earlyDeals, 0);
  std::printf("%d saves checked, %d resumed, %d with a replay position left from the previous hand\n", saves,
              resumes, earlyDeals);
}
