#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <random>

#include "game/card.h"
#include "game/deck.h"
#include "game/object_stream.h"
#include "game/table_geometry.h"
#include "table/device_pixels.h"
#include "table/table_picture.h"

namespace {
constexpr uint32_t TABLE_COLOUR = 0x00204020;
constexpr uint32_t WHITE = 0xFFFFFFFF;

// Faces are a solid colour per card id, backs another; every picture is
// full-bleed (its corners are not black), so the deck must clear them.
class SyntheticImages : public NxImageProvider {
 public:
  NxBitmap LoadImage(uint32_t id) override {
    ++Loads[id];
    if (id == CARD_MASK_ID) return Mask();
    if (id >= CARD_FACE_BASE_ID && id < CARD_FACE_BASE_ID + NUM_CARDS) return NxBitmap(69, 96, 0x00100000 + id);
    if (id >= FIRST_CARD_BACK_ID && id <= LAST_CARD_BACK_ID) return NxBitmap(69, 96, 0x00AA0000 + id);
    return {};
  }
  std::map<uint32_t, int> Loads;

 private:
  static NxBitmap Mask() {
    NxBitmap mask(69, 96, 0);
    const int32_t w = 68, h = 95;
    for (auto [x, y] : {std::pair{0, 0}, {w, 0}, {0, h}, {w, h}}) {
      const int32_t sx = x ? -1 : 1, sy = y ? -1 : 1;
      mask.SetPixel(x, y, WHITE);
      mask.SetPixel(x + sx, y, WHITE);
      mask.SetPixel(x, y + sy, WHITE);
    }
    return mask;
  }
};

struct RecordingPresenter : NxTablePresenter {
  void Present(const NxBitmap&, const TRect& area) override { Areas.push_back(area); }
  std::vector<TRect> Areas;
};

// Shuffled and dealt like a traditional hand (10, 10, 31, 1).
void DealTable(NxDeck& deck) {
  deck.Shuffle();
  for (uint32_t pile = 0; pile < 4; ++pile) {
    const PileLayout& at = TABLE_PILES[pile];
    deck.Deal(pile, pile == STOCK_PILE ? 31 : pile == DISCARD_PILE ? 1 : 10, at.Position, at.Offset, at.BaseLayer,
              pile != COMPUTER_PILE && pile != STOCK_PILE);
  }
}

struct DrawnDeck {
  SyntheticImages Images;
  RecordingPresenter Presenter;
  NxDeck Deck{TABLE_PILE_COUNT, FIRST_CARD_BACK_ID, TABLE_AREA, CARD_SIZE};
  NxTablePicture Picture{Deck, &Images};

  DrawnDeck() {
    Picture.SetPresenter(&Presenter);
    Picture.SetBackground(NxBitmap(576, 384, TABLE_COLOUR), TABLE_AREA);
    DealTable(Deck);
  }
  uint32_t Pixel(int32_t x, int32_t y) const { return Picture.BackBuffer().Pixel(x, y); }
};
}  // namespace

TEST(TableDrawing, MaskedCardsShowTheTableAtTheirRoundedCorners) {
  DrawnDeck table;
  const NxCard& upcard = *table.Deck.Pile(DISCARD_PILE).CardAt(0);
  const TRect r = upcard.Rect();
  for (auto [x, y] : {std::pair{r.left, r.top}, {r.left + 1, r.top}, {r.left, r.top + 1}, {r.right - 1, r.bottom - 1},
                      {r.right - 2, r.bottom - 1}, {r.right - 1, r.bottom - 2}, {r.right - 1, r.top}, {r.left, r.bottom - 1}})
    EXPECT_EQ(table.Pixel(x, y), TABLE_COLOUR) << x << "," << y;
  EXPECT_EQ(table.Pixel(r.left + 1, r.top + 1), 0x00100000 + CARD_FACE_BASE_ID + upcard.Index());
  EXPECT_EQ(table.Pixel(r.left + 30, r.top + 40), 0x00100000 + CARD_FACE_BASE_ID + upcard.Index());
}

TEST(TableDrawing, HigherLayersAreDrawnOnTopAndBacksShowForFaceDownCards) {
  DrawnDeck table;
  // x 140 lies on cards 0 and 1 of the computer's hand; card 1 is on top.
  EXPECT_EQ(table.Pixel(140, 60), 0x00AA0000 + FIRST_CARD_BACK_ID);
  const NxHand& human = table.Deck.Pile(HUMAN_PILE);
  EXPECT_EQ(table.Pixel(140, 300), 0x00100000 + CARD_FACE_BASE_ID + human.CardAt(1)->Index());
}

TEST(TableDrawing, MovingACardRepaintsWhatWasBehindIt) {
  DrawnDeck table;
  table.Presenter.Areas.clear();
  table.Deck.MoveCardToPoint({450, 150}, DISCARD_PILE, 0, true);
  EXPECT_EQ(table.Pixel(340, 170), TABLE_COLOUR);  // the discard pile is now empty there
  EXPECT_NE(table.Pixel(460, 170), TABLE_COLOUR);
  ASSERT_FALSE(table.Presenter.Areas.empty());
  EXPECT_TRUE(table.Picture.DirtyList().empty());
}

TEST(TableDrawing, TheDirtyListMergesOnlyWithItsFront) {
  NxDeck deck(1, FIRST_CARD_BACK_ID, TABLE_AREA, CARD_SIZE);
  NxTablePicture picture(deck);
  picture.MarkDirty({0, 0, 10, 10});
  picture.MarkDirty({100, 100, 110, 110});
  picture.MarkDirty({105, 105, 120, 120});  // overlaps the front: merged
  picture.MarkDirty({5, 5, 8, 8});          // overlaps only the older one: added
  EXPECT_EQ(picture.DirtyList(),
            (std::vector<TRect>{{5, 5, 8, 8}, {100, 100, 120, 120}, {0, 0, 10, 10}}));
}

TEST(TableDrawing, ChangingTheBackRedrawsFaceDownCardsOnly) {
  DrawnDeck table;
  table.Deck.SetCardBack(FIRST_CARD_BACK_ID + 3);
  table.Picture.Paint(true);
  EXPECT_EQ(table.Pixel(140, 60), 0x00AA0000 + FIRST_CARD_BACK_ID + 3);
  EXPECT_EQ(table.Pixel(140, 300), 0x00100000 + CARD_FACE_BASE_ID + table.Deck.Pile(HUMAN_PILE).CardAt(1)->Index());
}

TEST(TableDrawing, FacePicturesAreLoadedOncePerCard) {
  DrawnDeck table;
  table.Deck.SetPileFace(COMPUTER_PILE, true);
  table.Deck.SetPileFace(COMPUTER_PILE, false);
  table.Deck.SetPileFace(COMPUTER_PILE, true);
  for (uint32_t i = 0; i < 10; ++i)
    EXPECT_EQ(table.Images.Loads[CARD_FACE_BASE_ID + table.Deck.Pile(COMPUTER_PILE).CardAt(i)->Index()], 1);
}

namespace {

// The synthetic pictures drawn at any factor, as a window would: each
// device pixel takes the table pixel it falls in.
class ScaledImages : public SyntheticImages {
 public:
  explicit ScaledImages(double scale) : Factor(scale) {}
  NxBitmap LoadImage(uint32_t id) override {
    const NxBitmap small = SyntheticImages::LoadImage(id);
    if (small.IsEmpty()) return small;
    const TSize size = DeviceSize({small.Width(), small.Height()}, Factor);
    NxBitmap big(size.cx, size.cy);
    for (int32_t y = 0; y < big.Height(); ++y)
      for (int32_t x = 0; x < big.Width(); ++x)
        big.SetPixel(x, y, small.Pixel(std::min(small.Width() - 1, static_cast<int32_t>(x / Factor)),
                                       std::min(small.Height() - 1, static_cast<int32_t>(y / Factor))));
    return big;
  }
  double Scale() const override { return Factor; }

 private:
  double Factor;
};

NxBitmap TableAt(double scale) {
  const TRect cover = DeviceCover(TABLE_AREA, scale);
  return NxBitmap(cover.Width(), cover.Height(), TABLE_COLOUR);
}

}  // namespace

TEST(TableDrawing, ComposesAtTheImagesScaleInTablePixels) {
  DrawnDeck drawn;
  ScaledImages doubled(2.0);
  drawn.Picture.SetImages(&doubled);
  EXPECT_EQ(drawn.Picture.Scale(), 2.0);
  drawn.Picture.SetBackground(TableAt(2.0), TABLE_AREA);
  ASSERT_EQ(drawn.Picture.BackBuffer().Width(), 1152);
  // The discard pile's top card at (335, 144): its face fills device pixels
  // (670..807, 288..479), and its rounded corner shows the table.
  const NxCard* upcard = drawn.Deck.Pile(DISCARD_PILE).Cards[0];
  EXPECT_EQ(drawn.Pixel(2 * 335 + 10, 2 * 144 + 10), 0x00100000 + CARD_FACE_BASE_ID + upcard->Index());
  EXPECT_EQ(drawn.Pixel(2 * 335 + 137, 2 * 144 + 191), TABLE_COLOUR);
  EXPECT_EQ(drawn.Pixel(2 * 335 + 2, 2 * 144 + 2), 0x00100000 + CARD_FACE_BASE_ID + upcard->Index());
  // Hit tests stay in table pixels.
  EXPECT_TRUE(drawn.Deck.CardAtPoint({340, 150}, DISCARD_PILE).has_value());
  EXPECT_FALSE(drawn.Deck.CardAtPoint({680, 300}, DISCARD_PILE).has_value());
}

// At any factor, whole or not, redrawing only what a drag touched must give
// the same picture as drawing the whole table anew: a dirty area rounded the
// wrong way leaves a stale column of pixels behind the card.
TEST(TableDrawing, DraggingAtAnyFactorLeavesNoTraceAndStaysOnTop) {
  for (double scale : {1.0, 1.5, 1.37, 2.5, 3.14}) {
    DrawnDeck drawn;
    ScaledImages images(scale);
    drawn.Picture.SetImages(&images);
    drawn.Picture.SetBackground(TableAt(scale), TABLE_AREA);
    NxDeck& deck = drawn.Deck;
    NxTablePicture& picture = drawn.Picture;
    const uint32_t held = deck.CardIndexAt(HUMAN_PILE, 2);
    deck.PickUp(HUMAN_PILE, 2);
    TPoint at{168, 268};
    for (int step = 0; step < 60; ++step) {
      at = {at.x + (step % 7) - 2, at.y - (step % 5) + (step < 30 ? -1 : 2)};
      picture.SetHighlight(step % 3 ? std::optional<TRect>(TRect::At({100 + 34 * (step % 9), 268}, CARD_SIZE))
                                 : std::nullopt);
      deck.Drag(at, true);
      // Above the hand wherever it hovers: its own colour at its middle.
      const TPoint middle{ToDevice(at.x + 34, scale), ToDevice(at.y + 48, scale)};
      ASSERT_EQ(drawn.Pixel(middle.x, middle.y), 0x00100000 + CARD_FACE_BASE_ID + held) << scale << " " << step;
    }
    const NxBitmap incremental = picture.BackBuffer();
    picture.MarkDirty(TABLE_AREA);
    picture.Paint(true);
    int differing = 0;
    for (int32_t y = 0; y < incremental.Height(); ++y)
      for (int32_t x = 0; x < incremental.Width(); ++x) differing += incremental.Pixel(x, y) != drawn.Pixel(x, y);
    EXPECT_EQ(differing, 0) << scale;
    deck.Drop();
  }
}

// A window resized back and forth reuses the buffers of the sizes it showed
// before: what they held then must never show through. Each visit brings a
// background of its own colour and the cards move between visits; the
// picture must equal one drawn once, fresh, at the last size.
TEST(TableDrawing, SizesShownAgainDrawWhatAFreshPictureDraws) {
  DrawnDeck resized, fresh;
  std::mt19937 random(8128);
  std::vector<std::unique_ptr<ScaledImages>> scales;
  const double sizes[] = {1.5, 2.5, 1.37};
  uint32_t colour = TABLE_COLOUR;
  double scale = 1.0;
  for (int visit = 0; visit < 12; ++visit) {
    scale = sizes[random() % 3];
    scales.push_back(std::make_unique<ScaledImages>(scale));
    resized.Picture.SetImages(scales.back().get());
    const TRect cover = DeviceCover(TABLE_AREA, scale);
    colour = TABLE_COLOUR + static_cast<uint32_t>(visit);
    resized.Picture.SetBackground(NxBitmap(cover.Width(), cover.Height(), colour), TABLE_AREA);
    const uint32_t thrown = random() % 11;
    for (DrawnDeck* drawn : {&resized, &fresh}) {
      NxDeck& deck = drawn->Deck;
      deck.MoveCard(STOCK_PILE, deck.TopIndex(STOCK_PILE), HUMAN_PILE, true);
      deck.MoveCard(HUMAN_PILE, thrown, DISCARD_PILE, true);
    }
  }
  ScaledImages last(scale);
  fresh.Picture.SetImages(&last);
  const TRect cover = DeviceCover(TABLE_AREA, scale);
  fresh.Picture.SetBackground(NxBitmap(cover.Width(), cover.Height(), colour), TABLE_AREA);
  const NxBitmap& got = resized.Picture.BackBuffer();
  EXPECT_EQ(got.Pixel(0, 0), colour);  // the last background, not an earlier one
  ASSERT_EQ(got.Width(), fresh.Picture.BackBuffer().Width());
  ASSERT_EQ(got.Height(), fresh.Picture.BackBuffer().Height());
  int differing = 0;
  for (int32_t y = 0; y < got.Height(); ++y)
    for (int32_t x = 0; x < got.Width(); ++x) differing += got.Pixel(x, y) != fresh.Pixel(x, y);
  EXPECT_EQ(differing, 0);
}

// Drawing the table at a new size renders the pictures of the cards that
// show, not of every face-up card: the ones buried in a squared pile stay
// unrendered (at a large factor each face is costly).
TEST(TableDrawing, ANewScaleRendersOnlyTheFacesThatShow) {
  SyntheticImages small;
  NxDeck deck{TABLE_PILE_COUNT, FIRST_CARD_BACK_ID, TABLE_AREA, CARD_SIZE};
  NxTablePicture picture{deck, &small};
  picture.SetBackground(NxBitmap(576, 384, TABLE_COLOUR), TABLE_AREA);
  deck.Shuffle();
  const PileLayout& discard = TABLE_PILES[DISCARD_PILE];
  deck.Deal(DISCARD_PILE, 3, discard.Position, {0, 0}, discard.BaseLayer, true);
  ScaledImages images(2.5);
  picture.SetImages(&images);
  picture.SetBackground(TableAt(2.5), TABLE_AREA);
  const NxHand& pile = deck.Pile(DISCARD_PILE);
  for (uint32_t i = 0; i < 3; ++i)
    EXPECT_EQ(images.Loads[CARD_FACE_BASE_ID + pile.CardAt(i)->Index()], i == 2 ? 1 : 0) << i;
  const TRect top = pile.CardAt(2)->Rect();
  EXPECT_EQ(picture.BackBuffer().Pixel(ToDevice(top.left + 30, 2.5), ToDevice(top.top + 40, 2.5)),
            0x00100000 + CARD_FACE_BASE_ID + pile.CardAt(2)->Index());
}

namespace {

// The same table twice from one seed, at one scale: one draws every move at
// once, the other lets the cards glide.
struct TwinTables {
  ScaledImages Images;
  NxDeck Still{TABLE_PILE_COUNT, FIRST_CARD_BACK_ID, TABLE_AREA, CARD_SIZE};
  NxDeck Moving{TABLE_PILE_COUNT, FIRST_CARD_BACK_ID, TABLE_AREA, CARD_SIZE};
  NxTablePicture StillPicture{Still, &Images};
  NxTablePicture MovingPicture{Moving, &Images};

  TwinTables(double scale, int32_t seed) : Images(scale) {
    MovingPicture.SetGlides(true);
    Moving.SetDealOrigin(TABLE_PILES[STOCK_PILE].Position);
    for (NxTablePicture* picture : {&StillPicture, &MovingPicture}) picture->SetBackground(TableAt(scale), TABLE_AREA);
    for (NxDeck* deck : {&Still, &Moving}) {
      deck->Random().Seed = seed;
      deck->Random().InitTable();
      deck->Shuffle();
      for (uint32_t pile : {COMPUTER_PILE, HUMAN_PILE, STOCK_PILE, DISCARD_PILE}) {
        const PileLayout& at = TABLE_PILES[pile];
        deck->Deal(pile, pile == STOCK_PILE ? 31 : pile == DISCARD_PILE ? 1 : 10, at.Position, at.Offset,
                   at.BaseLayer, pile != COMPUTER_PILE && pile != STOCK_PILE);
      }
    }
  }

  // One random table operation, done to both.
  void Operate(std::mt19937& random) {
    const uint32_t hand = Still.CardsInPile(HUMAN_PILE);
    const uint32_t pick = hand ? random() % hand : 0;
    switch (random() % 6) {
      case 0:
        if (Still.CardsInPile(STOCK_PILE) > 0 && hand < 11)
          for (NxDeck* deck : {&Still, &Moving})
            deck->MoveCard(STOCK_PILE, deck->TopIndex(STOCK_PILE), HUMAN_PILE, true);
        break;
      case 1:
        if (hand > 1)
          for (NxDeck* deck : {&Still, &Moving}) deck->MoveCard(HUMAN_PILE, pick, DISCARD_PILE, true);
        break;
      case 2: {
        std::vector<uint32_t> order;
        for (uint32_t i = 0; i < hand; ++i) order.push_back(Still.CardIndexAt(HUMAN_PILE, i));
        std::shuffle(order.begin(), order.end(), random);
        for (NxDeck* deck : {&Still, &Moving}) deck->Arrange(HUMAN_PILE, order.data(), hand);
        break;
      }
      case 3: {
        if (!hand) break;
        const TPoint to{80 + static_cast<int32_t>(random() % 400), 180 + static_cast<int32_t>(random() % 100)};
        const bool back = random() % 2;
        for (NxDeck* deck : {&Still, &Moving}) {
          deck->PickUp(HUMAN_PILE, pick);
          deck->Drag(to, true);
          back ? deck->ReturnHeldCard() : deck->Drop();
        }
        break;
      }
      case 4: {
        CardMarks marks{};
        for (uint32_t i = 0; i < hand; ++i)
          marks[Still.CardIndexAt(HUMAN_PILE, i)] = random() % 3 ? static_cast<uint8_t>(1 + random() % 3) : DEADWOOD_MARK;
        for (NxTablePicture* picture : {&StillPicture, &MovingPicture}) picture->SetMarks(HUMAN_PILE, marks);
        break;
      }
      default:
        if (Still.CardsInPile(DISCARD_PILE) > 0)
          for (NxDeck* deck : {&Still, &Moving})
            deck->MoveCardToPoint({KNOCK_AREA.left, KNOCK_AREA.top}, DISCARD_PILE, deck->TopIndex(DISCARD_PILE), true);
        break;
    }
  }
};

int CountDifferences(const NxBitmap& a, const NxBitmap& b) {
  int differing = 0;
  for (int32_t y = 0; y < a.Height(); ++y)
    for (int32_t x = 0; x < a.Width(); ++x) differing += a.Pixel(x, y) != b.Pixel(x, y);
  return differing;
}

}  // namespace

// Glides only delay the picture. At every frame the back buffer is what a
// whole redraw gives (a travelling card leaves no trace), each travelling
// card is drawn between where it set off and its place, and once the glides
// end the table is, pixel for pixel, the table drawn without them.
TEST(TableDrawing, GlidesLeaveNoTraceAndEndInThePictureDrawnWithoutThem) {
  for (double scale : {1.0, 1.5, 2.5}) {
    for (int32_t seed = 1; seed <= 4; ++seed) {
      TwinTables tables(scale, seed * 7919);
      std::mt19937 random(static_cast<uint32_t>(seed));
      ASSERT_TRUE(tables.MovingPicture.IsGliding());  // the deal itself
      for (int step = 0; step < 30; ++step) {
        tables.Operate(random);
        for (int frame = random() % 3; frame > 0; --frame) {
          tables.MovingPicture.AdvanceGlides(random() % 60);
          for (const CardGlide& glide : tables.MovingPicture.ActiveGlides()) {
            const NxCard& card = *tables.Moving.Card(glide.Card);
            const TRect drawn = tables.MovingPicture.DrawnRect(card);
            // Waiting its turn: a dealt card is still in the stock, a moved
            // one lies where it set off from.
            if (glide.Elapsed < 0) {
              ASSERT_TRUE(glide.Unseen ? drawn.IsEmpty() : drawn == TRect::At(glide.From, CARD_SIZE));
              continue;
            }
            const TPoint to = card.Position();
            ASSERT_TRUE(drawn.left >= std::min(glide.From.x, to.x) && drawn.left <= std::max(glide.From.x, to.x) &&
                        drawn.top >= std::min(glide.From.y, to.y) && drawn.top <= std::max(glide.From.y, to.y))
                << scale << " " << seed << " " << step;
          }
          const NxBitmap incremental = tables.MovingPicture.BackBuffer();
          tables.MovingPicture.MarkDirty(TABLE_AREA);
          tables.MovingPicture.Paint(true);
          ASSERT_EQ(CountDifferences(incremental, tables.MovingPicture.BackBuffer()), 0) << scale << " " << seed << " " << step;
        }
      }
      tables.MovingPicture.FinishGlides();
      EXPECT_FALSE(tables.MovingPicture.IsGliding());
      EXPECT_EQ(CountDifferences(tables.MovingPicture.BackBuffer(), tables.StillPicture.BackBuffer()), 0) << scale << " " << seed;
    }
  }
}

// A meld's band lies along the foot of each of its cards, and breaks where
// another meld begins; a deadwood card is shaded, and unmarked cards and the
// other piles are not touched. So at ten cards and at eleven, whose row
// stands wider.
TEST(TableDrawing, MarksBandMeldsAndShadeDeadwoodInTheMarkedPileOnly) {
  for (const bool eleven : {false, true}) {
    SCOPED_TRACE(eleven ? "eleven cards" : "ten cards");
    DrawnDeck table;
    NxDeck& deck = table.Deck;
    if (eleven) deck.MoveCard(STOCK_PILE, deck.TopIndex(STOCK_PILE), HUMAN_PILE, true);
    CardMarks marks{};
    const auto card = [&](uint32_t i) { return deck.CardIndexAt(HUMAN_PILE, i); };
    const auto left = [&](uint32_t i) { return deck.Pile(HUMAN_PILE).CardAt(i)->Position().x; };
    for (uint32_t i : {0u, 1u, 2u}) marks[card(i)] = 1;
    for (uint32_t i : {3u, 4u, 5u}) marks[card(i)] = 2;
    marks[card(6)] = DEADWOOD_MARK;
    marks[deck.CardIndexAt(DISCARD_PILE, 0)] = DEADWOOD_MARK;  // not in the marked pile
    table.Picture.SetMarks(HUMAN_PILE, marks);
    const auto face = [&](uint32_t i) { return 0x00100000 + CARD_FACE_BASE_ID + card(i); };
    const int32_t foot = 268 + 96 - 2, middle = 268 + 40;
    const uint32_t firstBand = table.Pixel(left(0) + 10, foot), secondBand = table.Pixel(left(3) + 10, foot);
    EXPECT_NE(firstBand, face(0));
    EXPECT_NE(firstBand, secondBand);
    EXPECT_EQ(table.Pixel(left(1) + 1, foot), firstBand);  // one meld runs on
    EXPECT_EQ(table.Pixel(left(3) + 1, foot), face(3));    // the next one breaks
    EXPECT_EQ(table.Pixel(left(0) + 10, middle), face(0));
    EXPECT_LT(table.Pixel(left(6) + 10, middle) & 0xFF, face(6) & 0xFF);  // shaded
    EXPECT_EQ(table.Pixel(left(7) + 10, middle), face(7));
    EXPECT_EQ(table.Pixel(335 + 30, 144 + 40), 0x00100000 + CARD_FACE_BASE_ID + deck.CardIndexAt(DISCARD_PILE, 0));
    table.Picture.SetMarks(HUMAN_PILE, CardMarks{});
    EXPECT_EQ(table.Pixel(left(0) + 10, foot), face(0));
    EXPECT_EQ(table.Pixel(left(6) + 10, middle), face(6));
  }
}

namespace {

std::vector<uint8_t> Written(const NxDeck& deck) {
  NxObjectWriter out;
  out.WriteHeader();
  NxDeck::Streamer::Write(out, deck);
  return out.Data();
}

}  // namespace

// A saved game read into a table on show replaces what the picture showed:
// no card of the old hand is left travelling or drawn where it lay, and the
// saved card back is on the face-down cards.
TEST(TableDrawing, ARestoredDeckShowsTheTableItStores) {
  DrawnDeck saved;
  saved.Deck.SetCardBack(FIRST_CARD_BACK_ID + 2);
  saved.Deck.MoveCard(STOCK_PILE, saved.Deck.TopIndex(STOCK_PILE), HUMAN_PILE, true);

  SyntheticImages images;
  NxDeck shown{TABLE_PILE_COUNT, FIRST_CARD_BACK_ID, TABLE_AREA, CARD_SIZE};
  NxTablePicture picture{shown, &images};
  picture.SetGlides(true);
  shown.SetDealOrigin(TABLE_PILES[STOCK_PILE].Position);
  picture.SetBackground(NxBitmap(576, 384, TABLE_COLOUR), TABLE_AREA);
  shown.Random().Seed = 4711;
  shown.Random().InitTable();
  shown.Shuffle();
  const PileLayout& hand = TABLE_PILES[HUMAN_PILE];
  shown.Deal(HUMAN_PILE, 10, hand.Position, hand.Offset, hand.BaseLayer, true);
  ASSERT_TRUE(picture.IsGliding());

  const std::vector<uint8_t> bytes = Written(saved.Deck);
  NxObjectReader in(bytes);
  in.ReadHeader();
  ASSERT_TRUE(NxDeck::Streamer::Read(in, shown));
  EXPECT_FALSE(picture.IsGliding());
  picture.Paint(true);
  EXPECT_EQ(CountDifferences(picture.BackBuffer(), saved.Picture.BackBuffer()), 0);
}

// The window's picture goes before the table it shows, and the deck may
// still report a move meanwhile: it must reach nobody, and a picture made
// afterwards hears everything.
TEST(TableDrawing, ADeckPlaysOnWithoutThePictureItHad) {
  SyntheticImages images;
  NxDeck deck{TABLE_PILE_COUNT, FIRST_CARD_BACK_ID, TABLE_AREA, CARD_SIZE};
  {
    NxTablePicture gone{deck, &images};
    gone.SetBackground(NxBitmap(576, 384, TABLE_COLOUR), TABLE_AREA);
  }
  DealTable(deck);
  NxTablePicture later{deck, &images};
  later.SetGlides(true);
  deck.MoveCard(HUMAN_PILE, 0, DISCARD_PILE, true);
  EXPECT_TRUE(later.IsGliding());
}
