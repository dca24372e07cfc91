// Renders the card pictures and backdrops to PNG files, for looking at them:
//   ui-contact-sheet OUTPUT_DIR [SCALE [plain]]
// writes cards.png (52 faces and the ten backs, as the table shows them),
// corner.png (a card corner magnified eight times), decks.png (the back of
// every installed deck), backdrop-plain.png and, when BACKIMG.QLF is next to
// the program, backdrop-default.png. "plain" draws the cards the game uses
// when no decks are installed.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

#include "game/image_provider.h"
#include "ui/backdrop.h"
#include "ui/backdrop_file.h"
#include "ui/image_convert.h"
#include "ui/svg_card_images.h"
#include "game/table_geometry.h"

namespace {

QImage Sheet(const QList<QImage>& cards, int columns, int scale) {
  const int gap = 4 * scale;
  const int rows = (static_cast<int>(cards.size()) + columns - 1) / columns;
  QImage sheet(columns * (CARD_SIZE.cx * scale + gap) + gap, rows * (CARD_SIZE.cy * scale + gap) + gap,
               QImage::Format_RGB32);
  sheet.fill(QColor(0, 90, 40));
  QPainter painter(&sheet);
  for (int i = 0; i < cards.size(); ++i)
    painter.drawImage(gap + (i % columns) * (CARD_SIZE.cx * scale + gap), gap + (i / columns) * (CARD_SIZE.cy * scale + gap),
                      cards[i]);
  return sheet;
}

// The card pictures as the deck composes them: table colour AND mask OR picture.
QImage OnTable(SvgCardImages& images, uint32_t id) {
  const NxBitmap mask = images.LoadImage(CARD_MASK_ID);
  NxBitmap card(mask.Width(), mask.Height(), 0x00005A28);
  card.Combine(card.Bounds(), mask, {0, 0}, NxBitmap::RasterOp::AND);
  card.Combine(card.Bounds(), images.LoadImage(id), {0, 0}, NxBitmap::RasterOp::OR);
  return ToQImage(card);
}

QImage AllDeckBacks(int scale) {
  QList<QImage> backs;
  for (const QString& root : SvgCardImages::StandardDeckRoots())
    for (const QString& deck : QDir(root).entryList({QStringLiteral("svg-*")}, QDir::Dirs, QDir::Name)) {
      const QStringList files = QDir(QDir(root).filePath(deck)).entryList({QStringLiteral("*.svgz")});
      if (files.isEmpty()) continue;
      QSvgRenderer renderer(QDir(root).filePath(deck + QLatin1Char('/') + files.first()));
      QImage image(CARD_SIZE.cx * scale, CARD_SIZE.cy * scale, QImage::Format_RGB32);
      image.fill(Qt::white);
      QPainter painter(&image);
      renderer.render(&painter, QStringLiteral("back"), QRectF(image.rect()));
      std::printf("%d: %s\n", static_cast<int>(backs.size()), qPrintable(deck));
      backs.append(image);
    }
  return Sheet(backs, 8, scale);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc < 2 || QString::fromLocal8Bit(argv[1]) == QStringLiteral("--help")) {
    std::fprintf(stderr, "usage: ui-contact-sheet OUTPUT_DIR [SCALE]\n");
    return argc < 2 ? 2 : 0;
  }
  const QDir out(QString::fromLocal8Bit(argv[1]));
  const int scale = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 2;
  if (!out.exists() || scale < 1 || scale > 3) {
    std::fprintf(stderr, "ui-contact-sheet: need an existing folder and a scale of 1, 2 or 3\n");
    return 2;
  }
  const bool plain = argc > 3 && QString::fromLocal8Bit(argv[3]) == QStringLiteral("plain");
  QElapsedTimer loading;
  loading.start();
  SvgCardImages images(scale, plain ? QStringList{QStringLiteral("/nonexistent")} : QStringList{});
  std::printf("face deck loaded: %lld ms\n", static_cast<long long>(loading.elapsed()));
  QList<QImage> cards;
  QElapsedTimer timer;
  timer.start();
  for (uint32_t id = 0; id < 52; ++id) cards.append(OnTable(images, CARD_FACE_BASE_ID + id));
  std::printf("52 faces: %lld ms\n", static_cast<long long>(timer.restart()));
  for (uint32_t id = FIRST_CARD_BACK_ID; id <= LAST_CARD_BACK_ID; ++id) {
    cards.append(OnTable(images, id));
    std::printf("back %u: %lld ms\n", id, static_cast<long long>(timer.restart()));
  }
  bool ok = Sheet(cards, 13, scale).save(out.filePath(QStringLiteral("cards.png")));
  const QImage& ace = cards.first();
  ok = ace.copy(0, 0, 20 * scale, 20 * scale)
           .scaled(160 * scale, 160 * scale)
           .save(out.filePath(QStringLiteral("corner.png"))) &&
       ok;
  ok = AllDeckBacks(scale).save(out.filePath(QStringLiteral("decks.png"))) && ok;
  ok = PlainBackdrop(scale).save(out.filePath(QStringLiteral("backdrop-plain.png"))) && ok;
  const QString installed = QDir(QCoreApplication::applicationDirPath()).filePath(QString::fromLatin1(BACKDROP_FILE_NAME));
  QImage scenery;
  if (scenery.load(installed, "BMP"))
    ok = DecoratedBackdrop(scenery, scale).save(out.filePath(QStringLiteral("backdrop-default.png"))) && ok;
  if (!images.MissingDecksMessage().isEmpty()) std::printf("%s\n", qPrintable(images.MissingDecksMessage()));
  return ok ? 0 : 1;
}
