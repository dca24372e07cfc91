#pragma once

#include <QDir>
#include <QPixmap>
#include <QString>
#include <QWidget>
#include "scratch/scratch_installation.h"

// The widget as it paints itself at a device pixel ratio, the way a
// screen of that ratio shows it.
inline QImage Rendered(QWidget& widget, qreal ratio) {
  QPixmap pixmap(widget.size() * ratio);
  pixmap.setDevicePixelRatio(ratio);
  pixmap.fill(Qt::transparent);
  widget.render(&pixmap);
  return pixmap.toImage();
}

// Saves the picture when QUORLA_UI_SHOTS names a directory, so that a person
// can look at what the tests drew.
inline void SaveShot(const QImage& image, const QString& name) {
  const QString dir = qEnvironmentVariable("QUORLA_UI_SHOTS");
  if (!dir.isEmpty()) image.save(QDir(dir).filePath(name));
}
