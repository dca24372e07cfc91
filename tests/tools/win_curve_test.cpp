#include <gtest/gtest.h>

#include <string>

#include "curve_svg.h"
#include "win_curve.h"

namespace {

size_t Count(const std::string& text, const std::string& part) {
  size_t n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) ++n;
  return n;
}

// Slices follow the games in order, a short last slice included, and each
// carries the interval of its own games only.
TEST(WinCurve, SlicesAMatchAndBoundsEachRate) {
  WinCurve curve(10);
  int completed = 0;
  for (int game = 1; game <= 23; ++game)
    if (curve.Add(game <= 10 || game % 2 == 0)) {
      ++completed;
      EXPECT_EQ(game % 10, 0) << "a slice closed after game " << game;
    }
  EXPECT_EQ(completed, 2);
  EXPECT_TRUE(curve.Finish());
  EXPECT_FALSE(curve.Finish());
  const auto& slices = curve.Slices();
  ASSERT_EQ(slices.size(), 3u);
  const uint64_t firsts[] = {1, 11, 21}, games[] = {10, 10, 3}, won[] = {10, 5, 1};
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(slices[i].FirstGame, firsts[i]);
    EXPECT_EQ(slices[i].Share.Games, games[i]);
    EXPECT_EQ(slices[i].Share.Won, won[i]);
    EXPECT_LE(slices[i].Share.Low, slices[i].Share.Rate);
    EXPECT_GE(slices[i].Share.High, slices[i].Share.Rate);
  }
  // Wilson's interval: known values, and no bound outside 0..1 at the extremes.
  WinShare share = ShareOfGamesWon(54, 100);
  EXPECT_NEAR(share.Low, 0.4426, 1e-4);
  EXPECT_NEAR(share.High, 0.6344, 1e-4);
  EXPECT_EQ(slices[0].Share.High, 1.0);
  EXPECT_NEAR(slices[0].Share.Low, 0.7225, 1e-4);
  EXPECT_EQ(ShareOfGamesWon(0, 10).Low, 0.0);
}

// One band rectangle and one point per slice, the 50% line, and the seat
// names written as text, not markup.
TEST(WinCurve, DrawsBandRatesAndEvenLine) {
  WinCurve curve(100);
  for (int game = 0; game < 250; ++game) curve.Add(game % 3 != 0);
  curve.Finish();
  std::string svg = WinCurveSvg(curve, "net:3 against <simple> & co", "net:3");
  EXPECT_EQ(svg.rfind("<?xml", 0), 0u);
  EXPECT_NE(svg.find("</svg>\n"), std::string::npos);
  EXPECT_EQ(Count(svg, " Z "), 3u);
  EXPECT_EQ(Count(svg, "<circle"), 3u);
  EXPECT_EQ(Count(svg, "class=\"even\""), 1u);
  EXPECT_NE(svg.find("&lt;simple&gt; &amp; co"), std::string::npos);
  EXPECT_NE(svg.find(">50%</text>"), std::string::npos);
  EXPECT_NE(svg.find(">250</text>"), std::string::npos) << "the x axis ends at the last game";
}

}  // namespace
