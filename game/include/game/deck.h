#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "game/bitmap.h"
#include "game/card.h"
#include "game/hand.h"
#include "game/image_provider.h"
#include "game/rect.h"
#include "neural/random.h"

class NxObjectReader;
class NxObjectWriter;

// Pile numbers of the game table's deck.
enum PileNumber : uint32_t { HUMAN_PILE = 0, COMPUTER_PILE = 1, STOCK_PILE = 2, DISCARD_PILE = 3 };

// Layers above every pile: a card moved by the program, a card held by the mouse.
constexpr int32_t MOVING_LAYER = 998;
constexpr int32_t HELD_LAYER = 1000;

struct CardHit {
  uint32_t Position;
  TPoint Corner;
};

// What is drawn over a card of the marked pile: nothing, deadwood's shade,
// or the band of one of its melds (1 and up, numbered left to right).
constexpr uint8_t NO_MARK = 0;
constexpr uint8_t DEADWOOD_MARK = 0xFF;
using CardMarks = std::array<uint8_t, NUM_CARDS>;

// A card on its way to the place it already has: the table's logic only
// knows the place; the picture shows the card travelling there.
struct CardGlide {
  uint32_t Card;
  TPoint From;
  int32_t Elapsed;   // milliseconds; below zero while it waits its turn
  int32_t Duration;  // milliseconds
  bool Unseen;       // while it waits: still in the stock, not drawn at all
  uint32_t Batch;    // the composition it was started in
};

// The 52 cards for the life of the table: their shuffled order, the piles,
// and the composition of the table picture. Images and presenter are
// optional: without them the deck keeps its lists but draws nothing.
class NxDeck {
 public:
  NxDeck(NxImageProvider* images, uint32_t pileCount, uint32_t backId, TRect table, TSize cardSize);
  virtual ~NxDeck();

  NxDeck(const NxDeck&) = delete;
  NxDeck& operator=(const NxDeck&) = delete;

  // --- life cycle and shuffling
  void CreateCards();
  void Shuffle();
  void Gather();
  NxRandomGenerator& Random() { return Generator; }
  // The deck position a generator value r (0..714024) swaps with.
  static uint32_t ShuffleIndex(int32_t r) {
    return static_cast<uint32_t>(r * (1.0 / NxRandomGenerator::MODULUS) * NUM_CARDS);
  }

  // --- pile operations
  void Deal(uint32_t pile, uint32_t count, TPoint position, TPoint offset, int32_t baseLayer, bool faceUp);
  // -1 for an empty pile without a held card.
  int32_t TopIndex(uint32_t pile) const;
  uint32_t HeldCardIndex() const;
  void PickUp(uint32_t pile, uint32_t position);
  void Drag(TPoint point, bool useMask);
  void Retarget(uint32_t pile, bool faceUp);
  void Drop();
  // Puts the held card back where it was picked up, as if it had never left.
  void ReturnHeldCard();
  void MoveCard(uint32_t fromPile, uint32_t position, uint32_t toPile, bool faceUp);
  void Arrange(uint32_t pile, const uint32_t* order, uint32_t n);
  void SetPileFace(uint32_t pile, bool faceUp);
  void RefreshPile(uint32_t pile);
  void MoveCardToPoint(TPoint point, uint32_t pile, uint32_t position, bool useMask);
  std::optional<CardHit> CardAtPoint(TPoint point, uint32_t pile) const;
  bool CoversPile(const TRect& rect, uint32_t pile, double percent) const;

  // --- reading the piles
  uint32_t PileCount() const { return NumPiles; }
  const NxHand& Pile(uint32_t pile) const;
  uint32_t CardIndexAt(uint32_t pile, uint32_t position) const;
  uint32_t CardsInPile(uint32_t pile) const { return Pile(pile).Count; }
  const NxCard* Card(uint32_t index) const;       // by card id
  const NxCard* CardInOrder(uint32_t position) const;  // by deck order
  const NxCard* HeldCard() const { return Held; }
  uint32_t NextDeal() const { return NextDealPos; }
  bool IsCreated() const { return Created; }
  bool IsLaidOut() const { return LaidOut; }
  TSize CardSize() const { return CardDims; }
  uint32_t BackId() const { return BackBitmapId; }
  const TRect& Table() const { return TableRect; }

  // --- drawing
  void SetPresenter(NxTablePresenter* presenter) { Presenter = presenter; }
  // Replaces the picture source, for instance at another scale: every
  // picture is loaded again, and the table needs a new background.
  void SetImages(NxImageProvider* images);
  // Device pixels per table pixel of the back buffer and the pictures.
  double Scale() const { return DeviceScale; }
  // The back buffer's pixels that show a table area (edges rounded outwards).
  TRect ToBuffer(const TRect& tableArea) const;
  // Marks a place (a pile, the knock area, a slot of a hand) as the one a
  // dragged card would be dropped on: a frame drawn above the piles and
  // below the dragged card. Nothing clears it.
  void SetHighlight(std::optional<TRect> area);
  const std::optional<TRect>& Highlight() const { return Highlighted; }
  void SetCardBack(uint32_t backId);
  // Marks drawn over the cards of one pile while they are in it; all
  // NO_MARK clears them.
  void SetMarks(uint32_t pile, const CardMarks& marks);
  const CardMarks& Marks() const { return MarkByCard; }
  void SetBackground(NxBitmap picture, const TRect& table);
  void Paint(bool useMask);
  void PaintArea(const TRect& area);
  const std::vector<NxCard*>& DisplayList() const { return Display; }
  // Most recent first.
  const std::vector<TRect>& DirtyList() const { return Dirty; }
  const NxBitmap& BackBuffer() const { return Buffer; }

  // Called by the cards.
  void MarkDirty(const TRect& rect);
  // The card's place and, while it glides, where it is drawn.
  void MarkCardDirty(const NxCard& card);
  // Before a shown card moves to `to`, and after a hidden one is placed.
  void CardMoving(const NxCard& card, TPoint to);
  void CardPlaced(const NxCard& card);
  void InsertIntoDisplay(NxCard* card);
  void RemoveFromDisplay(NxCard* card);
  const NxBitmap* FaceImage(uint32_t cardIndex);
  const NxBitmap* BackImage() const { return Back.IsEmpty() ? nullptr : &Back; }

  // --- glides: moves shown smoothly. Off unless switched on; a glide never
  // changes a card's place, hit test or stored position, only where the
  // picture shows it until the glide has run its time.
  void SetGlides(bool on);
  bool IsGliding() const { return !Glides.empty(); }
  const std::vector<CardGlide>& ActiveGlides() const { return Glides; }
  // Cards dealt into a spread pile set off from here, one after another.
  void SetDealOrigin(TPoint origin) { DealOrigin = origin; }
  // Runs every glide on by this much time and paints what moved.
  void AdvanceGlides(uint32_t milliseconds);
  // Ends every glide at once, its card at its place.
  void FinishGlides();
  // Where the picture shows a card now; empty while it waits to be dealt.
  TRect DrawnRect(const NxCard& card) const;

  // --- streaming
  struct Streamer {
    static constexpr uint32_t VERSION = 1;
    static constexpr const char* NAME = "NxDeck";
    static void Write(NxObjectWriter& out, const NxDeck& deck);
    // Restores a deck written by Write into an existing deck. On a damaged
    // stream the reader carries the error and the deck is left unchanged.
    static bool Read(NxObjectReader& in, NxDeck& deck);
  };

 private:
  struct StoredCard;
  struct StoredPile;
  struct StoredDeck;
  static bool ReadStored(NxObjectReader& in, StoredDeck& stored);
  void Restore(const StoredDeck& stored);

  NxHand& PileRef(uint32_t pile);
  void PutBackHeldCard();
  // Puts the held card into its pile at `slot` and lays the pile out again.
  void SettleHeldCard(uint32_t slot);
  NxBitmap LoadPrepared(uint32_t resourceId);
  void DrawCard(const NxCard& card, const TRect& dest, bool useMask);
  // True when a card later in the display list lies exactly on Display[index].
  bool BuriedFrom(size_t index) const;
  void DrawHighlight(const TRect& dest);
  void DrawMark(const NxCard& card, const TRect& drawn, const TRect& part);
  bool IsMarked(const NxCard& card) const;
  CardGlide* GlideOf(uint32_t card);
  const CardGlide* GlideOf(uint32_t card) const;
  TPoint GlidePoint(const CardGlide& glide) const;
  void StartGlide(uint32_t card, TPoint from, TPoint to, int32_t delay, bool unseen);
  // Until the glides of earlier compositions have arrived.
  int32_t QueueDelay() const;

  std::array<std::unique_ptr<NxCard>, NUM_CARDS> CardStore;  // by card id
  std::array<NxCard*, NUM_CARDS> Order{};                      // deck order
  NxCard* Held = nullptr;
  uint32_t NextDealPos = 0;
  uint32_t NumPiles;
  uint32_t HeldPile = 0;
  uint32_t BackBitmapId;
  bool Created = false;
  bool LaidOut = false;
  std::vector<NxHand> Piles;
  std::vector<NxCard*> Display;
  std::vector<TRect> Dirty;  // most recent first
  TSize CardDims;
  TRect TableRect;
  NxBitmap Background;
  NxBitmap Buffer;
  NxImageProvider* Images;
  double DeviceScale = 1.0;
  std::optional<TRect> Highlighted;
  NxTablePresenter* Presenter = nullptr;
  NxRandomGenerator Generator;
  NxBitmap Back;
  NxBitmap Mask;
  std::array<NxBitmap, NUM_CARDS> Faces;
  std::array<bool, NUM_CARDS> FaceLoaded{};
  uint32_t MarkedPile = 0;
  CardMarks MarkByCard{};
  bool GlidesEnabled = false;
  bool Dealing = false;
  uint32_t DealtInTurn = 0;
  TPoint DealOrigin{0, 0};
  std::vector<CardGlide> Glides;
  uint32_t GlideBatch = 0;
};
