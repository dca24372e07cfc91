// The deck's drawing model: the display list in layer order, the dirty list
// and the composition of dirty areas into the back buffer.
#include <algorithm>
#include <utility>

#include "game/deck.h"
#include "game/device_pixels.h"

void NxDeck::MarkDirty(const TRect& rect) {
  if (rect.IsEmpty()) return;
  if (!Dirty.empty() && Dirty.front().Intersects(rect)) {
    Dirty.front() = Dirty.front().Union(rect);
    return;
  }
  Dirty.insert(Dirty.begin(), rect);
}

void NxDeck::InsertIntoDisplay(NxCard* card) {
  card->LayerCopy = card->CardLayer;
  auto at = std::upper_bound(Display.begin(), Display.end(), card->LayerCopy,
                             [](int32_t layer, const NxCard* other) { return layer < other->LayerCopy; });
  Display.insert(at, card);
}

void NxDeck::RemoveFromDisplay(NxCard* card) {
  auto at = std::find(Display.begin(), Display.end(), card);
  if (at != Display.end()) Display.erase(at);
}

NxBitmap NxDeck::LoadPrepared(uint32_t resourceId) {
  if (!Images) return {};
  NxBitmap picture = Images->LoadImage(resourceId);
  // Pixels where the mask is white must be black in the picture, or the OR
  // step would not let the table show through the rounded corners.
  if (picture.Width() == Mask.Width() && picture.Height() == Mask.Height()) {
    for (int32_t y = 0; y < picture.Height(); ++y) {
      uint32_t* row = picture.Row(y);
      const uint32_t* mask = Mask.Row(y);
      for (int32_t x = 0; x < picture.Width(); ++x) row[x] &= ~mask[x];
    }
  }
  return picture;
}

const NxBitmap* NxDeck::FaceImage(uint32_t cardIndex) {
  if (cardIndex >= NUM_CARDS || !Images) return nullptr;
  if (!FaceLoaded[cardIndex]) {
    Faces[cardIndex] = LoadPrepared(CARD_FACE_BASE_ID + cardIndex);
    FaceLoaded[cardIndex] = true;
  }
  return Faces[cardIndex].IsEmpty() ? nullptr : &Faces[cardIndex];
}

void NxDeck::SetCardBack(uint32_t backId) {
  Back = LoadPrepared(backId);
  BackBitmapId = backId;
  for (auto& card : CardStore) {
    if (!card || card->IsFaceUp()) continue;
    card->RefreshBitmap();
    if (card->IsVisible()) MarkDirty(card->Rect());
  }
}

void NxDeck::SetImages(NxImageProvider* images) {
  Images = images;
  DeviceScale = images ? images->Scale() : 1.0;
  Mask = Images ? Images->LoadImage(CARD_MASK_ID) : NxBitmap();
  Back = LoadPrepared(BackBitmapId);
  Faces.fill(NxBitmap());
  FaceLoaded.fill(false);
  for (auto& card : CardStore) {
    if (!card) continue;
    card->ForgetFace();
    // A face is drawn at the new size when it is first shown (DrawCard):
    // rendering every face-up card here would include the buried ones.
    if (!card->IsFaceUp()) card->RefreshBitmap();
  }
  Buffer = NxBitmap();
  Background = NxBitmap();
}

void NxDeck::SetBackground(NxBitmap picture, const TRect& table) {
  if (!(table == TableRect)) {
    TableRect = table;
    Buffer = NxBitmap();
  }
  const TRect cover = DeviceCover({0, 0, TableRect.Width(), TableRect.Height()}, DeviceScale);
  const int32_t width = cover.Width(), height = cover.Height();
  if (Buffer.Width() != width || Buffer.Height() != height) Buffer = NxBitmap(width, height);
  if (picture.Width() == width && picture.Height() == height) {
    // A picture drawn at the table's size is taken as it is: at a large
    // scale another copy would cost as much as the whole redraw.
    Background = std::move(picture);
  } else {
    Background = NxBitmap(width, height);
    Background.Combine(Background.Bounds(), picture, {0, 0}, NxBitmap::RasterOp::COPY);
  }
  MarkDirty(TableRect);
  Paint(true);
}

TRect NxDeck::ToBuffer(const TRect& tableArea) const {
  const TRect shifted{tableArea.left - TableRect.left, tableArea.top - TableRect.top, tableArea.right - TableRect.left,
                      tableArea.bottom - TableRect.top};
  return DeviceCover(shifted, DeviceScale).Intersection(Buffer.Bounds());
}

void NxDeck::DrawCard(const NxCard& card, const TRect& dest, bool useMask) {
  const NxBitmap* image = card.IsFaceUp() ? FaceImage(card.Index()) : card.CurrentBitmap();
  const TRect shown = DrawnRect(card);
  if (!image || shown.IsEmpty()) return;
  // The picture starts on the device pixel its corner falls in; its size is
  // its own, so a card keeps one shape wherever it lies.
  const TRect drawn = TRect::At({ToDevice(shown.left - TableRect.left, DeviceScale),
                                 ToDevice(shown.top - TableRect.top, DeviceScale)},
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
  if (card.IsFaceUp() && MarkByCard[card.Index()] != NO_MARK && IsMarked(card)) DrawMark(card, drawn, part);
}

namespace {

// The highlight frame: this many table pixels wide, just outside the place.
constexpr int32_t HIGHLIGHT_WIDTH = 3;
constexpr uint32_t HIGHLIGHT_COLOUR = 0x00FFD42A;

TRect Grown(const TRect& r, int32_t by) { return {r.left - by, r.top - by, r.right + by, r.bottom + by}; }

}  // namespace

void NxDeck::SetHighlight(std::optional<TRect> area) {
  if (area == Highlighted) return;
  if (Highlighted) MarkDirty(Grown(*Highlighted, HIGHLIGHT_WIDTH));
  Highlighted = area;
  if (Highlighted) MarkDirty(Grown(*Highlighted, HIGHLIGHT_WIDTH));
}

void NxDeck::DrawHighlight(const TRect& dest) {
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

bool NxDeck::BuriedFrom(size_t index) const {
  // A card lying exactly under another shows nothing: the one above covers
  // it and their masked corners coincide. Squared piles are mostly such. A
  // card above that is still on its way covers nothing yet.
  const TRect& rect = Display[index]->Rect();
  for (size_t above = index + 1; above < Display.size(); ++above)
    if (Display[above]->Rect() == rect && !GlideOf(Display[above]->Index())) return true;
  return false;
}

void NxDeck::Paint(bool useMask) {
  if (Buffer.IsEmpty()) {
    Dirty.clear();
    if (!Glides.empty()) ++GlideBatch;
    return;
  }
  for (const TRect& rect : Dirty) {
    const TRect area = rect.Intersection(TableRect);
    if (area.IsEmpty()) continue;
    const TRect dest = ToBuffer(area);
    Buffer.Combine(dest, Background, {dest.left, dest.top}, NxBitmap::RasterOp::COPY);
    // A rounded-out area reaches into cards its table rectangle misses, so
    // the test is on the pixels, not on table rectangles.
    const TRect reach = Grown(area, 1);
    bool highlightDrawn = false;
    for (size_t i = 0; i < Display.size(); ++i) {
      const NxCard* card = Display[i];
      if (!highlightDrawn && card->LayerCopy >= MOVING_LAYER) {
        DrawHighlight(dest);
        highlightDrawn = true;
      }
      // Travelling cards pass over everything that lies still.
      if (GlideOf(card->Index())) continue;
      if (card->Rect().Intersects(reach) && !BuriedFrom(i)) DrawCard(*card, dest, useMask);
    }
    if (!highlightDrawn) DrawHighlight(dest);
    for (const NxCard* card : Display)
      if (GlideOf(card->Index()) && DrawnRect(*card).Intersects(reach)) DrawCard(*card, dest, useMask);
  }
  if (Presenter) {
    for (const TRect& rect : Dirty) {
      TRect area = rect.Intersection(TableRect);
      if (!area.IsEmpty()) Presenter->Present(Buffer, area);
    }
  }
  Dirty.clear();
  // Glides started from here on belong to the table's next move.
  if (!Glides.empty()) ++GlideBatch;
}

void NxDeck::PaintArea(const TRect& area) {
  if (!LaidOut) return;
  MarkDirty(area);
  Paint(true);
}
