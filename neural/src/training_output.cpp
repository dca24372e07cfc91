#include "neural/training_output.h"

#include "neural/check.h"

NxTrainingOutputList::NxTrainingOutputList() : List(10, 10), Updated(false) {}

NxTrainingOutputList::~NxTrainingOutputList() = default;

void NxTrainingOutputList::Add(unsigned epoch, double maxError, double meanAbsError, double rmsError,
                               unsigned worstPattern) {
  List.Add(NxTrainingOutput{epoch, maxError, meanAbsError, rmsError, worstPattern});
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
