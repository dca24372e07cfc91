#include <gtest/gtest.h>

// The table's view in a window of any size and the window's remembered
// place: pure geometry, checked over many sizes rather than a few examples.
#include <random>

#include "app/box_place.h"
#include "app/table_fit.h"
#include "app/window_placement.h"
#include "game/table_geometry.h"
#include "store/settings_store.h"
#include "test_files.h"

namespace {

bool Inside(const TRect& inner, const TRect& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

}  // namespace

TEST(TableFit, EveryWindowSizeShowsTheWholeTableCentredAndMapsPointsBack) {
  std::mt19937 random(28);
  for (int trial = 0; trial < 400; ++trial) {
    const TSize area{std::uniform_int_distribution<int32_t>(288, 5120)(random),
                     std::uniform_int_distribution<int32_t>(192, 2880)(random)};
    const double s = FitScale(area);
    const TRect table = TablePlacement(area, s);
    ASSERT_TRUE(Inside(table, {0, 0, area.cx, area.cy})) << area.cx << "x" << area.cy;
    // One direction is used up to the pixel; the other has even margins.
    EXPECT_TRUE(area.cx - table.Width() <= 1 || area.cy - table.Height() <= 1) << area.cx << "x" << area.cy;
    EXPECT_LE(std::abs(table.left - (area.cx - table.right)), 1);
    EXPECT_LE(std::abs(table.top - (area.cy - table.bottom)), 1);
    // Every card, wherever it lies, stays within the pixels its table
    // rectangle covers, and a press on its first device pixel finds its
    // table corner (give or take the pixel a fractional factor shares).
    const TSize card = DeviceSize(CARD_SIZE, s);
    for (int i = 0; i < 20; ++i) {
      const TPoint corner{std::uniform_int_distribution<int32_t>(0, 576 - 69)(random),
                          std::uniform_int_distribution<int32_t>(0, 384 - 96)(random)};
      const TRect cover = DeviceCover(TRect::At(corner, CARD_SIZE), s);
      const TRect drawn = TRect::At({ToDevice(corner.x, s), ToDevice(corner.y, s)}, card);
      ASSERT_TRUE(Inside(drawn, cover)) << s << " at " << corner.x << "," << corner.y;
      const TPoint back = ToTablePoint({table.left + ToDevice(corner.x, s), table.top + ToDevice(corner.y, s)}, table, s);
      EXPECT_LE(std::abs(back.x - corner.x) + std::abs(back.y - corner.y), 2) << s;
      if (s == static_cast<int32_t>(s)) {
        EXPECT_EQ(back, corner) << s;
      }
    }
  }
  // Whole factors keep exact multiples, and a tiny window is not shrunk past
  // readability.
  EXPECT_EQ(DeviceCover({100, 268, 169, 364}, 2.0), (TRect{200, 536, 338, 728}));
  EXPECT_DOUBLE_EQ(FitScale({1152, 900}), 2.0);
  EXPECT_DOUBLE_EQ(FitScale({10, 10}), MIN_TABLE_SCALE);
}

TEST(TableFit, FirstStartFitsMostOfTheScreenButNeverShrinksTheTable) {
  const TSize chrome{36, 60};
  for (TSize screen : {TSize{1366, 768}, TSize{2560, 1440}, TSize{1280, 1024}, TSize{1920, 1080}, TSize{800, 600}}) {
    const double s = FirstStartScale(screen, chrome);
    const TRect table = DeviceCover(TABLE_AREA, s);
    EXPECT_LE(table.Width() + chrome.cx, screen.cx * FIRST_START_SHARE + 1) << screen.cx;
    EXPECT_LE(table.Height() + chrome.cy, screen.cy * FIRST_START_SHARE + 1) << screen.cx;
    EXPECT_GT(s, 1.0) << screen.cx;
  }
  EXPECT_DOUBLE_EQ(FirstStartScale({640, 480}, chrome), 1.0);
}

TEST(WindowPlacement, RememberedPlacesComeBackOnAVisibleScreen) {
  const std::vector<TRect> two{{0, 0, 1920, 1040}, {1920, 0, 4480, 1440}};
  auto place = [&](const TRect& area, const std::vector<TRect>& screens, double then = 0, double now = 1,
                   int32_t title = 0) { return PlaceOnScreens({area, WindowMode::NORMAL, then}, screens, now, title); };
  // Wholly on a screen: unchanged.
  EXPECT_EQ(place({2000, 100, 3000, 900}, two, 0, 1, 30), (TRect{2000, 100, 3000, 900}));
  // Mostly on the second screen: moved inside it.
  EXPECT_EQ(place({4000, 1000, 5000, 1600}, two), (TRect{3480, 840, 4480, 1440}));
  // The screen it was on is gone, and the primary is too small for it.
  EXPECT_FALSE(place({2000, -50, 4600, 1400}, {two[0]}));
  // Remembered at twice the scale: as large on the screen, its title bar on it.
  EXPECT_EQ(place({100, -20, 600, 400}, two, 2, 1, 30), (TRect{200, 30, 1200, 870}));
  EXPECT_EQ(place({200, 30, 1200, 800}, two, 1, 2), (TRect{100, 15, 600, 400}));
  // A whole screen at 2.5 is more than a screen at 1, with or without its title bar.
  EXPECT_FALSE(place({0, 0, 768, 416}, two, 2.5, 1, 30));
  EXPECT_FALSE(place({0, 0, 768, 400}, two, 2.5, 1, 50));
  std::mt19937 random(5);
  std::uniform_int_distribution<int32_t> coordinate(-3000, 6000), extent(1, 4000);
  for (int trial = 0; trial < 300; ++trial) {
    const int32_t x = coordinate(random), y = coordinate(random);
    const auto placed = place({x, y, x + extent(random), y + extent(random)}, two, 1.5, 1, 24);
    if (!placed) continue;
    EXPECT_TRUE(Inside(*placed, two[0]) || Inside(*placed, two[1]));
    EXPECT_GE(placed->top, 24);
  }
  EXPECT_EQ(CentredOn({100, 0, 1100, 800}, {600, 400}), (TRect{300, 200, 900, 600}));
}

TEST(WindowPlacement, SettingsKeepPlaceAndStateAndRefuseDamagedValues) {
  ScratchDirectory dir;
  const std::string path = dir.Path("QUORLA.INI");
  {
    SettingsStore store("Quorla", path, true);
    EXPECT_FALSE(ReadWindowPlacement(store));
    WriteWindowPlacement(store, {{-1280, 40, -80, 860}, WindowMode::FULL_SCREEN, 1.25});
  }
  SettingsStore store("Quorla", path, true);
  const auto read = ReadWindowPlacement(store);
  ASSERT_TRUE(read);
  EXPECT_EQ(read->Normal, (TRect{-1280, 40, -80, 860}));
  EXPECT_EQ(read->Mode, WindowMode::FULL_SCREEN);
  EXPECT_DOUBLE_EQ(read->Ratio, 1.25);
  // Without a scale it was remembered at, or with an absurd one, none is assumed.
  for (const char* bad : {"", "0", "-1000", "1.5", "100001"}) {
    store.WriteString("Quorla", "WindowRatio", bad);
    EXPECT_EQ(ReadWindowPlacement(store)->Ratio, 0.0) << bad;
  }
  for (const char* bad : {"", "12x", "0", "-5", "99999999999"}) {
    store.WriteString("Quorla", "WindowWidth", bad);
    EXPECT_FALSE(ReadWindowPlacement(store)) << bad;
  }
  store.WriteString("Quorla", "WindowWidth", "800");
  store.WriteString("Quorla", "WindowState", "7");
  EXPECT_EQ(ReadWindowPlacement(store)->Mode, WindowMode::NORMAL);
}

// Where the windowing system keeps a window's place to itself (Wayland) the
// size and state are remembered alone: a place an X11 run wrote stays in
// the file instead of turning into 0,0, and a size without a place starts
// centred on the primary screen.
TEST(WindowPlacement, WithoutAPlaceTheSizeAndStateAreKeptAndTheFilesPlaceLeftAlone) {
  ScratchDirectory dir;
  SettingsStore store("Quorla", dir.Path("QUORLA.INI"), true);
  const ScreenAreas screen{{0, 0, 1280, 900}, {0, 0, 1280, 900}};
  WindowModes modes(false);
  modes.PlacedAt({0, 0, 1000, 700});
  EXPECT_FALSE(modes.AreaToTake(WindowMode::FULL_SCREEN, {0, 0, 1000, 700}, {0, 0, 1000, 700}, screen));
  const WindowPlacement unplaced = modes.ToRemember(WindowMode::MAXIMISED, screen.Whole);
  EXPECT_FALSE(unplaced.PlaceKnown);
  WriteWindowPlacement(store, unplaced);
  auto read = ReadWindowPlacement(store);
  ASSERT_TRUE(read);
  EXPECT_FALSE(read->PlaceKnown);
  EXPECT_EQ(read->Normal, (TRect{0, 0, 1000, 700}));
  EXPECT_EQ(read->Mode, WindowMode::MAXIMISED);

  WriteWindowPlacement(store, {{1500, 30, 2500, 730}, WindowMode::NORMAL});
  WriteWindowPlacement(store, unplaced);
  read = ReadWindowPlacement(store);
  ASSERT_TRUE(read);
  EXPECT_TRUE(read->PlaceKnown);
  EXPECT_EQ(read->Normal, (TRect{1500, 30, 2500, 730}));
  EXPECT_EQ(read->Mode, WindowMode::MAXIMISED);
  store.WriteString("Quorla", "WindowTop", "");
  EXPECT_FALSE(ReadWindowPlacement(store)) << "half a place is a damaged one";

  const std::vector<TRect> two{{0, 0, 1920, 1040}, {1920, 0, 4480, 1440}};
  WindowPlacement sizeOnly{{0, 0, 1000, 700}, WindowMode::NORMAL};
  sizeOnly.PlaceKnown = false;
  EXPECT_EQ(PlaceOnScreens(sizeOnly, two, 1, 30), (TRect{460, 170, 1460, 870}));
  sizeOnly.Ratio = 2;
  EXPECT_FALSE(PlaceOnScreens(sizeOnly, two, 1, 30)) << "twice as large fits only a screen that is not the primary";
}

// A session of state changes as the frame reports them, with a window
// manager that carries them out and without one: the window is told the
// area to take exactly when nobody gave it the state's, and the normal area
// outlives every state.
TEST(WindowPlacement, EachStateGetsItsAreaAndTheNormalAreaIsKept) {
  const ScreenAreas screen{{0, 0, 1920, 1080}, {0, 0, 1920, 1040}};
  const TRect normal{100, 100, 900, 700}, moved{300, 200, 1100, 800};
  const TRect framedMaximised{0, 30, 1920, 1040};  // a window manager's title bar above
  EXPECT_EQ(AreaOfMode(WindowMode::FULL_SCREEN, normal, screen), screen.Whole);
  EXPECT_EQ(AreaOfMode(WindowMode::MAXIMISED, normal, screen), screen.Available);
  EXPECT_EQ(AreaOfMode(WindowMode::NORMAL, normal, screen), normal);

  WindowModes modes;
  // Before anything is known the window is remembered as it is.
  EXPECT_EQ(modes.ToRemember(WindowMode::MAXIMISED, screen.Available).Normal, screen.Available);
  EXPECT_FALSE(modes.AreaToTake(WindowMode::NORMAL, screen.Whole, screen.Whole, screen));
  modes.PlacedAt(normal);
  const std::optional<TRect> none;
  struct Step {
    const char* What;
    WindowMode Mode;
    TRect Shown, Outer;
    std::optional<TRect> Take;
    TRect Remembered;
  } steps[] = {
      {"full screen, nobody sized it", WindowMode::FULL_SCREEN, normal, normal, screen.Whole, normal},
      {"full screen taken", WindowMode::FULL_SCREEN, screen.Whole, screen.Whole, none, normal},
      {"back, still covering the screen", WindowMode::NORMAL, screen.Whole, screen.Whole, normal, normal},
      {"moved by the person", WindowMode::NORMAL, moved, moved, none, moved},
      {"maximised, nobody sized it", WindowMode::MAXIMISED, moved, moved, screen.Available, moved},
      {"maximised by a window manager", WindowMode::MAXIMISED, framedMaximised, screen.Available, none, moved},
      {"maximised without one", WindowMode::MAXIMISED, screen.Available, screen.Available, none, moved},
      {"full screen from maximised", WindowMode::FULL_SCREEN, screen.Available, screen.Available, screen.Whole, moved},
      {"back to normal by a window manager", WindowMode::NORMAL, moved, moved, none, moved},
      {"back to normal without one", WindowMode::NORMAL, screen.Available, screen.Available, moved, moved},
  };
  for (const Step& step : steps) {
    modes.Moved(step.Mode, step.Shown, screen);
    EXPECT_EQ(modes.AreaToTake(step.Mode, step.Shown, step.Outer, screen), step.Take) << step.What;
    const WindowPlacement remembered = modes.ToRemember(step.Mode, step.Take ? *step.Take : step.Shown);
    EXPECT_EQ(remembered.Normal, step.Remembered) << step.What;
    EXPECT_EQ(remembered.Mode, step.Mode) << step.What;
  }
}

// A box goes where it covers no card: on random tables it never overlaps
// what it must keep clear and stays on the screen; with room in the
// window it stays inside, nearest the middle; with none anywhere it is
// left where the toolkit puts it.
TEST(BoxPlace, ABoxCoversNoCardAndStaysOnTheScreen) {
  const TRect screen{0, 0, 1920, 1080};
  std::mt19937 random(99);
  for (int round = 0; round < 300; ++round) {
    const TRect window = TRect::At({int32_t(random() % 800), int32_t(random() % 500)},
                                   {int32_t(400 + random() % 700), int32_t(300 + random() % 500)});
    std::vector<TRect> cards;
    for (int i = 0; i < 25; ++i)
      cards.push_back(TRect::At({window.left + int32_t(random() % window.Width()),
                                 window.top + int32_t(random() % window.Height())},
                                {69, 96}));
    const TSize box{int32_t(150 + random() % 250), int32_t(80 + random() % 100)};
    const auto place = PlaceClearOf(cards, box, window, screen);
    if (!place) continue;
    const TRect shown = TRect::At(*place, box);
    EXPECT_TRUE(Inside(shown, screen)) << round;
    for (const TRect& card : cards) EXPECT_FALSE(card.Intersects(shown)) << round;
  }
  // The two hands of a table filling the window: the gap between them.
  const TRect window{0, 0, 1000, 700};
  const std::vector<TRect> hands = {{100, 20, 900, 250}, {100, 450, 900, 680}};
  const auto between = PlaceClearOf(hands, {300, 150}, window, screen);
  ASSERT_TRUE(between);
  EXPECT_TRUE(Inside(TRect::At(*between, {300, 150}), {0, 250, 1000, 450}));
  // No room inside: beside the window, on its right.
  const auto beside = PlaceClearOf({window}, {300, 150}, window, screen);
  ASSERT_TRUE(beside);
  EXPECT_GE(beside->x, window.right);
  EXPECT_FALSE(PlaceClearOf({screen}, {300, 150}, window, screen));
}
