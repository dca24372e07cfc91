#pragma once

#include <QImage>

// How tall the index in a card face's top-left corner is: the rank and,
// below it, the suit sign, in the picture's pixels. Zero when no such mark
// was found (a corner without an index, or one drawn into a frame).
struct CornerIndex {
  int RankHeight = 0;
  int SuitHeight = 0;
  int RankWidth = 0;
};

// Looks for the ink in the top-left corner of a face (number cards measure
// best: court pictures reach into the corner): the topmost marks side by
// side are the rank, the next mark below them the suit. Marks touching the
// corner's edges or running along them (borders) are not indices.
CornerIndex MeasureCornerIndex(const QImage& face);
