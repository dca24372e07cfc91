// Glides: the picture shows a moved card travelling to its new place. The
// card is at that place from the first moment, for every rule, hit test and
// saved game; only the drawing lags behind, so switching glides off, or
// finishing them early, can never change what happens at the table.
#include <algorithm>
#include <cmath>

#include "game/card.h"
#include "table/table_picture.h"

namespace {

// A long move (pile to hand) takes about a quarter of a second; a short
// one (a hand closing its gap, a card raised) about half that.
constexpr int32_t LONG_GLIDE_MS = 260;
constexpr int32_t SHORT_GLIDE_MS = 130;
constexpr int32_t SHORT_GLIDE_DISTANCE = 40;
// Dealt cards leave the stock one after another.
constexpr int32_t DEAL_INTERVAL_MS = 45;

int32_t GlideDuration(TPoint from, TPoint to) {
  const int32_t dx = to.x - from.x, dy = to.y - from.y;
  return dx * dx + dy * dy <= SHORT_GLIDE_DISTANCE * SHORT_GLIDE_DISTANCE ? SHORT_GLIDE_MS : LONG_GLIDE_MS;
}

// Quick to leave, gentle to arrive.
double EaseOut(double t) { return 1.0 - (1.0 - t) * (1.0 - t); }

}  // namespace

void NxTablePicture::SetGlides(bool on) {
  if (!on) FinishGlides();
  GlidesEnabled = on;
}

CardGlide* NxTablePicture::GlideOf(uint32_t card) {
  for (CardGlide& glide : Glides)
    if (glide.Card == card) return &glide;
  return nullptr;
}

const CardGlide* NxTablePicture::GlideOf(uint32_t card) const {
  for (const CardGlide& glide : Glides)
    if (glide.Card == card) return &glide;
  return nullptr;
}

TPoint NxTablePicture::GlidePoint(const CardGlide& glide) const {
  const TPoint to = Deck.Card(glide.Card)->Position();
  if (glide.Elapsed <= 0) return glide.From;
  const double t = EaseOut(std::min(1.0, static_cast<double>(glide.Elapsed) / glide.Duration));
  return {glide.From.x + static_cast<int32_t>(std::lround((to.x - glide.From.x) * t)),
          glide.From.y + static_cast<int32_t>(std::lround((to.y - glide.From.y) * t))};
}

TRect NxTablePicture::DrawnRect(const NxCard& card) const {
  const CardGlide* glide = GlideOf(card.Index());
  if (!glide) return card.Rect();
  if (glide->Elapsed < 0 && glide->Unseen) return {};
  return TRect::At(GlidePoint(*glide), card.Size());
}

void NxTablePicture::CardChanged(const NxCard& card) {
  // The card's place and, while it glides, where it is drawn.
  MarkDirty(card.Rect());
  if (GlideOf(card.Index())) MarkDirty(DrawnRect(card));
}

void NxTablePicture::StartGlide(uint32_t card, TPoint from, TPoint to, int32_t delay, bool unseen) {
  if (from == to) return;
  Glides.push_back({card, from, -delay, GlideDuration(from, to), unseen, GlideBatch});
}

int32_t NxTablePicture::QueueDelay() const {
  // One move of the table's moves one card after the other (the computer's
  // take arrives before its discard leaves); the cards of one move, such as
  // a hand closing its gap, travel together.
  int32_t delay = 0;
  for (const CardGlide& glide : Glides)
    if (glide.Batch != GlideBatch) delay = std::max(delay, glide.Duration - glide.Elapsed);
  return delay;
}

void NxTablePicture::CardMoving(const NxCard& card, TPoint to) {
  CardGlide* glide = GlideOf(card.Index());
  // The card in the person's hand follows the mouse without delay.
  if (!GlidesEnabled || &card == Deck.HeldCard()) {
    if (glide) Glides.erase(Glides.begin() + (glide - Glides.data()));
    return;
  }
  if (!glide) {
    StartGlide(card.Index(), card.Position(), to, QueueDelay(), false);
    return;
  }
  // A card still waiting to be dealt keeps its start; one on its way turns
  // towards the new place from where it is drawn now.
  if (glide->Elapsed < 0) return;
  glide->From = GlidePoint(*glide);
  glide->Elapsed = 0;
  glide->Duration = GlideDuration(glide->From, to);
}

void NxTablePicture::CardDealt(const NxCard& card) {
  if (!GlidesEnabled || GlideOf(card.Index()) || card.Position() == Deck.DealOrigin()) return;
  StartGlide(card.Index(), Deck.DealOrigin(), card.Position(), static_cast<int32_t>(DealtInTurn) * DEAL_INTERVAL_MS,
             true);
  ++DealtInTurn;
}

void NxTablePicture::AdvanceGlides(uint32_t milliseconds) {
  if (Glides.empty()) return;
  const int32_t step = static_cast<int32_t>(std::min<uint32_t>(milliseconds, 1000));
  for (CardGlide& glide : Glides) {
    const NxCard& card = *Deck.Card(glide.Card);
    if (card.IsVisible()) MarkDirty(DrawnRect(card));
    glide.Elapsed += step;
    if (card.IsVisible()) MarkDirty(DrawnRect(card));
  }
  std::erase_if(Glides, [](const CardGlide& glide) { return glide.Elapsed >= glide.Duration; });
  if (Glides.empty()) DealtInTurn = 0;
  Paint(true);
}

void NxTablePicture::FinishGlides() {
  if (Glides.empty()) return;
  for (const CardGlide& glide : Glides) {
    const NxCard& card = *Deck.Card(glide.Card);
    if (card.IsVisible()) {
      MarkDirty(DrawnRect(card));
      MarkDirty(card.Rect());
    }
  }
  Glides.clear();
  DealtInTurn = 0;
  Paint(true);
}
