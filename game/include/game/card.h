#pragma once

#include <cstdint>

#include "game/card_id.h"
#include "game/rect.h"

class NxDeck;
class NxObjectWriter;

// One of the 52 cards with its place and face on the table. Every visible
// change is reported to the deck, which keeps the display list and tells
// whoever shows the table.
class NxCard {
 public:
  NxCard(NxDeck* deck, uint32_t index, TSize size);
  virtual ~NxCard() = default;

  NxCard(const NxCard&) = delete;
  NxCard& operator=(const NxCard&) = delete;

  uint32_t Index() const { return CardIndex; }
  uint32_t Suit() const { return CardSuitIndex; }
  bool IsFaceUp() const { return FaceUp != 0; }
  bool IsVisible() const { return Visible; }
  int32_t Layer() const { return CardLayer; }
  TPoint Position() const { return Pos; }
  const TRect& Rect() const { return CardRect; }
  TSize Size() const { return CardSize; }
  // The layer it took its place in the display list with.
  int32_t DisplayLayer() const { return LayerCopy; }

  void SetFace(bool faceUp);
  void Place(TPoint position, int32_t layer, bool faceUp);
  void MoveTo(TPoint position, int32_t layer);
  void SetLayer(int32_t layer);
  void Hide();
  void Show();
  bool HitTest(TPoint point) const { return Visible && CardRect.Contains(point); }

  struct Streamer {
    static constexpr uint32_t VERSION = 1;
    static constexpr const char* NAME = "NxCard";
    static void Write(NxObjectWriter& out, const NxCard& card);
  };

 private:
  friend class NxDeck;

  void SetIdentity(uint32_t index);
  void SetPosition(TPoint position);

  uint32_t CardIndex;
  uint32_t Value;
  uint32_t CardSuitIndex;
  uint32_t FaceUp = 0;
  int32_t CardLayer = 0;
  int32_t PrevLayer = 0;
  int32_t LayerCopy = 0;
  bool Visible = false;
  TPoint Pos;
  TRect CardRect;
  TSize CardSize;
  NxDeck* Deck;
};
