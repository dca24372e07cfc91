#include "game/card.h"

#include "game/deck.h"
#include "game/object_stream.h"

NxCard::NxCard(NxDeck* deck, uint32_t index, TSize size) : CardSize(size), Deck(deck) {
  SetIdentity(index);
  SetPosition({0, 0});
}

void NxCard::SetIdentity(uint32_t index) {
  CardIndex = index;
  Value = RankOf(index) + 1;
  CardSuitIndex = SuitOf(index);
}

void NxCard::SetPosition(TPoint position) {
  Pos = position;
  CardRect = TRect::At(position, CardSize);
}

void NxCard::SetFace(bool faceUp) {
  if (static_cast<uint32_t>(faceUp) == FaceUp) return;
  FaceUp = faceUp ? 1 : 0;
  if (Visible) Deck->CardChanged(*this);
}

void NxCard::Place(TPoint position, int32_t layer, bool faceUp) {
  if (Visible) {
    MoveTo(position, layer);
    SetFace(faceUp);
    return;
  }
  SetPosition(position);
  PrevLayer = CardLayer;
  CardLayer = layer;
  SetFace(faceUp);
  Deck->CardPlaced(*this);
  Show();
}

void NxCard::MoveTo(TPoint position, int32_t layer) {
  if (layer != CardLayer) SetLayer(layer);
  if (position == Pos) return;
  if (Visible) {
    Deck->CardChanged(*this);
    Deck->CardMoving(*this, position);
  }
  SetPosition(position);
  if (Visible) Deck->CardChanged(*this);
}

void NxCard::SetLayer(int32_t layer) {
  PrevLayer = CardLayer;
  CardLayer = layer;
  if (!Visible) return;
  Deck->RemoveFromDisplay(this);
  Deck->InsertIntoDisplay(this);
  Deck->CardChanged(*this);
}

void NxCard::Hide() {
  if (!Visible) return;
  Visible = false;
  Deck->RemoveFromDisplay(this);
  Deck->CardChanged(*this);
}

void NxCard::Show() {
  if (Visible) return;
  Visible = true;
  Deck->InsertIntoDisplay(this);
  Deck->CardChanged(*this);
}

void NxCard::Streamer::Write(NxObjectWriter& out, const NxCard& card) {
  out.BeginObject(NAME, VERSION, &card);
  out.WriteWord(card.CardIndex);
  out.WriteInt(card.CardSize.cx);
  out.WriteInt(card.CardSize.cy);
  out.WriteWord(card.FaceUp);
  out.WriteBool(card.Visible);
  out.WriteInt(card.CardLayer);
  out.WriteInt(card.Pos.x);
  out.WriteInt(card.Pos.y);
  out.EndObject();
}
