// The picture's life with its deck and its card pictures: loading them
// against the mask, and starting afresh when the deck does.
#include "table/table_picture.h"

#include "game/card.h"

NxTablePicture::NxTablePicture(NxDeck& deck, NxImageProvider* images) : Deck(deck) {
  Deck.SetObserver(this);
  SetImages(images);
}

NxTablePicture::~NxTablePicture() { Deck.SetObserver(nullptr); }

NxBitmap NxTablePicture::LoadPrepared(uint32_t resourceId) {
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

const NxBitmap* NxTablePicture::FaceImage(uint32_t cardIndex) {
  if (cardIndex >= NUM_CARDS || !Images) return nullptr;
  // A face is drawn at the present size when it is first shown: rendering
  // every face-up card ahead would include the buried ones.
  if (!FaceLoaded[cardIndex]) {
    Faces[cardIndex] = LoadPrepared(CARD_FACE_BASE_ID + cardIndex);
    FaceLoaded[cardIndex] = true;
  }
  return Faces[cardIndex].IsEmpty() ? nullptr : &Faces[cardIndex];
}

void NxTablePicture::SetImages(NxImageProvider* images) {
  Images = images;
  DeviceScale = images ? images->Scale() : 1.0;
  // The mask first: every picture is prepared against it.
  Mask = Images ? Images->LoadImage(CARD_MASK_ID) : NxBitmap();
  Back = LoadPrepared(Deck.BackId());
  Faces.fill(NxBitmap());
  FaceLoaded.fill(false);
  Spares.Give(Buffer);
  Spares.Give(Background);
}

void NxTablePicture::BackChanged() {
  Back = LoadPrepared(Deck.BackId());
  for (uint32_t i = 0; i < NUM_CARDS; ++i) {
    const NxCard* card = Deck.Card(i);
    if (card && !card->IsFaceUp() && card->IsVisible()) MarkDirty(card->Rect());
  }
}

void NxTablePicture::Gathered() {
  // A new deal starts from a squared stock: nothing still travels.
  Glides.clear();
  DealtInTurn = 0;
}

void NxTablePicture::Restored(bool newTable) {
  if (newTable) Buffer = NxBitmap();
  Dirty.clear();
  Glides.clear();
  DealtInTurn = 0;
  MarkDirty(Deck.Table());
}
