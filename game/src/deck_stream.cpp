// Writing the deck with its cards and piles to the object stream, and
// restoring it. A stored deck is read completely and checked before any of
// it is applied, so a damaged stream leaves the deck as it was.
#include <algorithm>

#include "game/deck.h"
#include "game/object_stream.h"

namespace {
constexpr uint32_t NOT_A_CARD_TAG = 0xFFFFFFFF;
// Table geometry and layers far beyond any window; larger stored values are
// damage, and would overflow when rectangles are formed from them.
constexpr int32_t MAX_COORDINATE = 1 << 20;
}  // namespace

struct NxDeck::StoredCard {
  uint32_t Index = 0;
  TSize Size;
  uint32_t FaceUp = 0;
  bool Visible = false;
  int32_t Layer = 0;
  TPoint Position;
};

struct NxDeck::StoredPile {
  bool Stacked = false;
  uint32_t FaceUp = 0;
  int32_t BaseLayer = 0;
  TPoint Position;
  TRect Bounds;
  TPoint Offset;
  std::vector<uint32_t> Cards;
};

struct NxDeck::StoredDeck {
  uint32_t BackId = 0;
  TSize CardSize;
  TRect Table;
  uint32_t NextDeal = 0;
  bool LaidOut = false;
  std::array<StoredCard, NUM_CARDS> Cards;
  std::vector<StoredPile> Piles;
  std::vector<uint32_t> Display;
};

namespace {
void WriteRect(NxObjectWriter& out, const TRect& r) {
  out.WriteInt(r.left);
  out.WriteInt(r.top);
  out.WriteInt(r.right);
  out.WriteInt(r.bottom);
}

int32_t ReadCoordinate(NxObjectReader& in) {
  int32_t value = in.ReadInt();
  if (value < -MAX_COORDINATE || value > MAX_COORDINATE) {
    in.Fail("coordinate out of range");
    return 0;
  }
  return value;
}

TPoint ReadPoint(NxObjectReader& in) {
  TPoint p;
  p.x = ReadCoordinate(in);
  p.y = ReadCoordinate(in);
  return p;
}

TSize ReadSize(NxObjectReader& in) {
  TSize size;
  size.cx = ReadCoordinate(in);
  size.cy = ReadCoordinate(in);
  return size;
}

TRect ReadRect(NxObjectReader& in) {
  TRect r;
  r.left = ReadCoordinate(in);
  r.top = ReadCoordinate(in);
  r.right = ReadCoordinate(in);
  r.bottom = ReadCoordinate(in);
  return r;
}

// Reads a word that counts something of at most `limit` items; anything
// larger is damage and is never used to size a buffer.
uint32_t ReadCount(NxObjectReader& in, uint32_t limit, const char* what) {
  uint32_t count = in.ReadWord();
  if (count > limit) {
    in.Fail(std::string(what) + " count out of range");
    return 0;
  }
  return count;
}

// A card reference that must name a card not used before in this list.
uint32_t ReadCardReference(NxObjectReader& in, std::array<bool, NUM_CARDS>& used) {
  auto tag = in.ReadReference();
  if (!in.Good()) return NoCard;
  if (!tag || *tag >= NUM_CARDS || used[*tag]) {
    in.Fail("bad card reference");
    return NoCard;
  }
  used[*tag] = true;
  return *tag;
}
}  // namespace

void NxDeck::Streamer::Write(NxObjectWriter& out, const NxDeck& deck) {
  out.BeginObject(NAME, VERSION, &deck);
  out.WriteBool(deck.Created);
  out.WriteWord(deck.BackPictureId);
  out.WriteInt(deck.CardDims.cx);
  out.WriteInt(deck.CardDims.cy);
  WriteRect(out, deck.TableRect);
  out.WriteWord(deck.NextDealPos);
  out.WriteBool(deck.LaidOut);
  out.WriteWord(deck.NumPiles);
  if (deck.Created) {
    for (const NxCard* card : deck.Order) NxCard::Streamer::Write(out, *card);
    for (const NxHand& pile : deck.Piles) NxHand::Streamer::Write(out, pile);
    out.WriteWord(static_cast<uint32_t>(deck.Display.size()));
    for (const NxCard* card : deck.Display) out.WriteReference(card);
  }
  out.EndObject();
}

bool NxDeck::ReadStored(NxObjectReader& in, StoredDeck& stored) {
  if (!in.BeginObject(Streamer::NAME, Streamer::VERSION, NOT_A_CARD_TAG)) return false;
  if (in.ReadWord() == 0) in.Fail("initOK: the stored deck was never created");
  stored.BackId = in.ReadWord();
  stored.CardSize = ReadSize(in);
  stored.Table = ReadRect(in);
  stored.NextDeal = in.ReadWord();
  if (stored.NextDeal >= NUM_CARDS) in.Fail("next deal out of range");
  stored.LaidOut = in.ReadBool();
  stored.Piles.resize(ReadCount(in, NxHand::CAPACITY, "pile"));

  std::array<bool, NUM_CARDS> seen{};
  for (StoredCard& card : stored.Cards) {
    if (!in.BeginObject(NxCard::Streamer::NAME, NxCard::Streamer::VERSION, NOT_A_CARD_TAG)) return false;
    card.Index = in.ReadWord();
    if (card.Index >= NUM_CARDS || seen[card.Index]) {
      in.Fail("bad card index");
      return false;
    }
    seen[card.Index] = true;
    in.RetagLastObject(card.Index);
    card.Size = ReadSize(in);
    card.FaceUp = in.ReadWord() != 0 ? 1 : 0;
    card.Visible = in.ReadBool();
    card.Layer = ReadCoordinate(in);
    card.Position = ReadPoint(in);
    in.EndObject();
  }

  std::array<bool, NUM_CARDS> inPile{};
  for (StoredPile& pile : stored.Piles) {
    if (!in.BeginObject(NxHand::Streamer::NAME, NxHand::Streamer::VERSION, NOT_A_CARD_TAG)) return false;
    pile.Stacked = in.ReadBool();
    uint32_t count = ReadCount(in, NxHand::CAPACITY, "pile card");
    pile.FaceUp = in.ReadWord() != 0 ? 1 : 0;
    pile.BaseLayer = ReadCoordinate(in);
    pile.Position = ReadPoint(in);
    pile.Bounds = ReadRect(in);
    pile.Offset = ReadPoint(in);
    for (uint32_t i = 0; i < count && in.Good(); ++i) pile.Cards.push_back(ReadCardReference(in, inPile));
    in.EndObject();
  }

  uint32_t shown = ReadCount(in, NUM_CARDS, "display list");
  std::array<bool, NUM_CARDS> onDisplay{};
  for (uint32_t i = 0; i < shown && in.Good(); ++i) stored.Display.push_back(ReadCardReference(in, onDisplay));
  in.EndObject();
  return in.Good();
}

void NxDeck::Restore(const StoredDeck& stored) {
  if (stored.BackId != BackPictureId) SetCardBack(stored.BackId);
  CreateCards();
  Held = nullptr;
  CardDims = stored.CardSize;
  const bool newTable = !(stored.Table == TableRect);
  TableRect = stored.Table;
  Display.clear();
  for (uint32_t k = 0; k < NUM_CARDS; ++k) {
    const StoredCard& from = stored.Cards[k];
    NxCard* card = CardStore[from.Index].get();
    Order[k] = card;
    card->CardSize = from.Size;
    card->SetPosition(from.Position);
    card->CardLayer = from.Layer;
    card->PrevLayer = from.Layer;
    card->Visible = false;  // the display list below decides
    card->FaceUp = from.FaceUp;
  }
  NumPiles = static_cast<uint32_t>(stored.Piles.size());
  Piles.assign(NumPiles, NxHand());
  for (uint32_t p = 0; p < NumPiles; ++p) {
    const StoredPile& from = stored.Piles[p];
    NxHand& pile = Piles[p];
    pile.Reset();
    pile.Stacked = from.Stacked;
    pile.FaceUp = from.FaceUp;
    pile.BaseLayer = from.BaseLayer;
    pile.Position = from.Position;
    pile.Bounds = from.Bounds;
    pile.Offset = from.Offset;
    for (uint32_t card : from.Cards) pile.Cards[pile.Count++] = CardStore[card].get();
    PlaceStoredRow(pile);
  }
  for (uint32_t index : stored.Display) {
    NxCard* card = CardStore[index].get();
    card->Visible = true;
    InsertIntoDisplay(card);
  }
  NextDealPos = stored.NextDeal;
  LaidOut = stored.LaidOut;
  if (Observer) Observer->Restored(newTable);
}

// A row is stored where it was laid out. One lying evenly from its first
// card, as every version lays a row out, stands where this version lays it
// out: an eleven-card hand stored before hands were centred is centred as
// well. A row broken up at a hand's end keeps its stored places.
void NxDeck::PlaceStoredRow(NxHand& pile) {
  if (pile.Stacked || pile.Count == 0) return;
  const TPoint first = pile.Cards[0]->Position();
  for (uint32_t i = 1; i < pile.Count; ++i) {
    const TPoint at = pile.Cards[i]->Position();
    const int32_t steps = static_cast<int32_t>(i);
    if (at.x != first.x + steps * pile.Offset.x || at.y != first.y + steps * pile.Offset.y) return;
  }
  for (uint32_t i = 0; i < pile.Count; ++i) pile.Cards[i]->SetPosition(pile.SlotCorner(i));
  pile.Measure(CardDims);
}

bool NxDeck::Streamer::Read(NxObjectReader& in, NxDeck& deck) {
  StoredDeck stored;
  if (!ReadStored(in, stored)) return false;
  deck.Restore(stored);
  return true;
}
