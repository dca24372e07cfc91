#include "ui/resource_text.h"

#include "game/string_table.h"

QString ResourceText(uint32_t id) { return QString::fromUtf8(ResourceString(id)); }

QMessageBox::Icon ToQtIcon(MessageIcon icon) {
  switch (icon) {
    case ICON_EXCLAMATION: return QMessageBox::Warning;
    case ICON_ERROR: return QMessageBox::Critical;
    default: return QMessageBox::NoIcon;
  }
}
