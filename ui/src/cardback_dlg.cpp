#include "ui/cardback_dlg.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QToolButton>
#include <cmath>
#include <map>

#include "app/dialog_texts.h"
#include "game/card_picture_ids.h"
#include "game/text_ids.h"
#include "ui/svg_card_images.h"

namespace {

constexpr int32_t COLUMNS = 5;

// Rendered at the screen's pixel ratio so the backs stay sharp.
int32_t PictureScale() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  const double ratio = screen ? screen->devicePixelRatio() : 1.0;
  return std::max(1, static_cast<int32_t>(std::ceil(ratio - 0.01)));
}

// Ten card decks take a moment to read, so the backs are rendered once per
// scale and kept for the run; a null picture means that deck is missing.
const std::array<QImage, CardbackDlg::BACKS>& BackPictures(int32_t scale) {
  static std::map<int32_t, std::array<QImage, CardbackDlg::BACKS>> rendered;
  auto found = rendered.find(scale);
  if (found != rendered.end()) return found->second;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  SvgCardImages images(scale);
  std::array<QImage, CardbackDlg::BACKS> pictures;
  for (uint32_t i = 0; i < CardbackDlg::BACKS; ++i) pictures[i] = images.Picture(FIRST_CARD_BACK_ID + i);
  QApplication::restoreOverrideCursor();
  return rendered.emplace(scale, std::move(pictures)).first->second;
}

// The pressed button, the back in use, stands out by a frame in the
// highlight colour.
constexpr const char* BACK_BUTTON_STYLE =
    "QToolButton { border: 3px solid transparent; border-radius: 4px; padding: 2px; }"
    "QToolButton:hover { border-color: palette(midlight); }"
    "QToolButton:checked { border-color: palette(highlight); background: palette(highlight); }";

}  // namespace

CardbackDlg::CardbackDlg(const CardbackChoices& current, QWidget* parent)
    : OptionDlg(CARDBACK_TITLE, QStringLiteral("cardback"), parent), Initial(current) {
  const int32_t scale = PictureScale();
  const auto& pictures = BackPictures(scale);
  Group = new QButtonGroup(this);
  Group->setExclusive(true);
  auto* backsBox = new QGroupBox(this);
  backsBox->setStyleSheet(BACK_BUTTON_STYLE);
  auto* grid = new QGridLayout(backsBox);
  grid->setSpacing(8);
  for (uint32_t i = 0; i < BACKS; ++i) {
    const uint32_t id = FIRST_CARD_BACK_ID + i;
    auto* button = new QToolButton(backsBox);
    button->setCheckable(true);
    button->setChecked(id == current.DeckId);
    const QImage& picture = pictures[i];
    if (!picture.isNull()) {
      QPixmap pixmap = QPixmap::fromImage(picture);
      pixmap.setDevicePixelRatio(scale);
      button->setIcon(QIcon(pixmap));
      button->setIconSize(pixmap.deviceIndependentSize().toSize());
    } else {
      button->setText(QString::number(i + 1));
    }
    button->setAccessibleName(DialogText(CARD_BACK_ACCESSIBLE_NAME).arg(i + 1));
    Group->addButton(button, static_cast<int>(id));
    grid->addWidget(button, static_cast<int>(i) / COLUMNS, static_cast<int>(i) % COLUMNS);
    Backs[i] = button;
  }
  DifferentBack = new QCheckBox(DialogText(DIFFERENT_CARDBACK), this);
  DifferentBack->setChecked(current.RandomDeck);
  Body().addWidget(backsBox);
  Body().addWidget(DifferentBack);
}

CardbackChoices CardbackDlg::Choices() const {
  CardbackChoices chosen = Initial;
  if (Group->checkedId() >= 0) chosen.DeckId = static_cast<uint32_t>(Group->checkedId());
  chosen.RandomDeck = DifferentBack->isChecked();
  return chosen;
}
