#pragma once

#include "ui/option_dlg.h"

// "About Quorla": the program's name and version, what it is, who makes it,
// and the card artwork's authors and licences; OK only.
class AboutDlg : public OptionDlg {
  Q_OBJECT

 public:
  explicit AboutDlg(QWidget* parent = nullptr);

  // The lines shown, top to bottom.
  QStringList Lines() const;
};
