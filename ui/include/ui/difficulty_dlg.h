#pragma once

#include <array>
#include <functional>

#include "app/difficulty_change.h"
#include "ui/option_dlg.h"

class QCheckBox;
class QRadioButton;

// "Set Difficulty Level": the level 1 to 4 or Master, and the one-shot reset box. OK
// with the box ticked asks the reset question first; Cancel on that
// question leaves the dialog open, Yes and No close it with that answer.
class DifficultyDlg : public OptionDlg {
  Q_OBJECT

 public:
  // Asks the Yes/No/Cancel question; tests answer it themselves.
  using ResetAsker = std::function<ResetAnswer(const QString& caption, const QString& text)>;

  DifficultyDlg(uint32_t currentLevel, QWidget* parent = nullptr);

  DifficultyChoice Choice() const;
  // NOT_ASKED unless OK was pressed with the reset box ticked.
  ResetAnswer Answer() const { return Given; }
  void SetResetAsker(ResetAsker asker) { Ask = std::move(asker); }

  QRadioButton& LevelButton(uint32_t level) { return *Levels.at(level); }
  QCheckBox& ResetBox() { return *Reset; }

  void accept() override;

 private:
  std::array<QRadioButton*, DifficultyChoice::MASTER_CHOICE + 1> Levels{};
  QCheckBox* Reset;
  uint32_t Initial;
  ResetAnswer Given = ResetAnswer::NOT_ASKED;
  ResetAsker Ask;
};
