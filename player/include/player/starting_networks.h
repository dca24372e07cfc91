#pragma once

#include <string>

#include "neural/net.h"

// Starting weights for the position networks that already mean something,
// so that training by play refines a sensible judgement instead of having
// to discover melds from random weights (which the small temporal-difference
// rates never manage). The value of a position falls with an estimate of
// its deadwood: the plain hand points less the points of the melds that the
// run and set detectors see, with a little credit for half-built melds.
struct StartingDesign {
  bool Runs = true;          // the run detectors feed the value
  bool Sets = true;          // the rank nodes detect sets and feed the value
  double DetectorGain = 6;   // weight of each card cell in a run or set detector
  double DetectorBias = -13.5;
  double PointScale = 0.05;  // value slope per point of estimated deadwood
  double MeldCredit = 1.0;   // share of a meld's points taken off the hand points
  double OutputGain = 1.9;
  double OutputBias = -1.4;
};

// Overwrites every weight of `net`, which must have the position topology.
// Returns false when the network is not shaped as expected.
bool ApplyStartingDesign(NxNeuralBase& net, const StartingDesign& design);

// The design each level starts from before it trains.
StartingDesign LevelStartingDesign(unsigned level);

// A network data file whose four levels hold their starting designs.
bool WriteStartingDataFile(const std::string& path);
