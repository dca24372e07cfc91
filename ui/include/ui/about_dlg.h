#pragma once

#include "ui/option_dlg.h"

// "About Quorla": the program's name, what it is and who makes it; OK only.
class AboutDlg : public OptionDlg {
  Q_OBJECT

 public:
  explicit AboutDlg(QWidget* parent = nullptr);

  // The lines shown, top to bottom.
  QStringList Lines() const;
};
