#include "ui/svg_card_images.h"

#include <QDir>
#include <QPainter>
#include <QStandardPaths>
#include <QSvgRenderer>

#include "ui/card_mask.h"
#include "ui/image_convert.h"
#include "ui/plain_cards.h"
#include "table/device_pixels.h"
#include "game/table_geometry.h"
#include "game/text_ids.h"
#include "ui/resource_text.h"

namespace {

constexpr uint32_t CARD_COUNT = 52;

QString FirstSvgIn(const QDir& dir) {
  const QStringList files = dir.entryList({QStringLiteral("*.svgz"), QStringLiteral("*.svg")}, QDir::Files,
                                          QDir::Name);
  return files.isEmpty() ? QString() : dir.filePath(files.first());
}

}  // namespace

QString CardElementId(uint32_t cardId) {
  static const char* const suits[] = {"heart", "diamond", "spade", "club"};
  static const char* const courts[] = {"jack", "queen", "king"};
  const uint32_t rank = cardId % 13;
  const QString name = rank >= 10 ? QString::fromLatin1(courts[rank - 10]) : QString::number(rank + 1);
  return name + QLatin1Char('_') + QString::fromLatin1(suits[(cardId / 13) % 4]);
}

SvgCardImages::SvgCardImages(double scale, QStringList deckRoots)
    : ScaleFactor(scale > 0 ? scale : 1.0), Roots(deckRoots.isEmpty() ? StandardDeckRoots() : std::move(deckRoots)) {
  FacesFound = Renderer(Faces) != nullptr;
}

bool SvgCardImages::SetFaceDeck(const QString& deck) {
  if (!Renderer(deck)) return false;
  if (deck != Faces) Drawn.Clear();
  Faces = deck;
  FacesFound = true;
  return true;
}

SvgCardImages::~SvgCardImages() = default;

QStringList SvgCardImages::StandardDeckRoots() {
  QStringList roots = QStandardPaths::locateAll(QStandardPaths::GenericDataLocation, QStringLiteral("carddecks"),
                                                QStandardPaths::LocateDirectory);
  // Where the distribution's package puts them, should the data directories
  // have been narrowed.
  const QString packaged = QStringLiteral("/usr/share/carddecks");
  if (!roots.contains(packaged) && QDir(packaged).exists()) roots.append(packaged);
  return roots;
}

QStringList SvgCardImages::InstalledDecks(const QStringList& roots) {
  QStringList decks;
  for (const QString& root : roots.isEmpty() ? StandardDeckRoots() : roots)
    for (const QString& deck : QDir(root).entryList({QStringLiteral("svg-*")}, QDir::Dirs, QDir::Name))
      if (!decks.contains(deck) && !FirstSvgIn(QDir(QDir(root).filePath(deck))).isEmpty()) decks.append(deck);
  decks.sort();
  return decks;
}

const QStringList& SvgCardImages::BackDecks() {
  static const QStringList decks{
      QStringLiteral("svg-standard"),   QStringLiteral("svg-oxygen"),       QStringLiteral("svg-nicu-ornamental"),
      QStringLiteral("svg-dondorf"),    QStringLiteral("svg-konqi-modern"), QStringLiteral("svg-penguins"),
      QStringLiteral("svg-oxygen-air"),     QStringLiteral("svg-gm-paris"),     QStringLiteral("svg-jolly-royal"),
      QStringLiteral("svg-xskat-french")};
  return decks;
}

QString SvgCardImages::DeckFile(const QString& deck) const {
  for (const QString& root : Roots) {
    const QDir dir(QDir(root).filePath(deck));
    if (!dir.exists()) continue;
    const QString file = FirstSvgIn(dir);
    if (!file.isEmpty()) return file;
  }
  return {};
}

QSvgRenderer* SvgCardImages::Renderer(const QString& deck) {
  auto found = Renderers.find(deck);
  if (found == Renderers.end()) {
    std::unique_ptr<QSvgRenderer> renderer;
    const QString file = DeckFile(deck);
    if (!file.isEmpty()) {
      renderer = std::make_unique<QSvgRenderer>(file);
      if (!renderer->isValid()) renderer.reset();
    }
    found = Renderers.emplace(deck, std::move(renderer)).first;
  }
  return found->second.get();
}

QImage SvgCardImages::Render(QSvgRenderer* renderer, const QString& element) {
  if (!renderer || !renderer->elementExists(element)) return {};
  const TSize size = DeviceSize(CARD_SIZE, ScaleFactor);
  QImage image(size.cx, size.cy, QImage::Format_RGB32);
  // White under the artwork: its rounded corners and any transparency must
  // not show undefined pixels.
  image.fill(0xFFFFFFFF);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
  renderer->render(&painter, element, QRectF(image.rect()));
  return image;
}

QImage SvgCardImages::Artwork(uint32_t resourceId) {
  if (resourceId >= CARD_FACE_BASE_ID && resourceId < CARD_FACE_BASE_ID + CARD_COUNT) {
    const uint32_t card = resourceId - CARD_FACE_BASE_ID;
    const QImage image = Render(Renderer(Faces), CardElementId(card));
    return image.isNull() ? PlainFace(card, ScaleFactor) : image;
  }
  if (resourceId >= FIRST_CARD_BACK_ID && resourceId <= LAST_CARD_BACK_ID) {
    const uint32_t back = resourceId - FIRST_CARD_BACK_ID;
    const QImage image = Render(Renderer(BackDecks().at(static_cast<qsizetype>(back))), QStringLiteral("back"));
    return image.isNull() ? PatternedBack(back, ScaleFactor) : image;
  }
  return {};
}

const NxBitmap& SvgCardImages::Mask() {
  std::map<uint32_t, NxBitmap>& drawn = Drawn.At(ScaleFactor);
  auto found = drawn.find(CARD_MASK_ID);
  if (found == drawn.end()) found = drawn.emplace(CARD_MASK_ID, CardMask(ScaleFactor)).first;
  return found->second;
}

NxBitmap SvgCardImages::LoadImage(uint32_t resourceId) {
  if (resourceId == CARD_MASK_ID) return Mask();
  std::map<uint32_t, NxBitmap>& drawn = Drawn.At(ScaleFactor);
  auto found = drawn.find(resourceId);
  if (found == drawn.end()) found = drawn.emplace(resourceId, Draw(resourceId)).first;
  return found->second;
}

NxBitmap SvgCardImages::Draw(uint32_t resourceId) {
  const NxBitmap& mask = Mask();
  NxBitmap picture = ToNxBitmap(Artwork(resourceId));
  ApplyCardMask(picture, mask);
  return picture;
}

QImage SvgCardImages::Picture(uint32_t resourceId) { return ToQImage(LoadImage(resourceId)); }

QString SvgCardImages::MissingDecksMessage() const {
  if (FacesFound) return {};
  return ResourceText(DECKS_MISSING).arg(QString::fromLatin1(PACKAGE));
}
