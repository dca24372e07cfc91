// The frame's Options menu: the option dialogs and what their results ask of the window.
#include <QAction>
#include <QMenu>
#include <QTimer>

#include "game/table_commands.h"
#include "store/cardback_change.h"
#include "store/dealing_change.h"
#include "store/dialog_texts.h"
#include "store/difficulty_change.h"
#include "store/preferences_change.h"
#include "store/variations_change.h"
#include "ui/about_dlg.h"
#include "ui/cardback_dlg.h"
#include "ui/dealing_dlg.h"
#include "ui/difficulty_dlg.h"
#include "ui/preferences_dlg.h"
#include "ui/quorla_client.h"
#include "ui/quorla_frame.h"
#include "ui/variations_dlg.h"

namespace dt = dialog_texts;

namespace {

// The menu texts with their access keys, which differ from those of the
// other Options entries (Sce&nery..., &Watch Computer Hand, &Large Table).
QString MenuText(uint32_t menuTextId) {
  const QString text = DialogText(menuTextId);
  // D is taken by Difficulty.
  if (menuTextId == dt::MENU_DEALING) return QString(text).replace("/", "/&");
  return '&' + text;
}

}  // namespace

QAction* QuorlaFrame::OptionAction(uint32_t menuTextId) const {
  auto it = OptionActions.find(menuTextId);
  return it == OptionActions.end() ? nullptr : it->second;
}

void QuorlaFrame::AddOptionAction(QMenu* menu, uint32_t menuTextId, uint32_t command, void (QuorlaFrame::*show)()) {
  QAction* action = menu->addAction(MenuText(menuTextId));
  action->setStatusTip(DialogText(CommandHintId(command)));
  connect(action, &QAction::triggered, this, show);
  OptionActions[menuTextId] = action;
}

void QuorlaFrame::AddOptionDialogs(QMenu* options) {
  // The command ids of the dialogs (Scenery is 1305) give their status hints.
  AddOptionAction(options, dt::MENU_VARIATIONS, 1301, &QuorlaFrame::ShowVariations);
  AddOptionAction(options, dt::MENU_DIFFICULTY, 1302, &QuorlaFrame::ShowDifficulty);
  AddOptionAction(options, dt::MENU_DEALING, 1303, &QuorlaFrame::ShowDealing);
  AddOptionAction(options, dt::MENU_CARDBACK, 1304, &QuorlaFrame::ShowCardback);
  AddCommand(options, CM_SCENERY);
  AddOptionAction(options, dt::MENU_PREFERENCES, 1306, &QuorlaFrame::ShowPreferences);
}

void QuorlaFrame::ShowVariations() {
  VariationsDlg dialog(CurrentRuleChoices(Table->Table().State), this);
  if (dialog.exec() != QDialog::Accepted) return;
  TableParts parts = Table->Parts();
  ActOn(ApplyVariations(dialog.Choices(), parts, Table->Table().Flow));
}

void QuorlaFrame::ShowDifficulty() {
  DifficultyDlg dialog(Table->Table().Computer->Level(), this);
  if (dialog.exec() != QDialog::Accepted) return;
  TableParts parts = Table->Parts();
  ActOn(ApplyDifficulty(dialog.Choice(), dialog.Answer(), parts, Settings.Prefs));
}

void QuorlaFrame::ShowDealing() {
  DealingDlg dialog(CurrentDealingChoices(Settings.Prefs), this);
  if (dialog.exec() != QDialog::Accepted) return;
  TableParts parts = Table->Parts();
  ActOn(ApplyDealing(dialog.Choices(), Settings.Prefs, parts, Table->Table().Flow));
}

void QuorlaFrame::ShowCardback() {
  CardbackDlg dialog(CurrentCardbackChoices(Table->Table().State, Settings.Prefs), this);
  if (dialog.exec() != QDialog::Accepted) return;
  TableParts parts = Table->Parts();
  ActOn(ApplyCardback(dialog.Choices(), Settings.Prefs, parts, Table->Table().Flow.Settings));
}

void QuorlaFrame::ShowPreferences() {
  PreferencesDlg dialog(CurrentPreferenceChoices(Settings.Prefs), this);
  if (dialog.exec() != QDialog::Accepted) return;
  ActOn(ApplyPreferenceChoices(dialog.Choices(), Settings.Prefs));
}

void QuorlaFrame::ShowAbout() {
  AboutDlg dialog(this);
  dialog.exec();
}

void QuorlaFrame::ActOn(const WindowUpdate& update) {
  if (update.Close) {
    // The table is already marked not to be saved; the close goes through
    // the ordinary sequence.
    QTimer::singleShot(0, this, &QWidget::close);
    return;
  }
  Table->ShowOptionChange(update);
  if (update.RebuildTitle) RebuildTitle();
  if (update.Relayout) Relayout();
  RefreshCommands();
}

void QuorlaFrame::SetConfigurationName(const std::string& name) {
  ConfigurationName = name;
  RebuildTitle();
}

void QuorlaFrame::RebuildTitle() {
  setWindowTitle(QString::fromStdString(FrameTitle(ConfigurationName, Table->Table().State.Variation)));
}

void QuorlaFrame::Relayout() {
  // Only the table lives in the frame so far; it fits around it again.
  adjustSize();
}
