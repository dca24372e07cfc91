// QuorlaFrame: the player configuration commands, the switch between
// configurations, the title and the window's size.
#include <QTimer>

#include "app/dialog_texts.h"
#include "game/string_table.h"
#include "game/text_ids.h"
#include "store/player_configs.h"
#include "store/settings_store.h"
#include "ui/create_player_dlg.h"
#include "ui/quorla_client.h"
#include "ui/quorla_frame.h"
#include "ui/remove_player_dlg.h"
#include "ui/select_player_dlg.h"
#include "ui/resource_text.h"

void QuorlaFrame::AttachPlayers(PlayerConfigs& configs) {
  Configs = &configs;
  if (!Chooser)
    Chooser = [this](const QString& title, const std::vector<std::string>& names, const std::string& preselected) {
      return ChoosePlayerWithDialog(this, title, names, preselected);
    };
  Listener.ListenFor(Configs->DirectoryOf(Configs->NameInUse()), this);
  RebuildTitle();
}

void QuorlaFrame::SwitchPlayerCommand() {
  if (!Configs) return;
  const std::optional<std::string> chosen =
      Chooser(ResourceText(SWITCH_PLAYER_TITLE), Configs->Names(), Configs->NameInUse());
  if (chosen) SwitchPlayer(*chosen, true);
}

void QuorlaFrame::CreatePlayersCommand() {
  if (!Configs || !Configs->CheckFreeSlot()) return;
  CreatePlayerDlg dialog(*Configs, this);
  dialog.exec();
  if (dialog.AddedCount() > 0) SwitchPlayerCommand();
}

void QuorlaFrame::RemovePlayersCommand() {
  if (!Configs) return;
  RemovePlayerDlg dialog(Configs->Names(), this);
  if (dialog.exec() != QDialog::Accepted) return;
  // The configuration in use is gone: nothing is saved into its directory.
  switch (Configs->RemoveConfigurations(dialog.SelectedNames())) {
    case PlayerConfigs::AfterRemoval::CARRY_ON: return;
    case PlayerConfigs::AfterRemoval::SWITCH_TO_DEFAULT: SwitchPlayer(PlayerConfigs::DEFAULT_NAME, false); return;
    case PlayerConfigs::AfterRemoval::CHOOSE_ANOTHER: {
      const std::optional<std::string> chosen =
          Chooser(ResourceText(SWITCH_PLAYER_TITLE), Configs->Names(), PlayerConfigs::DEFAULT_NAME);
      // Declining to choose cannot keep a configuration that no longer exists.
      SwitchPlayer(chosen.value_or(PlayerConfigs::DEFAULT_NAME), false);
      return;
    }
  }
}

void QuorlaFrame::SwitchPlayer(const std::string& name, bool saveFirst) {
  if (!Configs) return;
  // The window's size is each player's own.
  if (saveFirst) RememberPlacement();
  const SwitchOutcome outcome = Table->SwitchConfiguration(*Configs, name, saveFirst);
  if (!outcome.Switched) return;
  Listener.ListenFor(Configs->DirectoryOf(Configs->NameInUse()), this);
  if (outcome.ToolbarChanged) Relayout();
  ApplyPlacement();
  RefreshCommands();
  NoteResumableGame();
  // No networks could be loaded even from the defaults: the table closes.
  if (Table->Table().State().ClosingRequested) QTimer::singleShot(0, this, &QWidget::close);
}

void QuorlaFrame::RebuildTitle() {
  std::string name = PlayerConfigs::DEFAULT_NAME;
  if (Configs) name = Configs->NameInUse() == "None" ? Configs->SelectedName() : Configs->NameInUse();
  const QString title = QString::fromStdString(FrameTitle(name, Table->Table().State().Variation));
  if (windowTitle() != title) setWindowTitle(title);
}


