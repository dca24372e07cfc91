#pragma once

#include <cstdint>

#include "neural/export.h"
#include "neural/support.h"

/// One progress record of back-propagation training, written every report
/// interval. Packed to the 32 bytes callers lay it out as.
#pragma pack(push, 1)
struct NxTrainingOutput {
  uint32_t Epoch;
  double MaxError;
  double MeanAbsError;
  double RmsError;
  uint32_t WorstPattern;
};
#pragma pack(pop)
static_assert(sizeof(NxTrainingOutput) == 32, "training records are 32 bytes");

/// The progress records of a training run. A caller polls IsUpdated to learn
/// that new records, or the end of training, arrived.
class NX_EXPORT NxTrainingOutputList {
 public:
  NxTrainingOutputList();
  virtual ~NxTrainingOutputList();
  virtual void Add(unsigned epoch, double maxError, double meanAbsError, double rmsError, unsigned worstPattern);
  virtual void Clear();
  virtual unsigned GetNumItems() const;
  virtual NxTrainingOutput GetItem(unsigned listPosition) const;
  virtual void SetUpdated(bool updated);
  virtual bool IsUpdated() const;

 private:
  NxArray<NxTrainingOutput> List;
  bool Updated;
};
