#include "app/box_place.h"

#include <algorithm>
#include <cstdlib>

#include "game/card.h"
#include "game/table_geometry.h"

namespace {

// Fine enough to find the gaps between the hands at any scale, coarse
// enough to stay well under a millisecond.
constexpr int32_t STEP = 8;
// Room left between a box and the frame it stands beside.
constexpr int32_t GAP = 8;

bool IsClear(const TRect& place, const std::vector<TRect>& keepClear, const TRect& screen) {
  if (place.left < screen.left || place.top < screen.top || place.right > screen.right ||
      place.bottom > screen.bottom)
    return false;
  return std::none_of(keepClear.begin(), keepClear.end(), [&](const TRect& r) { return r.Intersects(place); });
}

}  // namespace

std::vector<TRect> TableAreasToKeepClear(const NxDeck& deck, bool handEndShown) {
  // The knock area is where the person drops a card to knock.
  std::vector<TRect> areas = {KNOCK_AREA};
  if (deck.IsLaidOut())
    for (uint32_t pile = 0; pile < deck.PileCount(); ++pile)
      for (uint32_t card : deck.PileCards(pile))
        if (const NxCard* shown = deck.Card(card); shown && shown->IsVisible()) areas.push_back(shown->Rect());
  if (handEndShown) {
    areas.push_back(HAND_END_LINE_AREA);
    areas.insert(areas.end(), std::begin(HAND_DEADWOOD_AREAS), std::end(HAND_DEADWOOD_AREAS));
  }
  return areas;
}

std::optional<TPoint> PlaceClearOf(const std::vector<TRect>& keepClear, TSize box, const TRect& window,
                                   const TRect& screen) {
  // Inside the window, the places nearest its middle first.
  std::vector<TPoint> inside;
  for (int32_t y = window.top; y + box.cy <= window.bottom; y += STEP)
    for (int32_t x = window.left; x + box.cx <= window.right; x += STEP) inside.push_back({x, y});
  const int32_t middleX = (window.left + window.right - box.cx) / 2, middleY = (window.top + window.bottom - box.cy) / 2;
  auto distance = [&](const TPoint& p) { return std::abs(p.x - middleX) + std::abs(p.y - middleY); };
  std::stable_sort(inside.begin(), inside.end(),
                   [&](const TPoint& a, const TPoint& b) { return distance(a) < distance(b); });
  for (const TPoint& p : inside)
    if (IsClear(TRect::At(p, box), keepClear, screen)) return p;
  const TPoint beside[] = {
      {window.right + GAP, middleY},
      {window.left - GAP - box.cx, middleY},
      {middleX, window.bottom + GAP},
      {middleX, window.top - GAP - box.cy},
  };
  for (const TPoint& p : beside)
    if (IsClear(TRect::At(p, box), keepClear, screen)) return p;
  return std::nullopt;
}
