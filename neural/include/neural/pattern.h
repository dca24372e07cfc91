#pragma once

/// @file pattern.h
/// @brief Grids of cells: NxPattern, and NxOverlapPattern for the
/// receptive-field mappings between layers.

#include "neural/export.h"
#include "neural/geometry.h"
#include "neural/support.h"

/// A two-dimensional grid of unsigned cells, row-major: cell (x, y) is element
/// y * cx + x.
///
/// Cell access outside the grid stops the program through NX_CHECK.
class NX_EXPORT NxPattern {
 public:
  /// An empty 0 x 0 grid.
  NxPattern();
  /// A grid of `size` with every cell `initialValue`; a size with a
  /// dimension of 0 or less has no cells.
  NxPattern(TSize size, unsigned initialValue);
  /// Copies size and cells.
  NxPattern(const NxPattern& other);
  /// A grid of `size` holding the cells of `cells` in order, padded with
  /// zeros when it has fewer.
  NxPattern(TSize size, const NxPattern& cells);
  /// Copies size and cells.
  NxPattern& operator=(const NxPattern& other);

  virtual ~NxPattern();
  /// The size, writable in place: changing it does not resize the cells.
  virtual TSize& GetSize();
  /// The cell at (x, y), or at `index`.
  ///@{
  virtual unsigned GetLayoutValue(unsigned x, unsigned y) const;
  virtual unsigned GetLayoutValue(const TPoint& index) const;
  ///@}
  /// Sets the cell at (x, y), or at `index`.
  ///@{
  virtual void SetLayoutValue(unsigned x, unsigned y, unsigned value);
  virtual void SetLayoutValue(const TPoint& index, unsigned value);
  ///@}

  const TSize& Size() const { return Dimensions; }  ///< the size, read-only

 protected:
  TSize Dimensions;          ///< cells across (cx) and down (cy)
  NxArray<unsigned> Layout;  ///< the cells, row by row
};

/// A receptive-field mapping: which cells of the field connect (nonzero), how
/// far the field moves per target node, where the field of node (0, 0)
/// starts, and whether the geometry check is skipped.
///
/// The field of target node (x, y) starts at source cell (x * step.cx +
/// offset.cx, y * step.cy + offset.cy). A step smaller than the field makes
/// neighbouring fields overlap.
class NX_EXPORT NxOverlapPattern : public NxPattern {
 public:
  /// An empty field with step and offset 0.
  NxOverlapPattern();
  /// A field of `size` whose connected cells are the nonzero ones of
  /// `cells`; a nonzero `skipValidation` spares the mapping
  /// NxBaseLayer::ValidateSourcePatterns().
  NxOverlapPattern(const TSize& size, const NxPattern& cells, const TSize& step, const TSize& offset,
                   unsigned skipValidation);
  /// A field of `size` with every cell `initialValue` (nonzero: every cell
  /// connects).
  NxOverlapPattern(const TSize& size, unsigned initialValue, const TSize& step, const TSize& offset,
                   unsigned skipValidation);
  /// Copies the field, step, offset and check setting.
  ///@{
  NxOverlapPattern(const NxOverlapPattern& other);
  NxOverlapPattern& operator=(const NxOverlapPattern& other);
  ///@}

  ~NxOverlapPattern() override;
  /// The number of connected (nonzero) cells.
  virtual unsigned GetNumElements() const;
  /// Nonzero when the geometry check is skipped.
  virtual unsigned GetSkipValidation() const;
  /// How far the field moves from one target node to the next.
  virtual TSize GetStep() const;
  /// Where the field of target node (0, 0) starts in the source layer.
  virtual TSize GetOffset() const;

 private:
  TSize Step;
  TSize Offset;
  unsigned SkipValidation;
};
