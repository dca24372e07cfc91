#include "neural/training_output.h"

#include "neural/check.h"

NxTrainingOutputList::NxTrainingOutputList() : List(10, 10), Updated(false) {}

NxTrainingOutputList::~NxTrainingOutputList() = default;

void NxTrainingOutputList::Add(unsigned epoch, double maxError, double meanAbsError, double rmsError,
                               unsigned worstPattern) {
  NxTrainingOutput record;
  record.Epoch = epoch;
  record.MaxError = maxError;
  record.MeanAbsError = meanAbsError;
  record.RmsError = rmsError;
  record.WorstPattern = worstPattern;
  List.Add(record);
  Updated = true;
}

void NxTrainingOutputList::Clear() {
  List.Flush();
  Updated = false;
}

unsigned NxTrainingOutputList::GetNumItems() const { return List.GetNumItems(); }

NxTrainingOutput NxTrainingOutputList::GetItem(unsigned listPosition) const {
  NX_CHECK(listPosition < List.GetNumItems());
  return List[listPosition];
}

void NxTrainingOutputList::SetUpdated(bool updated) { Updated = updated; }

bool NxTrainingOutputList::IsUpdated() const { return Updated; }
