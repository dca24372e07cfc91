#include <algorithm>

#include "game/object_stream.h"
#include "player/computer_play.h"

void ComputerPlay::Write(NxObjectWriter& out) const {
  out.WriteWord(PlannedDiscard);
  out.WriteWord(RoundCount);
  out.WriteWord(ObservationCount);
  out.WriteWord(OwnPasses);
  out.WriteWord(HumanPasses);
  out.WriteWord(ReplayPosition);
  out.WriteWord(NetChoiceValue);
  for (double v : ComputerView) out.WriteDouble(v);
  for (double v : HumanView) out.WriteDouble(v);
  out.WriteWord(ObservationStore ? 1 : 0);
  if (!ObservationStore) return;
  for (uint32_t i = 0; i < std::min(ObservationCount, MAX_OBSERVATIONS); ++i)
    for (double v : ObservationStore[i]) out.WriteDouble(v);
}

namespace {

// Streams of version 0 held the counters as 16-bit words.
uint32_t ReadCounter(NxObjectReader& in, uint32_t streamVersion) {
  if (streamVersion > 0) return in.ReadWord();
  uint32_t low = in.ReadByte();
  return low | (uint32_t(in.ReadByte()) << 8);
}

}  // namespace

bool ComputerPlay::Read(NxObjectReader& in, uint32_t streamVersion) {
  uint32_t counters[7];
  for (uint32_t& c : counters) c = ReadCounter(in, streamVersion);
  enum { PLANNED, ROUNDS, OBSERVATIONS, OWN, HUMAN, REPLAY, CHOICE };
  if (in.Good() && counters[PLANNED] > 10 && counters[PLANNED] != NO_PLAN) in.Fail("planned discard out of range");
  if (in.Good() && counters[OBSERVATIONS] > MAX_OBSERVATIONS) in.Fail("too many recorded observations");
  if (in.Good() && counters[CHOICE] != LOW_NET && counters[CHOICE] != HIGH_NET) in.Fail("unknown network choice");
  if (in.Good() && counters[OWN] > 4) in.Fail("learning pass out of range");
  if (in.Good() && counters[HUMAN] > 4) in.Fail("learning pass out of range");
  // A next hand dealt before the learning ended keeps the old replay
  // position with a new count; it is reset before it is used again.
  if (in.Good() && counters[REPLAY] > MAX_OBSERVATIONS) in.Fail("replay position out of range");
  if (in.Good() && counters[ROUNDS] > MAX_ROUNDS) in.Fail("round count out of range");
  Vector computer{}, human{};
  for (double& v : computer) v = in.ReadDouble();
  for (double& v : human) v = in.ReadDouble();
  bool hasStore = in.ReadWord() != 0;
  std::unique_ptr<Vector[]> store;
  if (hasStore && in.Good()) {
    store = std::make_unique<Vector[]>(MAX_OBSERVATIONS);
    for (uint32_t i = 0; i < counters[OBSERVATIONS]; ++i)
      for (double& v : store[i]) v = in.ReadDouble();
  }
  if (in.Good() && !(IsPosition(computer) && IsPosition(human))) in.Fail("position value out of range");
  for (uint32_t i = 0; store && in.Good() && i < counters[OBSERVATIONS]; ++i)
    if (!IsPosition(store[i])) in.Fail("recorded position value out of range");
  if (!in.Good()) return false;

  PlannedDiscard = counters[PLANNED];
  RoundCount = counters[ROUNDS];
  ObservationCount = counters[OBSERVATIONS];
  OwnPasses = counters[OWN];
  HumanPasses = counters[HUMAN];
  ReplayPosition = counters[REPLAY];
  SelectNet(counters[CHOICE]);
  ReplayPending = true;
  ComputerView = computer;
  HumanView = human;
  if (store)
    ObservationStore = std::move(store);
  else
    EnsureObservationStore();
  if (CurrentNet) ReplayObservations();
  return true;
}
