// QuorlaFrame: the option dialogs and what their results ask of the window.
#include <QTimer>

#include "app/card_faces_change.h"
#include "app/cardback_change.h"
#include "app/dealing_change.h"
#include "app/dialog_texts.h"
#include "app/difficulty_change.h"
#include "app/preferences_change.h"
#include "app/variations_change.h"
#include "game/table_commands.h"
#include "app/cardback_change.h"
#include "app/dealing_change.h"
#include "app/difficulty_change.h"
#include "app/preferences_change.h"
#include "app/variations_change.h"
#include "game/text_ids.h"
#include "ui/about_dlg.h"
#include "ui/card_faces_dlg.h"
#include "ui/cardback_dlg.h"
#include "ui/dealing_dlg.h"
#include "ui/difficulty_dlg.h"
#include "ui/frame_commands.h"
#include "ui/preferences_dlg.h"
#include "ui/quorla_client.h"
#include "ui/quorla_frame.h"
#include "ui/resource_text.h"
#include "ui/svg_card_images.h"
#include "ui/variations_dlg.h"

// Every option dialog and About can always open; the player configuration
// commands need the configurations of the run.
bool QuorlaFrame::DialogReady(uint32_t command) const {
  switch (command) {
    case CM_SWITCH_PLAYER:
    case CM_CREATE_PLAYER:
    case CM_REMOVE_PLAYER: return Configs != nullptr;
    case CM_VARIATIONS:
    case CM_DIFFICULTY:
    case CM_DEALING:
    case CM_CARDBACK:
    case CM_CARD_FACES:
    case CM_PREFERENCES:
    case CM_ABOUT: return true;
    default: return false;
  }
}

bool QuorlaFrame::KeepGoingWhenAbandoning(bool abandons) {
  return !abandons || Table->Presenter().Confirm(GAME_IN_PROGRESS, UNFINISHED_GAME);
}

void QuorlaFrame::ShowVariations() {
  VariationsDlg dialog(CurrentRuleChoices(Table->Table().State()), this);
  if (dialog.exec() != QDialog::Accepted) return;
  const RuleChoices chosen = dialog.Choices();
  if (!KeepGoingWhenAbandoning(VariationsAbandonGame(chosen, Table->Table().State(), Table->Table().Record))) return;
  TableParts parts = Table->Parts();
  ActOn(ApplyVariations(chosen, parts, Table->Table().Flow));
}

void QuorlaFrame::ShowDifficulty() {
  DifficultyDlg dialog(CurrentDifficultyChoice(*Table->Table().Computer), this);
  if (dialog.exec() != QDialog::Accepted) return;
  TableParts parts = Table->Parts();
  ActOn(ApplyDifficulty(dialog.Choice(), dialog.Answer(), parts, Settings.Prefs));
}

void QuorlaFrame::ShowDealing() {
  DealingDlg dialog(CurrentDealingChoices(Settings.Prefs), this);
  if (dialog.exec() != QDialog::Accepted) return;
  const DealingChoices chosen = dialog.Choices();
  const TableObjects& table = Table->Table();
  if (!KeepGoingWhenAbandoning(DealingAbandonsGame(chosen, Settings.Prefs, table.State(), table.Record))) return;
  TableParts parts = Table->Parts();
  ActOn(ApplyDealing(chosen, Settings.Prefs, parts, Table->Table().Flow));
}

void QuorlaFrame::ShowCardback() {
  CardbackDlg dialog(CurrentCardbackChoices(Table->Table().State(), Settings.Prefs), this);
  if (dialog.exec() != QDialog::Accepted) return;
  TableParts parts = Table->Parts();
  ActOn(ApplyCardback(dialog.Choices(), Settings.Prefs, parts, Table->Table().Flow.Settings));
}

void QuorlaFrame::ShowCardFaces() {
  const QString inUse = Table->FaceDeck();
  CardFacesDlg dialog(inUse, SvgCardImages::InstalledDecks(), Table->CompositionScale(), Table->devicePixelRatioF(),
                      this);
  if (dialog.exec() != QDialog::Accepted) return;
  ActOn(ApplyCardFaces(dialog.Choice(), inUse.toStdString(), Settings.Prefs));
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
  if (update.LanguageFromNextStart) Table->Tell(ResourceText(LANGUAGE_CAPTION), ResourceText(LANGUAGE_NEXT_START));
}

