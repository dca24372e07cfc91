#include "neural/pattern.h"

#include "neural/check.h"

namespace {

unsigned CellCount(TSize size) {
  if (size.cx <= 0 || size.cy <= 0) return 0;
  return static_cast<unsigned>(size.cx) * static_cast<unsigned>(size.cy);
}

}  // namespace

NxPattern::NxPattern() : Dimensions{0, 0}, Layout(0, 10) {}

NxPattern::NxPattern(TSize size, unsigned initialValue) : Dimensions(size), Layout(CellCount(size), 10) {
  for (unsigned i = 0, n = CellCount(size); i < n; ++i) Layout.Add(initialValue);
}

NxPattern::NxPattern(const NxPattern&) = default;

NxPattern::NxPattern(TSize size, const NxPattern& cells) : Dimensions(size), Layout(cells.Layout) {
  // A pattern with fewer cells than the size asks for is padded with zeros.
  while (Layout.GetNumItems() < CellCount(size)) Layout.Add(0);
}

NxPattern& NxPattern::operator=(const NxPattern&) = default;

NxPattern::~NxPattern() = default;

TSize& NxPattern::GetSize() { return Dimensions; }

unsigned NxPattern::GetLayoutValue(unsigned xIndex, unsigned yIndex) const {
  NX_CHECK(xIndex < (unsigned)Dimensions.cx && yIndex < (unsigned)Dimensions.cy);
  return Layout[yIndex * Dimensions.cx + xIndex];
}

unsigned NxPattern::GetLayoutValue(const TPoint& index) const {
  NX_CHECK(index.x < Dimensions.cx && index.y < Dimensions.cy);
  NX_CHECK(index.x > -1 && index.y > -1);
  return Layout[index.y * Dimensions.cx + index.x];
}

void NxPattern::SetLayoutValue(unsigned xIndex, unsigned yIndex, unsigned value) {
  NX_CHECK(xIndex < (unsigned)Dimensions.cx && yIndex < (unsigned)Dimensions.cy);
  Layout[yIndex * Dimensions.cx + xIndex] = value;
}

void NxPattern::SetLayoutValue(const TPoint& index, unsigned value) {
  NX_CHECK(index.x < Dimensions.cx && index.y < Dimensions.cy);
  NX_CHECK(index.x > -1 && index.y > -1);
  Layout[index.y * Dimensions.cx + index.x] = value;
}

NxOverlapPattern::NxOverlapPattern() : Step{0, 0}, Offset{0, 0}, SkipValidation(0) {}

NxOverlapPattern::NxOverlapPattern(const TSize& size, const NxPattern& cells, const TSize& step,
                                   const TSize& offset, unsigned skipValidation)
    : NxPattern(size, cells), Step(step), Offset(offset), SkipValidation(skipValidation) {}

NxOverlapPattern::NxOverlapPattern(const TSize& size, unsigned initialValue, const TSize& step,
                                   const TSize& offset, unsigned skipValidation)
    : NxPattern(size, initialValue), Step(step), Offset(offset), SkipValidation(skipValidation) {}

NxOverlapPattern::NxOverlapPattern(const NxOverlapPattern&) = default;

NxOverlapPattern& NxOverlapPattern::operator=(const NxOverlapPattern&) = default;

NxOverlapPattern::~NxOverlapPattern() = default;

unsigned NxOverlapPattern::GetNumElements() const {
  unsigned count = 0;
  for (unsigned i = 0; i < Layout.GetNumItems(); ++i) count += Layout[i] != 0;
  return count;
}

unsigned NxOverlapPattern::GetSkipValidation() const { return SkipValidation; }

TSize NxOverlapPattern::GetStep() const { return Step; }

TSize NxOverlapPattern::GetOffset() const { return Offset; }
