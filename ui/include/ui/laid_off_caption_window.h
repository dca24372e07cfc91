#pragma once

#include <QFrame>
#include <QString>

#include "game/layoffs.h"

class QLabel;
class LaidOffCards;

// The small captioned window inside the score sheet window that lists the
// cards the defender laid off: titled by the pile that laid them off,
// empty from every deal until the next layoff.
class LaidOffCaptionWindow : public QFrame {
  Q_OBJECT

 public:
  explicit LaidOffCaptionWindow(QWidget* parent = nullptr);

  // pile 0: the human laid off, 1: the computer. At most ten cards are
  // kept; anything that is not a card is left out.
  void SetLaidOff(uint32_t pile, const uint32_t* cards, uint32_t count);
  void Clear();

  const LaidOffList& List() const { return Cards; }
  bool HasList() const { return Cards.Count > 0; }
  // "Your Cards Laid Off" or "Computer Cards Laid Off"; empty without a list.
  QString Title() const;
  // The cards as painted: rank caption and suit sign, one space apart.
  QString Text() const;

 private:
  void Update();

  LaidOffList Cards;
  QLabel* TitleBar;
  LaidOffCards* Client;
};
