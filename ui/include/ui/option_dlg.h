#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>

class QBoxLayout;
class QDialogButtonBox;
class QPushButton;

// The text of a resource string as Qt shows it.
QString DialogText(uint32_t id);

// What the option dialogs share: the title, the controls above a button
// row of OK, Cancel and Help, and Help opening the dialog's own topic. The
// dialogs only collect values; the caller applies them.
class OptionDlg : public QDialog {
  Q_OBJECT

 public:
  OptionDlg(uint32_t titleId, QString helpTopic, QWidget* parent, bool withCancelAndHelp = true);

  QPushButton& OkButton() { return *Ok; }
  // Null in a dialog that offers only OK.
  QPushButton* CancelButton() { return Cancel; }
  QPushButton* HelpButton() { return Help; }
  const QString& HelpTopic() const { return Topic; }

 protected:
  // The controls go here, above the buttons.
  QBoxLayout& Body() { return *Content; }

 private:
  QString Topic;
  QBoxLayout* Content;
  QPushButton* Ok;
  QPushButton* Cancel = nullptr;
  QPushButton* Help = nullptr;
};
