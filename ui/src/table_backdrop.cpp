// The game table's backdrop: the scenery file read and decorated at each
// scale, and a scenery picture chosen with the file dialog.
#include "ui/table_backdrop.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPainter>
#include <QStandardPaths>
#include <QWidget>
#include <filesystem>

#include "game/text_ids.h"
#include "ui/backdrop.h"
#include "ui/backdrop_loading.h"
#include "ui/image_convert.h"
#include "ui/resource_text.h"
#include "ui/scenery_picture.h"
#include "ui/table_owner.h"

namespace {

constexpr const char* BACKDROP_FILE = "BACKIMG.QLF";

QMessageBox::Icon ToQtIcon(BackdropIcon icon) {
  switch (icon) {
    case BackdropIcon::INFORMATION: return QMessageBox::Information;
    case BackdropIcon::QUESTION: return QMessageBox::Question;
    default: return QMessageBox::Warning;
  }
}

}  // namespace

TableBackdrop::TableBackdrop(QWidget& widget, const TableOwner& owner, const TablePrompter& prompt)
    : Widget(widget), Owner(owner), Prompt(prompt) {}

void TableBackdrop::Load(double scale, QStringList& notes) {
  std::string path = Owner.ConfigDirectory() + BACKDROP_FILE;
  if (!std::filesystem::exists(path)) path = Owner.InstallDirectory() + BACKDROP_FILE;
  BackdropLoad load = LoadBackdrop(path, scale, *Owner.Settings().Store, ScreenColorResolution());
  WasLoaded = true;
  for (const BackdropMessage& message : load.Messages) {
    if (Widget.isVisible())
      Prompt(QString::fromStdString(message.Caption), QString::fromStdString(message.Text), ToQtIcon(message.Icon),
             false);
    else
      notes << QString::fromStdString(message.Caption + ": " + message.Text);
  }
  Take(load.Picture);
}

bool TableBackdrop::ChooseFile(double scale) {
  // A first choice starts where people keep their pictures.
  QString start = LastSceneryDirectory;
  if (start.isEmpty()) start = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
  if (!QDir(start).exists()) start = QDir::homePath();
  const QString file = QFileDialog::getOpenFileName(&Widget, ResourceText(SCENERY_TITLE), start,
                                                    SceneryFileFilters(ResourceText(SCENERY_PICTURES_FILTER),
                                                                       ResourceText(SCENERY_FILTER)));
  if (file.isEmpty()) return false;
  LastSceneryDirectory = QFileInfo(file).absolutePath();
  return ChooseFrom(file.toStdString(), scale);
}

bool TableBackdrop::ChooseFrom(const std::string& file, double scale) {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  auto ask = [this](const BackdropMessage& question) {
    return Prompt(QString::fromStdString(question.Caption), QString::fromStdString(question.Text),
                  QMessageBox::Question, true);
  };
  SceneryChoice choice =
      ChooseScenery(file, Owner.ConfigDirectory() + BACKDROP_FILE, scale, ScreenColorResolution(), ask);
  QApplication::restoreOverrideCursor();
  if (choice.Message)
    Prompt(QString::fromStdString(choice.Message->Caption), QString::fromStdString(choice.Message->Text),
           ToQtIcon(choice.Message->Icon), false);
  if (choice.Backdrop.isNull()) return false;
  Take(choice.Picture);
  return true;
}

TableBackdrop::Scaled& TableBackdrop::PicturesAt(double scale) {
  Scaled& pictures = Pictures.At(scale);
  if (pictures.Decorated.IsEmpty()) {
    if (TablePicture.isNull()) {
      pictures.Decorated = ToNxBitmap(PlainBackdrop(scale));
    } else {
      pictures.Scenery[0] = SceneryAt(TablePicture, scale);
      QImage decorated = pictures.Scenery[0].copy();
      DrawDecorations(decorated, scale);
      pictures.Decorated = ToNxBitmap(decorated);
    }
  }
  return pictures;
}

NxBitmap& TableBackdrop::At(double scale) { return PicturesAt(scale).Decorated; }

void TableBackdrop::PaintAround(QPainter& painter, const QRegion& around, const QRect& table, double scale) {
  TurnedScenery& scenery = PicturesAt(scale).Scenery;
  if (!scenery[0].isNull() && scenery[0].size() == table.size()) {
    DrawMirroredAround(painter, around, table, scenery);
    return;
  }
  for (const QRect& rect : around) painter.fillRect(rect, QColor::fromRgb(PLAIN_BACKDROP_COLOUR));
}

void TableBackdrop::Take(const QImage& tablePicture) {
  TablePicture = tablePicture;
  Pictures.Clear();
}
