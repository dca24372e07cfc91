#include "ui/work_area_dlg.h"
#include "ui/resource_text.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

#include "app/dialog_texts.h"
#include "game/string_table.h"
#include "game/text_ids.h"

WorkAreaDlg::WorkAreaDlg(QWidget* parent) : QDialog(parent) {
  setWindowTitle(ResourceText(WORK_AREA_TITLE));
  auto* icon = new QLabel(this);
  const int side = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
  icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning, nullptr, this).pixmap(side, side));
  icon->setAlignment(Qt::AlignTop);
  auto* text = new QLabel(ResourceText(WORK_AREA_TEXT), this);
  text->setWordWrap(true);
  text->setMinimumWidth(340);
  Hide = new QCheckBox(ResourceText(HIDE_WARNING), this);
  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(ResourceText(OK_BUTTON), QDialogButtonBox::AcceptRole)->setDefault(true);
  buttons->addButton(ResourceText(CANCEL_BUTTON), QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QGridLayout(this);
  layout->addWidget(icon, 0, 0);
  layout->addWidget(text, 0, 1);
  layout->addWidget(Hide, 1, 1);
  layout->addWidget(buttons, 2, 0, 1, 2);
  layout->setHorizontalSpacing(16);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

bool WorkAreaDlg::HideWarningChosen() const { return result() == QDialog::Accepted && Hide->isChecked(); }
