#pragma once

#include <cstdint>

#include <QImage>

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

// A table-sized picture (such as BACKIMG.QLF) brought to scale s and decorated.
QImage DecoratedBackdrop(const QImage& tablePicture, double scale);

// The mean colour of a picture's outermost pixels: what the window shows
// around the table so that the scenery seems to go on.
QRgb EdgeColour(const QImage& picture);

// Stretches any picture to the table size (the form BACKIMG.QLF keeps).
QImage StretchToTable(const QImage& picture);
