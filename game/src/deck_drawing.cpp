// The deck's drawing model: the display list in layer order, the dirty list
// and the composition of dirty areas into the back buffer.
#include <algorithm>

#include "game/deck.h"

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
    for (int32_t y = 0; y < picture.Height(); ++y)
      for (int32_t x = 0; x < picture.Width(); ++x)
        picture.SetPixel(x, y, picture.Pixel(x, y) & ~Mask.Pixel(x, y));
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
  DeviceScale = images ? std::max(images->Scale(), 1) : 1;
  Mask = Images ? Images->LoadImage(CARD_MASK_ID) : NxBitmap();
  Back = LoadPrepared(BackBitmapId);
  Faces.fill(NxBitmap());
  FaceLoaded.fill(false);
  for (auto& card : CardStore) {
    if (!card) continue;
    card->ForgetFace();
    card->RefreshBitmap();
  }
  Buffer = NxBitmap();
  Background = NxBitmap();
}

void NxDeck::SetBackground(const NxBitmap& picture, const TRect& table) {
  if (!(table == TableRect)) {
    TableRect = table;
    Buffer = NxBitmap();
  }
  const int32_t width = TableRect.Width() * DeviceScale, height = TableRect.Height() * DeviceScale;
  if (Buffer.Width() != width || Buffer.Height() != height) Buffer = NxBitmap(width, height);
  Background = NxBitmap(width, height);
  Background.Combine(Background.Bounds(), picture, {0, 0}, NxBitmap::RasterOp::COPY);
  MarkDirty(TableRect);
  Paint(true);
}

TRect NxDeck::ToBuffer(const TRect& tableArea) const {
  const int32_t s = DeviceScale;
  return {(tableArea.left - TableRect.left) * s, (tableArea.top - TableRect.top) * s,
          (tableArea.right - TableRect.left) * s, (tableArea.bottom - TableRect.top) * s};
}

void NxDeck::DrawCard(const NxCard& card, const TRect& area, bool useMask) {
  const NxBitmap* image = card.CurrentBitmap();
  if (!image) return;
  TRect part = card.Rect().Intersection(area);
  if (part.IsEmpty()) return;
  TPoint source{(part.left - card.Rect().left) * DeviceScale, (part.top - card.Rect().top) * DeviceScale};
  TRect dest = ToBuffer(part);
  if (useMask && !Mask.IsEmpty()) {
    Buffer.Combine(dest, Mask, source, NxBitmap::RasterOp::AND);
    Buffer.Combine(dest, *image, source, NxBitmap::RasterOp::OR);
  } else {
    Buffer.Combine(dest, *image, source, NxBitmap::RasterOp::COPY);
  }
}

void NxDeck::Paint(bool useMask) {
  if (Buffer.IsEmpty()) {
    Dirty.clear();
    return;
  }
  for (const TRect& rect : Dirty) {
    TRect area = rect.Intersection(TableRect);
    if (area.IsEmpty()) continue;
    TRect dest = ToBuffer(area);
    Buffer.Combine(dest, Background, {dest.left, dest.top}, NxBitmap::RasterOp::COPY);
    for (const NxCard* card : Display)
      if (card->Rect().Intersects(area)) DrawCard(*card, area, useMask);
  }
  if (Presenter) {
    for (const TRect& rect : Dirty) {
      TRect area = rect.Intersection(TableRect);
      if (!area.IsEmpty()) Presenter->Present(Buffer, area);
    }
  }
  Dirty.clear();
}

void NxDeck::PaintArea(const TRect& area) {
  if (!LaidOut) return;
  MarkDirty(area);
  Paint(true);
}
