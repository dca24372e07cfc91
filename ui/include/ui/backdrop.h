#pragma once

#include <array>
#include <cstdint>

#include <QImage>

class QPainter;
class QRect;
class QRegion;

// Backdrop pictures are TABLE_AREA.Width() x TABLE_AREA.Height() table pixels, held at
// scale times that size (Format_RGB32) so that a high-density screen shows
// them without blur.

constexpr QRgb PLAIN_BACKDROP_COLOUR = 0xFF800080;  // red 128, green 0, blue 128

// The plain purple surface with the decorations.
QImage PlainBackdrop(double scale);

// Draws the table's fixed marks (three outlines with open corners, five
// labels) into a backdrop of scale times the table size, in white or black
// by the brightness of its knock area.
void DrawDecorations(QImage& backdrop, double scale);

// A table-sized picture (such as BACKIMG.QLF) brought to scale s, and the
// same decorated.
QImage SceneryAt(const QImage& tablePicture, double scale);
QImage DecoratedBackdrop(const QImage& tablePicture, double scale);

// The scenery at the table's scale ([0]) and turned over across ([1]),
// down ([2]) and both ways ([3]); the turned ones are made when first drawn.
using TurnedScenery = std::array<QImage, 4>;

// Fills `around` with the scenery going on from the table placed at
// `table`, turned over at each of its edges: a window of another shape than
// the table's shows one surface, with no seam where the table ends, at any
// size and scale.
void DrawMirroredAround(QPainter& painter, const QRegion& around, const QRect& table, TurnedScenery& turned);

// Stretches any picture to the table size (the form BACKIMG.QLF keeps).
QImage StretchToTable(const QImage& picture);
