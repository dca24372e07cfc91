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
#include <algorithm>
#include <cstdio>
#include <vector>

#include "table/image_provider.h"
#include "corner_indices.h"
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

QImage RenderFace(QSvgRenderer& renderer, uint32_t card, int oversample) {
  QImage image(CARD_SIZE.cx * oversample, CARD_SIZE.cy * oversample, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing, true);
  renderer.render(&painter, CardElementId(card), QRectF(image.rect()));
  return image;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0.0 : values[values.size() / 2];
}

// Number cards of both colours, one and two digits.
constexpr uint32_t MEASURED_CARDS[] = {1, 2, 15, 17, 30, 33, 44, 47, 9, 35};
constexpr uint32_t SHOWN_CARDS[] = {0, 2, 15, 46, 35, 10, 51};

// Rank and suit heights in table pixels, measured on pictures drawn four
// times finer than the table's normal size, and the rank height measured
// at that size itself; worst (smallest) of the number cards by median.
int MeasureFaces(const QDir& out, int scale) {
  struct Row {
    QString Deck;
    double Rank, Suit, RankAtSize;
  };
  std::vector<Row> rows;
  QList<QImage> shown;
  for (const QString& deck : SvgCardImages::InstalledDecks()) {
    SvgCardImages images(scale);
    if (!images.SetFaceDeck(deck)) continue;
    QString file;
    for (const QString& root : SvgCardImages::StandardDeckRoots()) {
      const QDir dir(QDir(root).filePath(deck));
      const QStringList svgs = dir.entryList({QStringLiteral("*.svgz"), QStringLiteral("*.svg")}, QDir::Files);
      if (!svgs.isEmpty()) {
        file = dir.filePath(svgs.first());
        break;
      }
    }
    QSvgRenderer renderer(file);
    std::vector<double> rank, suit, rankAtSize;
    for (uint32_t card : MEASURED_CARDS) {
      const CornerIndex fine = MeasureCornerIndex(RenderFace(renderer, card, 4));
      rank.push_back(fine.RankHeight / 4.0);
      suit.push_back(fine.SuitHeight / 4.0);
      rankAtSize.push_back(MeasureCornerIndex(RenderFace(renderer, card, 1)).RankHeight);
    }
    rows.push_back({deck, Median(rank), Median(suit), Median(rankAtSize)});
    for (uint32_t card : SHOWN_CARDS) shown.append(OnTable(images, CARD_FACE_BASE_ID + card));
  }
  std::printf("%-28s %8s %8s %10s  (table pixels, card %dx%d)\n", "deck", "rank", "suit", "rank at 1x",
              static_cast<int>(CARD_SIZE.cx), static_cast<int>(CARD_SIZE.cy));
  std::vector<Row> sorted = rows;
  std::sort(sorted.begin(), sorted.end(), [](const Row& a, const Row& b) { return a.Rank > b.Rank; });
  // Without a suit sign under it the mark found is no index: those decks
  // print theirs elsewhere (top right), where a spread hand hides it.
  for (const Row& row : sorted)
    std::printf("%-28s %8.2f %8.2f %10.0f%s\n", qPrintable(row.Deck), row.Rank, row.Suit, row.RankAtSize,
                row.Suit > 0 ? "" : "  no index at the top left");
  for (size_t i = 0; i < rows.size(); ++i) std::printf("faces.png row %zu: %s\n", i + 1, qPrintable(rows[i].Deck));
  return shown.isEmpty() || Sheet(shown, 7, scale).save(out.filePath(QStringLiteral("faces.png"))) ? 0 : 1;
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
  if (argc > 3 && QString::fromLocal8Bit(argv[3]) == QStringLiteral("faces")) return MeasureFaces(out, scale);
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
