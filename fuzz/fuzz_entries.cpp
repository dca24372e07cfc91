#include "fuzz_entries.h"

#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "game/game_flow.h"
#include "game/headless_presentation.h"
#include "neural/backprop_net.h"
#include "neural/exceptions.h"
#include "neural/fixed.h"
#include "neural/layer.h"
#include "neural/net.h"
#include "neural/node.h"
#include "neural/warning.h"
#include "player/computer_play.h"
#include "player/data_paths.h"
#include "player/network_data_check.h"
#include "player/position_network.h"
#include "player/table_objects.h"
#include "scratch/scratch_installation.h"
#include "store/profile_text.h"
#include "store/resume_file.h"
#include "store/score_sheet.h"
#include "player/scripted_player.h"
#include "store/setting_keys.h"
#include "store/settings_check.h"
#include "store/settings_store.h"
#include "store/statistics.h"

namespace {

// The library's readers take file names: each input goes to a scratch file.
std::string ScratchFile(const char* kind, const uint8_t* data, size_t size) {
  std::string path = "/tmp/quorla-fuzz-" + std::to_string(getpid()) + "." + kind;
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return "";
  if (size > 0) std::fwrite(data, 1, size, file);
  std::fclose(file);
  return path;
}

void Silent(const char*, const char*) {}

// Every weight of both networks, in a fixed order.
std::vector<FP12_20> Weights(const ComputerPlay& computer) {
  std::vector<FP12_20> all;
  for (uint32_t choice : {LOW_NET, HIGH_NET}) {
    NxNeuralBase* net = computer.GetNet(choice);
    for (unsigned layer = 1; layer < NxNeuralBase::MAX_LAYERS; ++layer) {
      const NxBaseLayer* l = net->GetLayer(layer);
      if (!l) continue;
      for (unsigned n = 0; n < l->GetNumNodes(); ++n)
        for (unsigned w = 0; w < l->GetNodeAt(n)->GetNumWeights(); ++w) all.push_back(l->GetNodeAt(n)->GetWeight(w));
    }
  }
  return all;
}

// One hand's learning moves the weights by a few hundredths in all; a
// damaged file that reached learning once moved them by about a hundred.
constexpr double MAX_CHANGE_OF_ONE_HAND = 2.0;

// Resumes an accepted file on a table of its own, plays on to the end of
// the hand's learning and saves the networks, which must have learned no
// more than a hand can teach.
void PlayOn(const std::vector<uint8_t>& bytes) {
  namespace fs = std::filesystem;
  // Fresh default networks and the player's copy, made once and removed at exit.
  static const ScratchInstallation installation("fuzz");
  if (installation.Failed()) return;
  const std::string oldInstallation = data_paths::InstallationDirectory();
  const std::string oldConfiguration = data_paths::ConfigurationDirectory();
  data_paths::SetInstallationDirectory(installation.Directory());
  data_paths::SetConfigurationDirectory(installation.PlayerDirectory());
  std::error_code error;
  fs::copy_file(data_paths::DefaultDataPath(), data_paths::PlayerDataPath(), fs::copy_options::overwrite_existing,
                error);
  const std::string path = ScratchFile("qlf", bytes.data(), bytes.size());
  if (!error && !path.empty()) {
    HeadlessPresentation view;
    TableObjects table(view);
    const GameState& state = table.State();
    GameFlow& flow = table.Flow;
    view.Watch(&state);
    table.SeatComputer(0);
    ComputerPlay& computer = *table.Computer;
    ScoreSheet sheet(table.Record, state.Variation);
    TableParts parts{flow, table.Deck, computer, sheet, view};
    const std::vector<FP12_20> before = Weights(computer);
    if (ReadResume(path, parts, false).Outcome != ResumeOutcome::RESTORED) std::abort();
    flow.NewGame(false, false);
    for (int step = 0; step < 5000; ++step) {
      if (state.Play == Learning) {
        if (!computer.LearnStep(Learning, state.ComputerOutcome, state.HumanOutcome)) break;
      } else {
        StepHeadlessGame(flow, computer);
      }
    }
    computer.SaveNets(0);
    const std::vector<FP12_20> after = Weights(computer);
    double change = 0;
    for (size_t i = 0; i < after.size(); ++i) change += std::fabs(ToDouble(after[i]) - ToDouble(before[i]));
    if (!(change <= MAX_CHANGE_OF_ONE_HAND)) std::abort();
    flow.SetOpponent(nullptr);
  }
  if (!path.empty()) std::remove(path.c_str());
  data_paths::SetInstallationDirectory(oldInstallation);
  data_paths::SetConfigurationDirectory(oldConfiguration);
}

}  // namespace

int FuzzResumeReader(const uint8_t* data, size_t size) {
  const std::vector<uint8_t> bytes(data, data + size);
  if (CheckResumeBytes(bytes).empty()) PlayOn(bytes);
  return 0;
}

int FuzzWeightsReader(const uint8_t* data, size_t size) {
  static NxNeuralBase* net = CreateTempDiffNet(PositionNetworkTopology(), 0.5);
  std::string path = ScratchFile("wts", data, size);
  try {
    net->ReadWeights(path.c_str());
  } catch (const XCBase&) {
  }
  std::remove(path.c_str());
  return 0;
}

int FuzzSettingsReader(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  // What is kept of a file, damaged or not, is itself sound in either of
  // the store's formats, or the program would set it aside at every start.
  bool sound = false;
  for (bool typedValues : {false, true}) {
    const SettingsCheck check = CheckSettingsText(bytes, typedValues, IsUsableStatisticValue);
    if (check.Sound != check.Fault.empty()) std::abort();
    if (!CheckSettingsText(check.Salvaged, typedValues, IsUsableStatisticValue).Sound && check.SalvagedKeys > 0)
      std::abort();
    if (!typedValues) sound = check.Sound;
  }
  ProfileText text(bytes);
  for (const SettingKey& key : AllSettingKeys()) {
    auto value = text.Get(key.Section, key.Key);
    ApplyReadRule(key, value ? ParseUnsigned(*value).value_or(key.Default) : key.Default);
  }
  text.Set("Preferences", "DifficultyLevel", "2");
  text.Remove("Play", "GinVariation");
  ProfileText again(text.Text());
  // The writer's changes to a sound file leave it sound.
  if (sound && !CheckSettingsText(again.Text(), false, IsUsableStatisticValue).Sound) std::abort();
  return again.Get("Preferences", "DifficultyLevel").value_or("") == "2" ? 0 : (std::abort(), 0);
}

int FuzzSpecReader(const uint8_t* data, size_t size) {
  NxSetWarningHandler(Silent);
  std::string path = ScratchFile("spec", data, size);
  try {
    NxNeuralNet net(path.c_str());
  } catch (const XCBase&) {
  } catch (const std::exception&) {
  }
  std::remove(path.c_str());
  return 0;
}

int FuzzDataFileReader(const uint8_t* data, size_t size) {
  const std::string path = ScratchFile("data", data, size);
  if (path.empty()) return 0;
  for (uint32_t level = 0; level < NUM_LEVELS; ++level) {
    const bool usable = network_data::CheckLevelBlock(path, level).empty();
    HeadlessPresentation view;
    TableObjects table(view);
    const GameState& state = table.State();
    GameFlow& flow = table.Flow;
    view.Watch(&state);
    // Seated by hand: the data file is chosen before the networks load.
    table.Computer = std::make_unique<ComputerPlay>(flow, level);
    ComputerPlay& computer = *table.Computer;
    computer.UseFixedDataFile(path);
    flow.SetOpponent(&computer);
    computer.Init();
    // The check and the game must agree on which blocks load.
    if (computer.AreNetsValid() != usable) std::abort();
    if (flow.NewGame(false, false) != usable) std::abort();
    // Until the computer has made a decision.
    for (int step = 0; usable && step < 40 && computer.GetObservationCount() < 2 && !state.HandOver; ++step)
      StepHeadlessGame(flow, computer);
    flow.SetOpponent(nullptr);
  }
  std::remove(path.c_str());
  return 0;
}
