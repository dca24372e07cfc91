#include "neural/net.h"
#include "player/computer_play.h"

void ComputerPlay::ApplyLevelRates(uint32_t level) {
  bool top = level == 3;
  LowNet->SetupStandardLearning(top ? 0.0625 : 0.3125);
  HighNet->SetupStandardLearning(top ? 0.125 : 0.625);
}


bool ComputerPlay::LoadNets(uint32_t level, bool fromDefault) {
  if (!LowNet || !HighNet) return false;
  const NetworkDataFiles::LoadResult result = DataFiles.Load(level, fromDefault, *LowNet, *HighNet);
  Level4Missing = result == NetworkDataFiles::LoadResult::LEVEL4_MISSING;
  if (result != NetworkDataFiles::LoadResult::LOADED) return false;
  ApplyLevelRates(level);
  return true;
}

void ComputerPlay::SaveNets(uint32_t level) {
  if (NetsValid && LowNet && HighNet) DataFiles.Save(level, *LowNet, *HighNet);
}

bool ComputerPlay::SaveNetsOnClose() {
  SavedOnClose = true;
  if (!NetsValid || !LowNet || !HighNet) return true;
  return DataFiles.Save(CurrentLevel, *LowNet, *HighNet, false);
}

bool ComputerPlay::CopyDefaultData() { return DataFiles.CopyDefaults(); }
