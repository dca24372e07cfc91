#include "ui/plain_cards.h"

#include <algorithm>
#include <array>

#include <QPainter>

#include "table/device_pixels.h"
#include "game/table_geometry.h"

namespace {

constexpr std::array<const char*, 13> RANKS{"A", "2", "3", "4", "5", "6", "7", "8", "9", "10", "J", "Q", "K"};
// Hearts, diamonds, spades, clubs.
constexpr std::array<char16_t, 4> SUIT_SIGNS{u'\u2665', u'\u2666', u'\u2660', u'\u2663'};
constexpr std::array<QRgb, 10> BACK_COLOURS{0xFF1F4E9C, 0xFFA51E2A, 0xFF1E7A3C, 0xFF5B2C83, 0xFF0F6D75,
                                            0xFF8A5A12, 0xFF2F2F2F, 0xFFB3467A, 0xFF24507A, 0xFF6B7D1F};

QImage BlankCard(double scale, QRgb fill) {
  const TSize size = DeviceSize(CARD_SIZE, scale);
  QImage image(size.cx, size.cy, QImage::Format_RGB32);
  image.fill(fill);
  return image;
}

QFont CardFont(double pixels) {
  QFont font(QStringLiteral("Arial"));
  font.setStyleHint(QFont::SansSerif);
  font.setBold(true);
  font.setPixelSize(std::max(1, qRound(pixels)));
  return font;
}

// The index in the top-left corner: large enough to read at the table's
// normal size, inside the 34 pixels a card shows in a spread hand.
void DrawIndex(QPainter& painter, const QString& rank, const QString& sign, double scale) {
  const QRectF rankBox(1 * scale, 2 * scale, 26 * scale, 21 * scale);
  painter.setFont(CardFont(rank.size() > 1 ? 19 * scale : 21 * scale));
  painter.drawText(rankBox, Qt::AlignHCenter | Qt::AlignVCenter, rank);
  // Suit signs sit small in their em box: a larger size gives them the
  // height of the rank.
  painter.setFont(CardFont(30 * scale));
  painter.drawText(rankBox.translated(0, 20 * scale), Qt::AlignHCenter | Qt::AlignVCenter, sign);
}

}  // namespace

QImage PlainFace(uint32_t cardId, double scale) {
  QImage image = BlankCard(scale, 0xFFFFFFFF);
  if (cardId >= 52) return image;
  const uint32_t suit = cardId / 13;
  const QColor ink = suit < 2 ? QColor(0xC0, 0x10, 0x10) : QColor(0x10, 0x10, 0x10);
  const QString rank = QString::fromLatin1(RANKS[cardId % 13]);
  const QString sign = QString(QChar(SUIT_SIGNS[suit]));
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setPen(QPen(QColor(0x90, 0x90, 0x90), scale));
  painter.drawRect(QRectF(0.5 * scale, 0.5 * scale, (CARD_SIZE.cx - 1) * scale, (CARD_SIZE.cy - 1) * scale));
  painter.setPen(ink);
  DrawIndex(painter, rank, sign, scale);
  painter.setFont(CardFont(44 * scale));
  painter.drawText(image.rect(), Qt::AlignCenter, sign);
  // The same corner upside down at the bottom right.
  painter.translate(image.width(), image.height());
  painter.rotate(180);
  DrawIndex(painter, rank, sign, scale);
  return image;
}

QImage PatternedBack(uint32_t backIndex, double scale) {
  const QColor colour = QColor::fromRgb(BACK_COLOURS[backIndex % BACK_COLOURS.size()]);
  QImage image = BlankCard(scale, 0xFFFFFFFF);
  QPainter painter(&image);
  const QRectF inner(4 * scale, 4 * scale, (CARD_SIZE.cx - 8) * scale, (CARD_SIZE.cy - 8) * scale);
  painter.fillRect(inner, colour);
  // A diamond lattice in a lighter shade; the pattern differs per back so
  // that the ten choices can be told apart.
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setClipRect(inner);
  painter.setPen(QPen(colour.lighter(150), scale));
  const int step = std::max(2, qRound((6 + static_cast<int>(backIndex % 5) * 2) * scale));
  for (int d = -image.height(); d < image.width() + image.height(); d += step) {
    painter.drawLine(d, 0, d + image.height(), image.height());
    if (backIndex % 2 == 0) painter.drawLine(d, image.height(), d + image.height(), 0);
  }
  painter.setClipping(false);
  painter.setPen(QPen(QColor(0x90, 0x90, 0x90), scale));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(QRectF(0.5 * scale, 0.5 * scale, (CARD_SIZE.cx - 1) * scale, (CARD_SIZE.cy - 1) * scale));
  return image;
}
