#include "fuzz_entries.h"

#include <unistd.h>

#include <cstdio>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "neural/backprop_net.h"
#include "neural/exceptions.h"
#include "neural/net.h"
#include "neural/warning.h"
#include "player/position_network.h"
#include "store/profile_text.h"
#include "store/resume_file.h"
#include "store/setting_keys.h"
#include "store/settings_store.h"

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

// A specification may legally ask for networks far too large to build in
// a fuzzing run; such inputs are skipped, not explored.
bool AsksForHugeCounts(const uint8_t* data, size_t size) {
  uint64_t number = 0;
  for (size_t i = 0; i < size; ++i) {
    if (data[i] >= '0' && data[i] <= '9') {
      number = number * 10 + (data[i] - '0');
      if (number > 512) return true;
    } else {
      number = 0;
    }
  }
  return false;
}

}  // namespace

int FuzzResumeReader(const uint8_t* data, size_t size) {
  CheckResumeBytes(std::vector<uint8_t>(data, data + size));
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
  ProfileText text(std::string_view(reinterpret_cast<const char*>(data), size));
  for (const SettingKey& key : AllSettingKeys()) {
    auto value = text.Get(key.Section, key.Key);
    ApplyReadRule(key, value ? ParseUnsigned(*value).value_or(key.Default) : key.Default);
  }
  text.Set("Preferences", "DifficultyLevel", "2");
  text.Remove("Play", "GinVariation");
  ProfileText again(text.Text());
  return again.Get("Preferences", "DifficultyLevel").value_or("") == "2" ? 0 : (std::abort(), 0);
}

int FuzzSpecReader(const uint8_t* data, size_t size) {
  if (AsksForHugeCounts(data, size)) return 0;
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
