// QuorlaFrame: the commands whose dialogs open from the frame. Until a
// dialog exists its command stays disabled, and its hook does nothing.
#include "ui/quorla_frame.h"

void QuorlaFrame::ShowVariations() {}
void QuorlaFrame::ShowDifficulty() {}
void QuorlaFrame::ShowDealing() {}
void QuorlaFrame::ShowCardback() {}
void QuorlaFrame::ShowPreferences() {}
void QuorlaFrame::ShowAbout() {}
void QuorlaFrame::SwitchPlayer() {}
void QuorlaFrame::CreatePlayer() {}
void QuorlaFrame::RemovePlayer() {}

bool QuorlaFrame::DialogReady(uint32_t) const { return false; }
