#pragma once

#include <string>

#include "neural/net.h"

// Starting weights for the position networks that already mean something,
// so that training by play refines a sensible judgement instead of having
// to discover melds from random weights (which the small temporal-difference
// rates never manage). The value of a position falls with an estimate of
// its deadwood: the plain hand points less the points of the melds that the
// run and set detectors see. The defaults are the top level's design.
struct StartingDesign {
  bool Runs = true;  // the run detectors feed the value
  bool Sets = true;  // the rank nodes detect sets and feed the value
  // A detector's net input is gain x (its card cells) + bias. Three held
  // cards (0.9 each) must fire it; the bias decides how much credit two held
  // cards get. Credit for half-built melds measurably weakens play, so the
  // top design gives almost none.
  double DetectorGain = 6;
  double DetectorBias = -15;  // of a run detector
  double SetBias = -15;       // of a set detector
  double PointScale = 0.05;   // value slope per point of estimated deadwood
  double MeldCredit = 1.0;    // share of a meld's points taken off the hand points
  // Worth, in points of deadwood, of having drawn from the discard pile this
  // turn: every candidate of a take decision has it and the position it is
  // compared with does not, so it lowers the bar for taking the upcard.
  // Taking somewhat more often than the plain deadwood gain would justify
  // plays better, most of all when only gin may end a hand.
  double TakePoints = 4;
  // The value nodes share one slope and differ in the deadwood at which
  // they bend, so that together they stay sensitive over the whole range.
  static constexpr unsigned VALUE_NODES = 3;
  double ValueCentres[VALUE_NODES] = {20, 50, 80};
  // The output stays near the outcomes the networks learn (0.5 +- 0.004 per
  // point); it passes 0.5 at an estimated deadwood of about 23, so the lower
  // levels, which knock only above 0.5, knock with hands near knock range.
  double OutputGain = 0.5;
  double OutputBias = -0.35;
};

// Overwrites every weight of `net`, which must have the position topology.
// Returns false when the network is not shaped as expected.
bool ApplyStartingDesign(NxNeuralBase& net, const StartingDesign& design);

// The design each level starts from before it trains: shown level 1 sees
// sets only, level 2 also runs but overrates half-built melds, level 3 the
// full design, and level 4 also takes the upcard more readily.
StartingDesign LevelStartingDesign(unsigned level);

// A network data file whose four levels hold their starting designs.
bool WriteStartingDataFile(const std::string& path);
