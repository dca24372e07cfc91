#include "ui/card_faces_dlg.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QVBoxLayout>

#include "game/seats.h"
#include "game/table_geometry.h"
#include "game/text_ids.h"
#include "table/device_pixels.h"
#include "table/image_provider.h"
#include "ui/image_convert.h"
#include "ui/svg_card_images.h"

namespace {

// Ace and three of hearts, three of diamonds, ten of spades, queen of
// clubs: both red suits side by side and a two-digit rank, the pairs a
// small index lets the eye confuse.
constexpr uint32_t PREVIEW_CARDS[] = {0, 2, 15, 35, 50};
constexpr uint32_t TABLE_COLOUR = 0x00005A28;
// A description file is a few kilobytes; anything larger is not one.
constexpr qint64 MAX_DESCRIPTION_BYTES = 64 * 1024;

QString DeckTitle(const QString& deck, const QStringList& roots) {
  for (const QString& root : roots.isEmpty() ? SvgCardImages::StandardDeckRoots() : roots) {
    const QFileInfo info(QDir(root).filePath(deck + QStringLiteral("/index.desktop")));
    if (!info.exists()) continue;
    QByteArray text;
    QFile file(info.filePath());
    if (info.isFile() && info.size() <= MAX_DESCRIPTION_BYTES && file.open(QIODevice::ReadOnly))
      text = file.read(MAX_DESCRIPTION_BYTES);
    return QString::fromStdString(FaceDeckTitle(text.toStdString(), deck.toStdString()));
  }
  return QString::fromStdString(FaceDeckTitle({}, deck.toStdString()));
}

}  // namespace

QImage FaceDeckPreview(const QString& deck, double scale, const QStringList& deckRoots) {
  SvgCardImages images(scale, deckRoots);
  if (!images.SetFaceDeck(deck)) return {};
  const TSize card = DeviceSize(CARD_SIZE, scale);
  const int32_t count = static_cast<int32_t>(std::size(PREVIEW_CARDS));
  const int32_t step = TABLE_PILES[HUMAN_PILE].Offset.x;
  NxBitmap picture(ToDevice(step * (count - 1), scale) + card.cx, card.cy, TABLE_COLOUR);
  const NxBitmap mask = images.LoadImage(CARD_MASK_ID);
  for (int32_t i = 0; i < count; ++i) {
    const int32_t left = ToDevice(i * step, scale);
    const TRect place{left, 0, left + card.cx, card.cy};
    picture.Combine(place, mask, {0, 0}, NxBitmap::RasterOp::AND);
    picture.Combine(place, images.LoadImage(CARD_FACE_BASE_ID + PREVIEW_CARDS[i]), {0, 0}, NxBitmap::RasterOp::OR);
  }
  return ToQImage(picture);
}

CardFacesDlg::CardFacesDlg(const QString& current, const QStringList& decks, double scale, double pixelRatio,
                           QWidget* parent, QStringList deckRoots)
    : OptionDlg(CARD_FACES_TITLE, QStringLiteral("card_faces"), parent),
      Scale(scale > 0 ? scale : 1.0),
      PixelRatio(pixelRatio > 0 ? pixelRatio : 1.0),
      Roots(std::move(deckRoots)),
      Initial(current) {
  auto* group = new QGroupBox(DialogText(CARD_FACES_GROUP), this);
  auto* row = new QHBoxLayout(group);
  Decks = new QListWidget(group);
  const QString defaultMark = DialogText(CARD_FACES_DEFAULT_MARK);
  for (const QString& deck : decks) {
    QString title = DeckTitle(deck, Roots);
    if (deck == QString::fromLatin1(SvgCardImages::FACE_DECK)) title += defaultMark;
    auto* item = new QListWidgetItem(title, Decks);
    item->setData(Qt::UserRole, deck);
    if (deck == current) Decks->setCurrentItem(item);
  }
  // Every deck in view without scrolling, as far as a sensible height allows.
  const int rows = std::min(static_cast<int>(decks.size()), 20);
  Decks->setMinimumWidth(Decks->sizeHintForColumn(0) + 2 * Decks->frameWidth() + 24);
  if (rows > 0) Decks->setMinimumHeight(rows * Decks->sizeHintForRow(0) + 2 * Decks->frameWidth());
  row->addWidget(Decks);

  auto* previewColumn = new QVBoxLayout;
  previewColumn->addWidget(new QLabel(DialogText(CARD_FACES_PREVIEW), group));
  Preview = new QLabel(group);
  Preview->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  // The preview keeps the size of the widest hand, so that selecting
  // another deck never resizes the dialog.
  const int32_t handWidth = TABLE_PILES[HUMAN_PILE].Offset.x * 4 + CARD_SIZE.cx;
  Preview->setFixedSize(static_cast<int>(handWidth * Scale / PixelRatio + 0.5),
                        static_cast<int>(CARD_SIZE.cy * Scale / PixelRatio + 0.5));
  previewColumn->addWidget(Preview);
  previewColumn->addStretch();
  row->addLayout(previewColumn);
  Body().addWidget(group);
  if (decks.isEmpty()) {
    auto* none = new QLabel(DialogText(CARD_FACES_NONE_INSTALLED), this);
    none->setWordWrap(true);
    Body().addWidget(none);
  }
  connect(Decks, &QListWidget::currentItemChanged, this, &CardFacesDlg::ShowPreview);
  ShowPreview();
}

void CardFacesDlg::ShowPreview() {
  const QListWidgetItem* item = Decks->currentItem();
  Shown = item ? FaceDeckPreview(item->data(Qt::UserRole).toString(), Scale, Roots) : QImage();
  QPixmap pixmap = QPixmap::fromImage(Shown);
  pixmap.setDevicePixelRatio(PixelRatio);
  Preview->setPixmap(pixmap);
}

CardFacesChoice CardFacesDlg::Choice() const {
  const QListWidgetItem* item = Decks->currentItem();
  return {(item ? item->data(Qt::UserRole).toString() : Initial).toStdString()};
}
