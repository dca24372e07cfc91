#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "game/card_id.h"
#include "game/deck.h"
#include "game/deck_observer.h"
#include "game/meld_marks.h"
#include "game/rect.h"
#include "table/bitmap.h"
#include "table/bitmap_pool.h"
#include "table/image_provider.h"

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

// The picture of one deck's table: the back buffer composed from the
// background and the cards in the deck's display order, the card pictures,
// the dirty list, the highlight, the marks and the glides. It follows what
// the deck reports from the moment it is made until it is gone. Images and
// presenter are optional: without them it keeps its lists but draws nothing.
class NxTablePicture : public NxDeckObserver {
 public:
  // The deck must outlive the picture.
  explicit NxTablePicture(NxDeck& deck, NxImageProvider* images = nullptr);
  ~NxTablePicture() override;

  NxTablePicture(const NxTablePicture&) = delete;
  NxTablePicture& operator=(const NxTablePicture&) = delete;

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
  // Marks drawn over the cards of one pile, or of both hands at a hand's
  // end, while they are in it; all NO_MARK clears them.
  void SetMarks(uint32_t pile, const CardMarks& marks) { SetMarksOnPiles(uint32_t{1} << pile, marks); }
  void SetMarksOnHands(const CardMarks& marks) {
    SetMarksOnPiles((uint32_t{1} << HUMAN_PILE) | (uint32_t{1} << COMPUTER_PILE), marks);
  }
  const CardMarks& Marks() const { return MarkByCard; }
  void SetBackground(const NxBitmap& picture, const TRect& table);
  void Paint(bool useMask);
  void PaintArea(const TRect& area);
  void MarkDirty(const TRect& rect);
  // Most recent first.
  const std::vector<TRect>& DirtyList() const { return Dirty; }
  const NxBitmap& BackBuffer() const { return Buffer; }

  // --- glides: moves shown smoothly. Off unless switched on; a glide never
  // changes a card's place, hit test or stored position, only where the
  // picture shows it until the glide has run its time.
  void SetGlides(bool on);
  bool IsGliding() const { return !Glides.empty(); }
  const std::vector<CardGlide>& ActiveGlides() const { return Glides; }
  // Runs every glide on by this much time and paints what moved.
  void AdvanceGlides(uint32_t milliseconds);
  // Ends every glide at once, its card at its place.
  void FinishGlides();
  // Where the picture shows a card now; empty while it waits to be dealt.
  TRect DrawnRect(const NxCard& card) const;

  // --- what the deck reports
  void CardChanged(const NxCard& card) override;
  void CardMoving(const NxCard& card, TPoint to) override;
  void CardDealt(const NxCard& card) override;
  void AreaChanged(const TRect& area) override { MarkDirty(area); }
  void MoveDone(bool useMask) override { Paint(useMask); }
  void BackChanged() override;
  void Gathered() override;
  void Restored(bool newTable) override;

 private:
  NxBitmap LoadPrepared(uint32_t resourceId);
  const NxBitmap* FaceImage(uint32_t cardIndex);
  const NxBitmap* BackImage() const { return Back.IsEmpty() ? nullptr : &Back; }
  void DrawCard(const NxCard& card, const TRect& dest, bool useMask);
  // True when a card later in the display list lies exactly on the one at `index`.
  bool BuriedFrom(size_t index) const;
  void DrawHighlight(const TRect& dest);
  void DrawMark(const NxCard& card, const TRect& drawn, const TRect& part);
  // `piles` holds one bit per pile.
  void SetMarksOnPiles(uint32_t piles, const CardMarks& marks);
  // The marked pile the card lies in, if any.
  const NxHand* MarkedHandOf(const NxCard& card) const;
  CardGlide* GlideOf(uint32_t card);
  const CardGlide* GlideOf(uint32_t card) const;
  TPoint GlidePoint(const CardGlide& glide) const;
  void StartGlide(uint32_t card, TPoint from, TPoint to, int32_t delay, bool unseen);
  // Until the glides of earlier compositions have arrived.
  int32_t QueueDelay() const;

  NxDeck& Deck;
  std::vector<TRect> Dirty;  // most recent first
  NxBitmap Background;
  NxBitmap Buffer;
  // The back buffers and backgrounds of the sizes drawn before.
  NxBitmapPool Spares;
  NxImageProvider* Images = nullptr;
  double DeviceScale = 1.0;
  std::optional<TRect> Highlighted;
  NxTablePresenter* Presenter = nullptr;
  NxBitmap Back;
  NxBitmap Mask;
  std::array<NxBitmap, NUM_CARDS> Faces;
  std::array<bool, NUM_CARDS> FaceLoaded{};
  uint32_t MarkedPiles = 0;  // one bit per pile
  CardMarks MarkByCard{};
  bool GlidesEnabled = false;
  uint32_t DealtInTurn = 0;
  std::vector<CardGlide> Glides;
  uint32_t GlideBatch = 0;
};
