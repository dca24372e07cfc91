// quorla-lab inspect: prints a resume file, a network data file or a
// settings file for a person to read.
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <string>
#include <string_view>

#include "game/card_id.h"
#include "game/object_stream.h"
#include "game/rules.h"
#include "game/string_table.h"
#include "lab_command.h"
#include "neural/exceptions.h"
#include "neural/file.h"
#include "neural/fixed.h"
#include "neural/net.h"
#include "neural/layer.h"
#include "neural/node.h"
#include "player/network_data_check.h"
#include "player/position_network.h"
#include "store/atomic_file.h"
#include "store/player_configs.h"
#include "store/preferences.h"
#include "store/profile_text.h"
#include "store/resume_file.h"
#include "store/resume_image.h"
#include "store/setting_keys.h"
#include "store/settings_check.h"
#include "store/settings_store.h"
#include "store/statistics.h"

namespace {

constexpr size_t MAX_INSPECTED_BYTES = 64 << 20;

void PrintHelp() {
  std::printf(
      "usage: quorla-lab inspect FILE\n"
      "\n"
      "Recognises FILE and prints it:\n"
      "  a resume file (RESUME.QLF): the flow state, the four piles by card\n"
      "    name, the computer player's counters, the score rows and the\n"
      "    laid-off cards; a damaged file prints \"Corrupted file FILE\" and\n"
      "    exits with status 1;\n"
      "  a network data file (QLDEFLT.QLF, QLPLAY.QLF): for each level the low\n"
      "    and the high network's weights records, valid or not, with their\n"
      "    node count and weight range;\n"
      "  a settings file (QUORLA.INI, or any FILE named *.ini, or text with at\n"
      "    least one [Section] or key=value line; a leading UTF-8 byte-order\n"
      "    mark is skipped): every key the game reads, with the value it takes\n"
      "    after the masks and limits;\n"
      "  a list of player configurations (QUORLA.REG, or any FILE named\n"
      "    *.reg): the name in each slot.\n"
      "A settings file or list the game would refuse as damaged is reported,\n"
      "with status 1, by the game's own check: what is wrong first, and the\n"
      "values the game carries on with (what could still be read of it).\n"
      "\n"
      "Anything else (a bitmap such as BACKIMG.QLF, a network data file whose\n"
      "first record does not start as the game's do), an empty file and what is\n"
      "not a regular file (a FIFO, a device, a directory) are refused with\n"
      "status 2. Bytes after the four level blocks of a network data file are\n"
      "reported, with status 1.\n");
}

const char* const PLAY_STATES[] = {"HumanTake", "HumanDiscard", "ComputerTake", "ComputerDiscard", "Learning",
                                   "HandEnded"};
const char* const PLAYERS[] = {"human", "computer", "tie"};
const char* const PILE_NAMES[] = {"human", "computer", "stock", "discard"};

std::string CardOrNone(uint32_t card) { return IsCard(card) ? CardName(card) : "none"; }
const char* YesNo(bool value) { return value ? "yes" : "no"; }

void PrintFlow(const GameState& s) {
  std::printf("play state:      %s\n", PLAY_STATES[s.Play]);
  std::printf("knock limit:     %u\n", s.KnockLimit);
  std::printf("dealer:          %s (previous %s)\n", PLAYERS[s.Dealer], PLAYERS[s.PreviousDealer]);
  std::printf("offer stage:     %u\n", static_cast<unsigned>(s.Offer));
  std::printf("upcard taken:    %s\n", CardOrNone(s.UpcardTaken).c_str());
  std::printf("last hand:       points %d, difference %d, gin %s, undercut %s\n", s.Points, s.Difference,
              YesNo(s.Gin), YesNo(s.Undercut));
  std::printf("hand over:       %s, stock exhausted %s\n", YesNo(s.HandOver), YesNo(s.StockExhausted));
  std::printf("outcomes:        human %.4f, computer %.4f\n", s.HumanOutcome, s.ComputerOutcome);
  std::printf("rules:           %s, ace requires gin %s, target %u\n", VariationCaption(s.Variation),
              YesNo(s.AceRequiresGin), s.GameTarget);
  std::printf("card back:       %u\n", s.CardBackId);
  if (s.StatusTextId == NO_STATUS_TEXT)
    std::printf("status:          none\n");
  else
    std::printf("status:          %u \"%s\"\n", s.StatusTextId, ResourceString(s.StatusTextId));
  std::printf("selection:       kind %u, card %s\n", static_cast<unsigned>(s.Selection),
              CardOrNone(s.SelectionCard).c_str());
  std::printf("watching:        %s\n", YesNo(s.Watching));
  std::printf("score sheet:     %s\n", s.ScoreSheetShown ? "shown" : "closed");
}

void PrintPiles(const NxDeck& deck) {
  for (uint32_t pile = 0; pile < deck.PileCount() && pile < 4; ++pile) {
    std::printf("%-9s (%2u):", PILE_NAMES[pile], deck.CardsInPile(pile));
    for (uint32_t card : deck.PileCards(pile)) std::printf(" %s", CardName(card).c_str());
    std::printf("\n");
  }
}

void PrintComputer(const ComputerPlay& c) {
  std::printf("computer player: planned discard %s, rounds %u, observations %u, passes %u/%u, replay at %u, %s net\n",
              CardOrNone(c.GetPlannedDiscard()).c_str(), c.GetRoundCount(), c.GetObservationCount(), c.GetOwnPasses(),
              c.GetHumanPasses(), c.GetReplayPosition(), c.GetNetChoice() == LOW_NET ? "low" : "high");
}

void PrintRecord(const ScoreRecord& r) {
  std::printf("score record:    target %u, hands won %u/%u, game over %s, shutout %s, watched %s\n", r.Target,
              r.HandsWon[0], r.HandsWon[1], YesNo(r.GameOver), YesNo(r.Shutout), YesNo(r.Watched));
  for (uint32_t i = 0; i < r.NumScores; ++i)
    std::printf("  %4u %4u  %s\n", r.Row(i).Human, r.Row(i).Computer, PLAYERS[r.Row(i).Winner]);
}

void PrintLaidOff(const LaidOffList& list) {
  if (list.Count == 0) {
    std::printf("laid off:        none\n");
    return;
  }
  std::printf("laid off by %s:", PLAYERS[list.Player]);
  for (uint32_t i = 0; i < list.Count; ++i) std::printf(" %s", CardName(list.Cards[i]).c_str());
  std::printf("\n");
}

int InspectResume(const std::string& path, const std::vector<uint8_t>& bytes) {
  ResumeImage image;
  if (!image.Parse(bytes).empty()) {
    std::printf("Corrupted file %s\n", path.c_str());
    return 1;
  }
  std::printf("resume file %s\n", path.c_str());
  PrintFlow(image.SavedState());
  PrintPiles(image.SavedDeck());
  PrintComputer(image.Computer());
  PrintRecord(image.Record());
  PrintLaidOff(image.SavedState().LaidOff);
  return 0;
}

void PrintNetworkRecord(const NxNeuralBase& net) {
  unsigned nodes = 0, weights = 0;
  FP12_20 low = 0, high = 0;
  for (unsigned layer = 0; layer < NxNeuralBase::MAX_LAYERS; ++layer) {
    const NxBaseLayer* l = net.GetLayer(layer);
    if (!l) continue;
    for (unsigned n = 0; n < l->GetNumNodes(); ++n, ++nodes) {
      const NxNode* node = l->GetNodeAt(n);
      for (unsigned w = 0; w < node->GetNumWeights(); ++w, ++weights) {
        low = weights == 0 ? node->GetWeight(w) : std::min(low, node->GetWeight(w));
        high = weights == 0 ? node->GetWeight(w) : std::max(high, node->GetWeight(w));
      }
    }
  }
  std::printf("valid, %u nodes, %u weights from %.6f to %.6f\n", nodes, weights, ToDouble(low), ToDouble(high));
}

// Each level's block is judged by the game's own check, so that what is
// reported here is exactly what the game refuses.
int InspectDataFile(const std::string& path, size_t size) {
  std::printf("network data file %s (%zu bytes)\n", path.c_str(), size);
  int status = 0;
  const long trailing = network_data::BytesPastLevelBlocks(static_cast<long>(size));
  if (trailing > 0) std::printf("trailing data: %ld bytes after the four level blocks\n", trailing);
  for (unsigned level = 0; level < NUM_LEVELS; ++level) {
    NxNeuralBase* nets[2] = {CreateTempDiffNet(PositionNetworkTopology(), LOW_NET_PERSISTENCE),
                             CreateTempDiffNet(PositionNetworkTopology(), HIGH_NET_PERSISTENCE)};
    try {
      NxFile file(path, "rb", true);
      const network_data::BlockCheck check = network_data::ReadLevelBlock(file, level, *nets[0], *nets[1]);
      if (!check.Reached) {
        std::printf("level %u: the file ends before its block\n", level + 1);
      } else {
        for (int which = 0; which < 2; ++which) {
          std::printf("level %u %-4s ", level + 1, which == 0 ? "low:" : "high:");
          if (which == 0 ? check.LowRead : check.HighRead)
            PrintNetworkRecord(*nets[which]);
          else
            std::printf(which == 0 || check.LowRead ? "not valid\n" : "not read (the record before it is not valid)\n");
        }
        if (check.Overruns) std::printf("level %u: the records run past the block's end\n", level + 1);
      }
      if (!check.Sound()) status = 1;
    } catch (const XCBase& error) {
      std::printf("level %u: %s\n", level + 1, error.what());
      status = 1;
    }
    DeleteNet(nets[0]);
    DeleteNet(nets[1]);
  }
  return status;
}

// What the game does with the file, by its own check: a damaged file is
// set aside and the game carries on with what could be read of it.
SettingsStore CheckedStore(const std::vector<uint8_t>& bytes, StoreMode mode, const SettingValueRule& rule,
                           int& status) {
  const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  const SettingsCheck check = CheckSettingsText(text, mode == StoreMode::REGISTRY, rule);
  status = check.Sound ? 0 : 1;
  if (!check.Sound)
    std::printf("damaged: %s; the game keeps the file aside and carries on with what can be read (%zu key%s)\n",
                check.Fault.c_str(), check.SalvagedKeys, check.SalvagedKeys == 1 ? "" : "s");
  return SettingsStore::OverText("Quorla", mode, check.Sound ? text : std::string_view(check.Salvaged));
}

// The values the game uses: the masks of the key table, the limits the
// table choices apply to the target and the card back, and the statistics
// as they load.
int InspectSettings(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::printf("settings file %s\n", path.c_str());
  int status = 0;
  SettingsStore store = CheckedStore(bytes, StoreMode::FILE, IsUsableStatisticValue, status);
  const TableChoices choices = ReadTableChoices(store);
  Statistics stats;
  stats.Load(store);
  for (const SettingKey& key : AllSettingKeys()) {
    uint32_t value = ReadSetting(store, key);
    if (std::string_view(key.Key) == keys::GameTarget.Key) value = choices.Rules.GameTarget;
    if (std::string_view(key.Key) == keys::DeckId.Key) value = choices.DeckId;
    for (uint32_t variation = 0; variation < STATISTIC_VARIATIONS; ++variation)
      for (uint32_t kind = 0; kind < STATISTIC_KINDS; ++kind)
        if (StatisticKeyName(static_cast<StatisticKind>(kind), variation) == key.Key)
          value = stats.At(static_cast<StatisticKind>(kind), variation);
    std::printf("[%s] %s = %u\n", key.Section, key.Key, value);
  }
  return status;
}

int InspectConfigurationList(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::printf("list of player configurations %s\n", path.c_str());
  int status = 0;
  SettingsStore store = CheckedStore(bytes, StoreMode::REGISTRY, {}, status);
  for (uint32_t slot = 0; slot < PlayerConfigs::MAX_CONFIGS; ++slot) {
    const std::string name = store.ReadString(PlayerConfigs::SECTION, std::to_string(slot), "");
    if (!name.empty()) std::printf("slot %u: %s\n", slot, name.c_str());
  }
  return status;
}

bool NamedLike(std::string_view path, std::string_view extension) {
  return path.size() > extension.size() &&
         std::equal(extension.begin(), extension.end(), path.end() - static_cast<std::ptrdiff_t>(extension.size()),
                    [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); });
}

uint32_t Word(const std::vector<uint8_t>& bytes, size_t at) {
  return uint32_t(bytes[at]) | uint32_t(bytes[at + 1]) << 8 | uint32_t(bytes[at + 2]) << 16 |
         uint32_t(bytes[at + 3]) << 24;
}

// A network data file starts with level 1's low network record: after the
// weight-set word, the type and the weight count of that network's first
// node. Anything else of that size (a bitmap such as BACKIMG.QLF) is no
// data file, damaged or not.
bool StartsLikeDataFile(const std::vector<uint8_t>& bytes) {
  NxNeuralBase* net = CreateTempDiffNet(PositionNetworkTopology(), LOW_NET_PERSISTENCE);
  const NxNode* first = net->GetLayer(1)->GetNodeAt(0);
  const bool starts = bytes.size() >= 12 && Word(bytes, 4) == static_cast<uint32_t>(first->GetNodeType()) &&
                      Word(bytes, 8) == first->GetNumSources() + 1;
  DeleteNet(net);
  return starts;
}

bool LooksLikeText(const std::vector<uint8_t>& bytes) {
  for (uint8_t b : bytes)
    if (b == 0 || (b < 0x20 && b != '\n' && b != '\r' && b != '\t')) return false;
  return true;
}

int Run(const std::vector<std::string_view>& args) {
  if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
    PrintHelp();
    return 0;
  }
  if (args.size() != 1 || args[0].empty() || args[0][0] == '-') {
    std::fprintf(stderr, "quorla-lab inspect: expects one file name (see --help)\n");
    return 2;
  }
  const std::string path(args[0]);
  auto refuse = [&path](const char* why) {
    std::fprintf(stderr, "quorla-lab inspect: %s %s\n", path.c_str(), why);
    return 2;
  };
  // Opening a FIFO would wait for a writer; a device never ends.
  struct stat info;
  if (stat(path.c_str(), &info) != 0) return refuse("cannot be read");
  if (!S_ISREG(info.st_mode)) return refuse("is not a regular file");
  auto bytes = ReadFileLimited(path, MAX_INSPECTED_BYTES);
  if (!bytes) return refuse("cannot be read");
  if (bytes->empty()) return refuse("is empty");
  // Damage can leave a settings file looking like no text at all: its name
  // says what it is meant to be, so that it is judged as the game judges it.
  if (NamedLike(path, ".reg")) return InspectConfigurationList(path, *bytes);
  if (NamedLike(path, ".ini")) return InspectSettings(path, *bytes);
  if ((*bytes)[0] == STREAM_HEADER) return InspectResume(path, *bytes);
  if (LooksLikeText(*bytes)) {
    if (!ProfileText(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size())).HasSectionOrKey())
      return refuse("is text but no settings file (no [Section] or key=value line)");
    return InspectSettings(path, *bytes);
  }
  if (bytes->size() < NUM_LEVELS * static_cast<size_t>(LEVEL_BLOCK_BYTES) || !StartsLikeDataFile(*bytes))
    return refuse("is not a resume, network data or settings file");
  return InspectDataFile(path, bytes->size());
}

}  // namespace

const LabCommand& InspectCommand() {
  static const LabCommand command{"inspect", "print a resume, network data or settings file", Run, PrintHelp};
  return command;
}
