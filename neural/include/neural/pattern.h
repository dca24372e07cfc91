#pragma once

#include "neural/export.h"
#include "neural/geometry.h"
#include "neural/support.h"

/// A two-dimensional grid of unsigned cells, row-major: cell (x, y) is element
/// y * cx + x.
class NX_EXPORT NxPattern {
 public:
  NxPattern();
  NxPattern(TSize size, unsigned initialValue);
  NxPattern(const NxPattern& other);
  NxPattern(TSize size, const NxPattern& cells);
  NxPattern& operator=(const NxPattern& other);

  virtual ~NxPattern();
  virtual TSize& GetSize();
  virtual unsigned GetLayoutValue(unsigned x, unsigned y) const;
  virtual unsigned GetLayoutValue(const TPoint& index) const;
  virtual void SetLayoutValue(unsigned x, unsigned y, unsigned value);
  virtual void SetLayoutValue(const TPoint& index, unsigned value);

  const TSize& Size() const { return Dimensions; }

 protected:
  TSize Dimensions;
  NxArray<unsigned> Layout;
};

/// A receptive-field mapping: which cells of the field connect (nonzero), how
/// far the field moves per target node, where the field of node (0, 0)
/// starts, and whether the geometry check is skipped.
class NX_EXPORT NxOverlapPattern : public NxPattern {
 public:
  NxOverlapPattern();
  NxOverlapPattern(const TSize& size, const NxPattern& cells, const TSize& step, const TSize& offset,
                   unsigned skipValidation);
  NxOverlapPattern(const TSize& size, unsigned initialValue, const TSize& step, const TSize& offset,
                   unsigned skipValidation);
  NxOverlapPattern(const NxOverlapPattern& other);
  NxOverlapPattern& operator=(const NxOverlapPattern& other);

  ~NxOverlapPattern() override;
  virtual unsigned GetNumElements() const;
  virtual unsigned GetSkipValidation() const;
  virtual TSize GetStep() const;
  virtual TSize GetOffset() const;

 private:
  TSize Step;
  TSize Offset;
  unsigned SkipValidation;
};
