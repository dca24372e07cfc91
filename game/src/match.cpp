#include "game/match.h"

#include "game/card_id.h"
#include "neural/check.h"

#include <new>
#include <vector>

namespace {
constexpr size_t MAX_FREE_BLOCKS = 256;

std::vector<void*>& FreeBlocks() {
  struct List {
    std::vector<void*> Blocks;
    ~List() {
      for (void* block : Blocks) ::operator delete(block);
    }
  };
  thread_local List list;
  return list.Blocks;
}
}  // namespace

void* NxMatch::operator new(std::size_t size) {
  auto& blocks = FreeBlocks();
  if (size != sizeof(NxMatch) || blocks.empty()) return ::operator new(size);
  void* block = blocks.back();
  blocks.pop_back();
  return block;
}

void NxMatch::operator delete(void* block, std::size_t size) {
  auto& blocks = FreeBlocks();
  if (size != sizeof(NxMatch) || blocks.size() >= MAX_FREE_BLOCKS) {
    ::operator delete(block);
    return;
  }
  blocks.push_back(block);
}

NxMatch::NxMatch(const unsigned* cards, unsigned count)
    : MatchType(MatchSet), Rank(RankOf(cards[0])), NumCards(count > 4 ? 4 : count), Cards{NoCard, NoCard, NoCard, NoCard} {
  for (unsigned i = 0; i < NumCards; ++i) Cards[i] = cards[i];
  FirstCard = Cards[0];
  LastCard = Cards[NumCards - 1];
  for (unsigned i = 0; i < NumCards; ++i) CardMask |= CardBit(Cards[i]);
}

NxMatch::NxMatch(unsigned firstCard, unsigned lastCard)
    : MatchType(MatchRun), FirstCard(firstCard), LastCard(lastCard), Rank(NUM_RANKS),
      NumCards(lastCard - firstCard + 1), Cards{NoCard, NoCard, NoCard, NoCard},
      CardMask(((uint64_t{1} << NumCards) - 1) << firstCard) {}

NxMatch::NxMatch(const NxMatch& other) { *this = other; }

NxMatch& NxMatch::operator=(const NxMatch& other) {
  if (this == &other) return *this;
  MatchType = other.MatchType;
  FirstCard = other.FirstCard;
  LastCard = other.LastCard;
  Rank = other.Rank;
  NumCards = other.NumCards;
  for (unsigned i = 0; i < 4; ++i) Cards[i] = other.Cards[i];
  IsOverlapping = other.IsOverlapping;
  CardMask = other.CardMask;
  SubMatches.Flush(false);
  for (unsigned i = 0; i < other.SubMatches.GetNumElements(); ++i) SubMatches.Add(other.SubMatches[i]);
  return *this;
}

bool NxMatch::Includes(const NxMatch& a, const NxMatch& b) {
  if (a.MatchType != b.MatchType) return false;
  if (a.MatchType == MatchRun) return a.FirstCard <= b.FirstCard && b.LastCard <= a.LastCard;
  for (unsigned i = 0; i < b.NumCards; ++i)
    if (!Contains(a, b.Cards[i])) return false;
  return true;
}

NxPtrArray<NxMatch>& NxMatch::GetSubMatches() {
  SubMatches.Flush(false);
  if (!IsOverlapping || NumCards == 3) return SubMatches;
  if (MatchType == MatchRun) {
    for (unsigned length = 3; length < NumCards; ++length)
      for (unsigned first = FirstCard; first + length - 1 <= LastCard; ++first)
        SubMatches.Add(new NxMatch(first, first + length - 1));
  } else if (NumCards == 4) {
    const unsigned* c = Cards;
    const unsigned triples[4][3] = {{c[0], c[1], c[2]}, {c[1], c[2], c[3]}, {c[0], c[2], c[3]}, {c[0], c[1], c[3]}};
    for (const auto& triple : triples) SubMatches.Add(new NxMatch(triple, 3));
  }
  for (unsigned i = 0; i < SubMatches.GetNumElements(); ++i) SubMatches[i]->IsOverlapping = true;
  return SubMatches;
}
