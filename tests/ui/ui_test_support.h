#pragma once

#include <QDir>
#include <QPixmap>
#include <QString>
#include <QWidget>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "player/data_paths.h"

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

// A fresh directory holding the shipped networks as the defaults and as the
// player's learned file, made the program's installation and configuration
// directory. The caller removes it.
inline std::filesystem::path MakeScratchInstallation(const std::string& kind) {
  namespace fs = std::filesystem;
  static int counter = 0;
  const fs::path root =
      fs::temp_directory_path() / ("quorla-" + kind + "-" + std::to_string(getpid()) + "-" + std::to_string(++counter));
  fs::remove_all(root);
  fs::create_directories(root);
  fs::copy_file(QUORLA_DEFAULT_DATA, root / "QLDEFLT.QLF");
  fs::copy_file(QUORLA_DEFAULT_DATA, root / "QLPLAY.QLF");
  data_paths::SetInstallationDirectory(root.string());
  data_paths::SetConfigurationDirectory(root.string());
  return root;
}
