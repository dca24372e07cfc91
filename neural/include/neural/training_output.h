#pragma once

/// @file training_output.h
/// @brief The progress records of back-propagation training.

#include <cstdint>

#include "neural/export.h"
#include "neural/support.h"

/// One progress record of back-propagation training, written every report
/// interval. Packed to the 32 bytes callers lay it out as.
#pragma pack(push, 1)
/// The errors are those of one epoch's presentations, per output of each
/// pattern, before the pattern trained.
struct NxTrainingOutput {
  uint32_t Epoch;  ///< epochs trained when the record was written
  double MaxError;  ///< the largest |target - output| of any pattern
  double MeanAbsError;  ///< the mean over the patterns of each pattern's mean |target - output|
  double RmsError;  ///< the root of the mean over the patterns of each pattern's mean squared error
  uint32_t WorstPattern;  ///< the row of the pattern set that had MaxError
};
#pragma pack(pop)
static_assert(sizeof(NxTrainingOutput) == 32, "training records are 32 bytes");

/// The progress records of a training run. A caller polls IsUpdated to learn
/// that new records, or the end of training, arrived.
/// The network adds to it from NxNeuralNet::DoSomeTraining() and raises the
/// mark once more when training ends; NxNeuralNet::SetTrainingOutputList()
/// gives it to a network.
class NX_EXPORT NxTrainingOutputList {
 public:
  /// An empty list, not marked updated.
  NxTrainingOutputList();
  virtual ~NxTrainingOutputList();
  /// Appends a record and marks the list updated.
  virtual void Add(unsigned epoch, double maxError, double meanAbsError, double rmsError, unsigned worstPattern);
  /// Removes every record and clears the mark.
  virtual void Clear();
  /// The number of records.
  virtual unsigned GetNumItems() const;
  /// Record `listPosition`, oldest first; past the end stops the program
  /// (NX_CHECK).
  virtual NxTrainingOutput GetItem(unsigned listPosition) const;
  /// Sets or clears the mark; a caller clears it once it has read the records.
  virtual void SetUpdated(bool updated);
  /// Whether records arrived, or training ended, since the mark was cleared.
  virtual bool IsUpdated() const;

 private:
  NxArray<NxTrainingOutput> List;
  bool Updated;
};
