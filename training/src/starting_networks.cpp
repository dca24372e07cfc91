#include "training/starting_networks.h"

#include <map>
#include <stdexcept>

#include "neural/layer.h"
#include "neural/node.h"
#include "player/network_data.h"
#include "player/position_network.h"

namespace {

enum Layer : unsigned { INPUT = 0, OUTPUT = 1, RUNS = 2, RANKS = 3, FEATURES = 4, COMBINING = 5 };
constexpr unsigned DRAW_CELL = 27;
constexpr unsigned HAND_POINTS_CELL = 55;
constexpr unsigned VALUE_NODES = StartingDesign::VALUE_NODES;

struct Place {
  unsigned Layer;
  unsigned Index;
};

int CardPoints(unsigned rank) { return rank >= 9 ? 10 : static_cast<int>(rank) + 1; }

class Designer {
 public:
  Designer(NxNeuralBase& net, const StartingDesign& design) : Net(net), Design(design) {}

  bool Apply() {
    if (!MapNodes()) return false;
    for (unsigned i = 0; i < Net.GetLayer(RUNS)->GetNumNodes(); ++i) DesignRunDetector(i);
    for (unsigned i = 0; i < Net.GetLayer(RANKS)->GetNumNodes(); ++i) DesignRankNode(i);
    for (unsigned i = 0; i < Net.GetLayer(FEATURES)->GetNumNodes(); ++i) DesignFeatureNode(i);
    for (unsigned i = 0; i < Net.GetLayer(COMBINING)->GetNumNodes(); ++i) DesignCombiningNode(i);
    DesignOutput();
    return true;
  }

 private:
  bool MapNodes() {
    const unsigned expected[] = {56, 1, 44, 13, 6, 7};
    for (unsigned layer = INPUT; layer <= COMBINING; ++layer) {
      NxBaseLayer* nodes = Net.GetLayer(layer);
      if (!nodes || nodes->GetNumNodes() != expected[layer]) return false;
      for (unsigned i = 0; i < nodes->GetNumNodes(); ++i) Places[nodes->GetNodeAt(i)] = {layer, i};
    }
    return true;
  }

  Place Source(NxNode* node, unsigned i) const { return Places.at(node->GetSource(i)); }
  static bool IsCardCell(Place p) { return p.Layer == INPUT && p.Index % 14 != 13; }

  static void Set(NxNode* node, unsigned i, double w) { node->SetWeight(i, ToFixed(w)); }
  static void SetBias(NxNode* node, double w) { node->SetWeight(node->GetNumSources(), ToFixed(w)); }

  // Fires when its three cards are all held (0.9 each); two held with the
  // third unseen give a faint signal, the credit for a half-built run.
  void DesignRunDetector(unsigned index) {
    NxNode* node = Net.GetLayer(RUNS)->GetNodeAt(index);
    int points = 0;
    for (unsigned i = 0; i < node->GetNumSources(); ++i) {
      Place p = Source(node, i);
      Set(node, i, Design.Runs ? Design.DetectorGain : 0.0);
      if (IsCardCell(p)) points += CardPoints(p.Index % 14);
    }
    SetBias(node, Design.Runs ? Design.DetectorBias : -10.0);
    MeldPoints[node] = points;
  }

  // A set detector over the four cards of its rank; the run windows it
  // also sees are left out (the combining nodes see them directly).
  void DesignRankNode(unsigned index) {
    NxNode* node = Net.GetLayer(RANKS)->GetNodeAt(index);
    int points = 0;
    for (unsigned i = 0; i < node->GetNumSources(); ++i) {
      Place p = Source(node, i);
      bool card = IsCardCell(p);
      Set(node, i, card && Design.Sets ? Design.DetectorGain : 0.0);
      if (card) points = 3 * CardPoints(p.Index % 14);
    }
    SetBias(node, Design.Sets ? Design.SetBias : -10.0);
    MeldPoints[node] = points;
  }

  // Feature node 0 carries the hand points, nearly linearly: its net input
  // runs from about -1.1 for no points to 1.1 for a hand of picture cards.
  // Feature node 1 tells a draw from the discard pile (0.9) from one from
  // the stock (0.1), in designs that favour taking; left out otherwise, as
  // learning could make it favour taking after all. The others
  // are unused.
  void DesignFeatureNode(unsigned index) {
    NxNode* node = Net.GetLayer(FEATURES)->GetNodeAt(index);
    for (unsigned i = 0; i < node->GetNumSources(); ++i) {
      unsigned cell = Source(node, i).Index;
      double w = 0;
      if (index == 0 && cell == HAND_POINTS_CELL) w = HandPointsGain;
      if (index == 1 && cell == DRAW_CELL && Design.TakePoints != 0) w = DrawGain;
      Set(node, i, w);
    }
    SetBias(node, index == 0 ? HandPointsBias : index == 1 && Design.TakePoints != 0 ? -DrawGain / 2 : 0.0);
    if (index == 0) HandPointsNode = node;
    if (index == 1) DrawNode = node;
  }

  // Value node k: slope x (meld points - hand points) + a bend at its centre.
  void DesignCombiningNode(unsigned index) {
    NxNode* node = Net.GetLayer(COMBINING)->GetNodeAt(index);
    const bool value = index < VALUE_NODES;
    const double s = Design.PointScale;
    // Slope of the hand-points node per point of the hand, at its centre.
    const double perPoint = HandPointsGain * HandPointsCellScale * 0.25;
    for (unsigned i = 0; i < node->GetNumSources(); ++i) {
      NxNode* source = node->GetSource(i);
      double w = 0;
      if (value && source == HandPointsNode)
        w = -s / perPoint;
      else if (value && source == DrawNode)
        w = s * Design.TakePoints;
      else if (value && MeldPoints.count(source))
        w = s * Design.MeldCredit * MeldPoints[source];
      Set(node, i, w);
    }
    // The hand-points node gives 0.5 at about 50 points; shift so that the
    // node's net input is -s x deadwood + its bend.
    const double handPointsAtCentre = (0.0 - HandPointsBias) / HandPointsGain - 0.1;
    const double centrePoints = handPointsAtCentre / HandPointsCellScale;
    double bias = 0;
    if (value) bias = s / perPoint * 0.5 - s * centrePoints + s * Design.ValueCentres[index];
    SetBias(node, bias);
  }

  void DesignOutput() {
    NxNode* node = Net.GetLayer(OUTPUT)->GetNodeAt(0);
    for (unsigned i = 0; i < node->GetNumSources(); ++i)
      Set(node, i, Source(node, i).Index < VALUE_NODES ? Design.OutputGain : 0.0);
    SetBias(node, Design.OutputBias - Design.OutputGain * VALUE_NODES * 0.5);
  }

  static constexpr double HandPointsGain = 3.0;
  static constexpr double HandPointsBias = -1.4;
  static constexpr double HandPointsCellScale = 0.8 / 110;
  static constexpr double DrawGain = 10.0;

  NxNeuralBase& Net;
  const StartingDesign& Design;
  std::map<const NxNode*, Place> Places;
  std::map<const NxNode*, int> MeldPoints;
  NxNode* HandPointsNode = nullptr;
  NxNode* DrawNode = nullptr;
};

}  // namespace

bool ApplyStartingDesign(NxNeuralBase& net, const StartingDesign& design) {
  try {
    return Designer(net, design).Apply();
  } catch (const std::out_of_range&) {
    return false;  // a node wired to something outside the expected layers
  }
}

StartingDesign LevelStartingDesign(unsigned level) {
  StartingDesign design;
  // Below the top level the upcard is taken only for its deadwood gain:
  // two such players that both took eagerly could hand the same cards back
  // and forth for ever.
  if (level < 3) design.TakePoints = 0;
  if (level == 0) design.Runs = false;
  if (level == 1) design.DetectorBias = design.SetBias = -13.5;
  return design;
}

bool WriteStartingDataFile(const std::string& path) {
  network_data::LevelNets levels[NUM_LEVELS];
  bool designed = true;
  for (unsigned level = 0; level < NUM_LEVELS; ++level) {
    levels[level].Low = CreateTempDiffNet(PositionNetworkTopology(), LOW_NET_PERSISTENCE);
    levels[level].High = CreateTempDiffNet(PositionNetworkTopology(), HIGH_NET_PERSISTENCE);
    StartingDesign design = LevelStartingDesign(level);
    designed = designed && ApplyStartingDesign(*levels[level].Low, design) &&
               ApplyStartingDesign(*levels[level].High, design);
  }
  bool written = designed && network_data::WriteDataFile(path, levels);
  for (network_data::LevelNets& level : levels) {
    DeleteNet(level.Low);
    DeleteNet(level.High);
  }
  return written;
}
