#include <gtest/gtest.h>

#include "game/headless_presentation.h"
#include "game/text_ids.h"

// Long matches drop the record now and then; a command scripted for a wait
// by its number must still arrive at that wait.
TEST(HeadlessPresentation, ForgettingTheRecordKeepsCountingWaits) {
  HeadlessPresentation view;
  int arrivals = 0;
  view.DuringWaitNumber = 4;
  view.DuringWait = [&] { ++arrivals; };
  view.SetStatus(PLEASE_KNOCK_OR_DISCARD);
  view.Message(RULE_CAPTION, ILLEGAL_DISCARD, ICON_EXCLAMATION);
  for (int i = 0; i < 3; ++i) view.Wait(1000);
  view.Forget();
  EXPECT_TRUE(view.Statuses.empty());
  EXPECT_TRUE(view.Messages.empty());
  EXPECT_TRUE(view.WaitTimes.empty());
  EXPECT_EQ(arrivals, 0);
  view.Wait(1000);
  EXPECT_EQ(arrivals, 1);
  view.Wait(1000);
  EXPECT_EQ(arrivals, 1);
  EXPECT_EQ(view.WaitTimes.size(), 2u);
}
