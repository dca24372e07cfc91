#pragma once

#include <QImage>
#include <QStringList>

#include "app/card_faces_change.h"
#include "ui/option_dlg.h"

class QLabel;
class QListWidget;

// "Select Card Faces": every installed face deck by name, the default one
// marked, and beside the list a few cards of the selected deck spread as
// in a hand, drawn at the size the table shows them now.
class CardFacesDlg : public OptionDlg {
  Q_OBJECT

 public:
  // `decks` are the folder names of the installed face decks, `current` the
  // one in use; `scale` is device pixels per table pixel of the table as
  // drawn and `pixelRatio` device pixels per logical pixel of the screen.
  // `deckRoots` as for SvgCardImages (empty: the standard folders).
  CardFacesDlg(const QString& current, const QStringList& decks, double scale, double pixelRatio,
               QWidget* parent = nullptr, QStringList deckRoots = {});

  CardFacesChoice Choice() const;

  QListWidget& DeckList() { return *Decks; }
  // The picture the preview shows now (null without decks).
  const QImage& PreviewPicture() const { return Shown; }

 private:
  void ShowPreview();

  QListWidget* Decks;
  QLabel* Preview;
  QImage Shown;
  double Scale;
  double PixelRatio;
  QStringList Roots;
  QString Initial;
};

// A few cards of `deck` overlapping as in a hand, on the table's colour, at
// `scale` device pixels per table pixel.
QImage FaceDeckPreview(const QString& deck, double scale, const QStringList& deckRoots = {});
