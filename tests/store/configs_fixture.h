#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "game/user_messages.h"
#include "store/player_configs.h"
#include "table_fixture.h"
#include "test_files.h"

// Player configurations are managed before any table exists, so the
// fixture answers their questions with message boxes alone.
struct RecordedMessages : UserMessages {
  struct Shown {
    uint32_t Caption;
    std::string Text;
    MessageIcon Icon;
  };
  void MessageText(uint32_t captionId, const std::string& text, MessageIcon icon) override {
    Messages.push_back({captionId, text, icon});
  }
  bool ConfirmText(uint32_t captionId, const std::string& text) override {
    ConfirmedTexts.emplace_back(captionId, text);
    if (ConfirmAnswers.empty()) return true;
    bool answer = ConfirmAnswers.front();
    ConfirmAnswers.pop_front();
    return answer;
  }
  std::vector<Shown> Messages;
  std::deque<bool> ConfirmAnswers;
  std::vector<std::pair<uint32_t, std::string>> ConfirmedTexts;
};

struct ConfigsFixture : ::testing::Test {
  ConfigsFixture() {
    WriteText(Install.Path("BACKIMG.QLF"), "picture");
    WriteText(Install.Path("INSTAL32.LOG"), "installed\n");
    Configs.FreeSpace = [this](const std::string&) { return Free; };
  }
  std::string Dir() const { return Install.Path(""); }
  std::string LastText() const { return Boxes.Messages.empty() ? "" : Boxes.Messages.back().Text; }

  ScratchInstallation Install;
  RecordedMessages Boxes;
  uint64_t Free = 1ull << 40;
  PlayerConfigs Configs{Install.Path(""), Boxes};
};
