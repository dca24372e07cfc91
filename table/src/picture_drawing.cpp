// The composition of the table picture: the dirty list, and the dirty
// areas drawn anew into the back buffer from the background and the cards
// in the deck's display order.
#include <algorithm>
#include <utility>

#include "game/card.h"
#include "table/device_pixels.h"
#include "table/table_picture.h"

void NxTablePicture::MarkDirty(const TRect& rect) {
  if (rect.IsEmpty()) return;
  if (!Dirty.empty() && Dirty.front().Intersects(rect)) {
    Dirty.front() = Dirty.front().Union(rect);
    return;
  }
  Dirty.insert(Dirty.begin(), rect);
}

namespace {

bool HasSize(const NxBitmap& bitmap, int32_t width, int32_t height) {
  return bitmap.Width() == width && bitmap.Height() == height;
}

}  // namespace

void NxTablePicture::SetBackground(const NxBitmap& picture, const TRect& table) {
  if (!(table == Deck.Table())) Deck.SetTable(table);
  const TRect& tableRect = Deck.Table();
  const TRect cover = DeviceCover({0, 0, tableRect.Width(), tableRect.Height()}, DeviceScale);
  const int32_t width = cover.Width(), height = cover.Height();
  // The whole table is drawn anew below, so a reused buffer's old pixels
  // never show.
  if (!HasSize(Buffer, width, height)) {
    Spares.Give(Buffer);
    Buffer = Spares.Take(width, height);
  }
  if (HasSize(picture, width, height)) {
    // Copied into a buffer of that size kept from before: its memory is
    // already the process's.
    if (!HasSize(Background, width, height)) {
      Spares.Give(Background);
      Background = Spares.Take(width, height);
    }
    Background = picture;
  } else {
    Spares.Give(Background);
    Background = NxBitmap(width, height);
    Background.Combine(Background.Bounds(), picture, {0, 0}, NxBitmap::RasterOp::COPY);
  }
  MarkDirty(tableRect);
  Paint(true);
}

TRect NxTablePicture::ToBuffer(const TRect& tableArea) const {
  const TRect& table = Deck.Table();
  const TRect shifted{tableArea.left - table.left, tableArea.top - table.top, tableArea.right - table.left,
                      tableArea.bottom - table.top};
  return DeviceCover(shifted, DeviceScale).Intersection(Buffer.Bounds());
}

void NxTablePicture::DrawCard(const NxCard& card, const TRect& dest, bool useMask) {
  const NxBitmap* image = card.IsFaceUp() ? FaceImage(card.Index()) : BackImage();
  const TRect shown = DrawnRect(card);
  if (!image || shown.IsEmpty()) return;
  // The picture starts on the device pixel its corner falls in; its size is
  // its own, so a card keeps one shape wherever it lies.
  const TRect& table = Deck.Table();
  const TRect drawn = TRect::At({ToDevice(shown.left - table.left, DeviceScale),
                                 ToDevice(shown.top - table.top, DeviceScale)},
                                {image->Width(), image->Height()});
  const TRect part = drawn.Intersection(dest);
  if (part.IsEmpty()) return;
  const TPoint source{part.left - drawn.left, part.top - drawn.top};
  if (useMask && Mask.Width() == image->Width() && Mask.Height() == image->Height()) {
    Buffer.Combine(part, Mask, source, NxBitmap::RasterOp::AND);
    Buffer.Combine(part, *image, source, NxBitmap::RasterOp::OR);
  } else {
    Buffer.Combine(part, *image, source, NxBitmap::RasterOp::COPY);
  }
  if (card.IsFaceUp() && MarkByCard[card.Index()] != NO_MARK && MarkedHandOf(card)) DrawMark(card, drawn, part);
}

namespace {

// The highlight frame: this many table pixels wide, just outside the place.
constexpr int32_t HIGHLIGHT_WIDTH = 3;
constexpr uint32_t HIGHLIGHT_COLOUR = 0x00FFD42A;

TRect Grown(const TRect& r, int32_t by) { return {r.left - by, r.top - by, r.right + by, r.bottom + by}; }

}  // namespace

void NxTablePicture::SetHighlight(std::optional<TRect> area) {
  if (area == Highlighted) return;
  if (Highlighted) MarkDirty(Grown(*Highlighted, HIGHLIGHT_WIDTH));
  Highlighted = area;
  if (Highlighted) MarkDirty(Grown(*Highlighted, HIGHLIGHT_WIDTH));
}

void NxTablePicture::DrawHighlight(const TRect& dest) {
  if (!Highlighted) return;
  const TRect outer = ToBuffer(Grown(*Highlighted, HIGHLIGHT_WIDTH));
  const TRect inner = ToBuffer(*Highlighted);
  for (const TRect& band : {TRect{outer.left, outer.top, outer.right, inner.top},
                            TRect{outer.left, inner.bottom, outer.right, outer.bottom},
                            TRect{outer.left, inner.top, inner.left, inner.bottom},
                            TRect{inner.right, inner.top, outer.right, inner.bottom}}) {
    const TRect part = band.Intersection(dest);
    if (part.IsEmpty()) continue;
    for (int32_t y = part.top; y < part.bottom; ++y)
      std::fill(Buffer.Row(y) + part.left, Buffer.Row(y) + part.right, HIGHLIGHT_COLOUR);
  }
}

bool NxTablePicture::BuriedFrom(size_t index) const {
  // A card lying exactly under another shows nothing: the one above covers
  // it and their masked corners coincide. Squared piles are mostly such. A
  // card above that is still on its way covers nothing yet.
  const std::vector<NxCard*>& display = Deck.DisplayList();
  const TRect& rect = display[index]->Rect();
  for (size_t above = index + 1; above < display.size(); ++above)
    if (display[above]->Rect() == rect && !GlideOf(display[above]->Index())) return true;
  return false;
}

void NxTablePicture::Paint(bool useMask) {
  if (Buffer.IsEmpty()) {
    Dirty.clear();
    if (!Glides.empty()) ++GlideBatch;
    return;
  }
  const TRect& table = Deck.Table();
  const std::vector<NxCard*>& display = Deck.DisplayList();
  for (const TRect& rect : Dirty) {
    const TRect area = rect.Intersection(table);
    if (area.IsEmpty()) continue;
    const TRect dest = ToBuffer(area);
    Buffer.Combine(dest, Background, {dest.left, dest.top}, NxBitmap::RasterOp::COPY);
    // A rounded-out area reaches into cards its table rectangle misses, so
    // the test is on the pixels, not on table rectangles.
    const TRect reach = Grown(area, 1);
    bool highlightDrawn = false;
    for (size_t i = 0; i < display.size(); ++i) {
      const NxCard* card = display[i];
      if (!highlightDrawn && card->DisplayLayer() >= MOVING_LAYER) {
        DrawHighlight(dest);
        highlightDrawn = true;
      }
      // Travelling cards pass over everything that lies still.
      if (GlideOf(card->Index())) continue;
      if (card->Rect().Intersects(reach) && !BuriedFrom(i)) DrawCard(*card, dest, useMask);
    }
    if (!highlightDrawn) DrawHighlight(dest);
    for (const NxCard* card : display)
      if (GlideOf(card->Index()) && DrawnRect(*card).Intersects(reach)) DrawCard(*card, dest, useMask);
  }
  if (Presenter) {
    for (const TRect& rect : Dirty) {
      TRect area = rect.Intersection(table);
      if (!area.IsEmpty()) Presenter->Present(Buffer, area);
    }
  }
  Dirty.clear();
  // Glides started from here on belong to the table's next move.
  if (!Glides.empty()) ++GlideBatch;
}

void NxTablePicture::PaintArea(const TRect& area) {
  if (!Deck.IsLaidOut()) return;
  MarkDirty(area);
  Paint(true);
}
