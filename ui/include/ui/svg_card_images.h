#pragma once

#include <QImage>
#include <QString>
#include <QStringList>
#include <map>
#include <memory>

#include "table/image_provider.h"
#include "ui/scale_cache.h"

class QSvgRenderer;

// Card pictures rendered from the SVG card decks of the card-data package:
// the faces from the face deck the player chose (by default the one with
// the largest corner indices), the ten backs from ten different decks, and
// the mask drawn by rule. Without the decks the cards are drawn plainly
// by the game, and MissingDecksMessage() says what to install.
class SvgCardImages : public NxImageProvider {
 public:
  // The face deck whose corner indices are largest at the table's normal
  // size (measured with ui-contact-sheet's "faces" mode): rank 16 and suit
  // 17 pixels high on a 69 x 96 card, against 12 and 9 of the classic deck.
  static constexpr const char* FACE_DECK = "svg-nicu-white";
  static constexpr const char* PACKAGE = "kdegames-card-data-kf5";

  // deckRoots are the folders holding the deck folders (svg-standard, ...);
  // empty means "carddecks" in each of the standard data directories.
  explicit SvgCardImages(double scale = 1.0, QStringList deckRoots = {});
  ~SvgCardImages() override;

  NxBitmap LoadImage(uint32_t resourceId) override;
  double Scale() const override { return ScaleFactor; }
  // Pictures loaded from now on are drawn at `scale`; the decks stay loaded.
  void SetScale(double scale) { ScaleFactor = scale > 0 ? scale : 1.0; }

  // Draws the faces from the deck folder `deck` (svg-...) when it is
  // installed and loads; false leaves the faces as they were.
  bool SetFaceDeck(const QString& deck);
  const QString& FaceDeck() const { return Faces; }

  // The same picture as a QImage (null for an unknown id), for dialogs that
  // show a card.
  QImage Picture(uint32_t resourceId);

  // Empty when the face deck was found; otherwise one sentence naming the
  // package to install.
  QString MissingDecksMessage() const;

  static QStringList StandardDeckRoots();
  // The deck folders under `roots` that hold an SVG file, each name once,
  // sorted; empty roots mean the standard ones.
  static QStringList InstalledDecks(const QStringList& roots = {});
  // The folder names of the decks whose backs are the ten card backs.
  static const QStringList& BackDecks();

 private:
  // The renderer of a deck folder's SVG file, loaded once; null when the
  // deck is not installed or does not load.
  QSvgRenderer* Renderer(const QString& deck);
  QString DeckFile(const QString& deck) const;
  QImage Render(QSvgRenderer* renderer, const QString& element);
  // The unmasked picture of a face or back; null for other ids.
  QImage Artwork(uint32_t resourceId);
  // The mask at the current scale, made once per scale: every picture
  // loaded at that scale is cut by it.
  const NxBitmap& Mask();
  // A face or back at the current scale, cut by the mask.

  NxBitmap Draw(uint32_t resourceId);

  // Two scales: the window's size now and the one before.
  static constexpr size_t SCALES_KEPT = 2;
  double ScaleFactor;
  ScaleCache<std::map<uint32_t, NxBitmap>> Drawn{SCALES_KEPT};
  QStringList Roots;
  std::map<QString, std::unique_ptr<QSvgRenderer>> Renderers;
  QString Faces = QString::fromLatin1(FACE_DECK);
  bool FacesFound;
};

// The element id of a card's face in the decks: "1_heart", "10_club", "queen_spade", ...
QString CardElementId(uint32_t cardId);
