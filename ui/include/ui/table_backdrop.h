#pragma once

#include <QImage>
#include <QString>
#include <QStringList>
#include <string>

#include "table/bitmap.h"
#include "ui/backdrop.h"
#include "ui/scale_cache.h"
#include "ui/table_prompter.h"

class QPainter;
class QRect;
class QRegion;
class QWidget;
class TableOwner;

// The picture behind the cards: the configuration's scenery file (or the
// installed default, or the plain table), decorated once for each scale
// it is shown at, and the scenery a person chooses instead.
class TableBackdrop {
 public:
  TableBackdrop(QWidget& widget, const TableOwner& owner, const TablePrompter& prompt);

  // Reads the scenery file; what it has to say waits in `notes` until the
  // window is visible.
  void Load(double scale, QStringList& notes);
  // The scenery file was read (or found missing) once.
  bool Loaded() const { return WasLoaded; }
  // True when the chosen picture became the backdrop.
  bool ChooseFile(double scale);
  bool ChooseFrom(const std::string& file, double scale);

  // The decorated backdrop at `scale`; the scales last shown are kept.
  NxBitmap& At(double scale);
  // Fills `around`, where the window is wider or taller than the table
  // placed at `table` (device pixels), with the scenery going on past the
  // table's edges, or the plain table's colour.
  void PaintAround(QPainter& painter, const QRegion& around, const QRect& table, double scale);

 private:
  struct Scaled {
    NxBitmap Decorated;
    TurnedScenery Scenery;  // undecorated; null for the plain table
  };
  Scaled& PicturesAt(double scale);
  void Take(const QImage& tablePicture);

  QWidget& Widget;
  const TableOwner& Owner;
  const TablePrompter& Prompt;
  bool WasLoaded = false;
  QImage TablePicture;  // the scenery at table size, undecorated; null for the plain table
  ScaleCache<Scaled> Pictures{2};
  QString LastSceneryDirectory;
};
