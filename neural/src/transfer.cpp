#include "transfer.h"

#include <cmath>

namespace nx_transfer {

Tables tables;

namespace {

bool built = false;

FP12_20 Truncated(double value) { return static_cast<FP12_20>(value * FP_SCALE); }

void Differences(const FP12_20* table, FP12_20* steps, int count) {
  for (int i = 0; i < count; ++i) steps[i] = table[i + 1] - table[i];
  for (int i = count; i < TABLE_SIZE; ++i) steps[i] = 0;
}

FP12_20 SlopeLookup(FP12_20 x) { return Lookup(tables.Slope, tables.SlopeSteps, FpAbs(x), SCALE_25_5); }

}  // namespace

void BuildTables() {
  if (built) return;
  const double pi = M_PI;
  for (int i = 0; i < TABLE_SIZE; ++i) {
    tables.Sigmoid[i] = Truncated(1.0 / (1.0 + std::exp(-10.0 * i / 255.0)));
    double p = 2.0 * i / 255.0;
    tables.Peak[i] = Truncated(std::exp(-pi * p * p));
    double s = pi * 5.0 * i / 255.0;
    tables.Slope[i] = Truncated(0.2 / (1.0 + s * s));
  }
  Differences(tables.Sigmoid, tables.SigmoidSteps, 255);
  Differences(tables.Peak, tables.PeakSteps, 255);
  Differences(tables.PeakSteps, tables.PeakCurvature, 254);
  Differences(tables.Slope, tables.SlopeSteps, 255);
  built = true;
}

FP12_20 TableDerivative(NODETYPE type, FP12_20 x) {
  switch (type) {
    case LINEAR:
      return 0x19999;
    case PEAKED: {
      int32_t index;
      FP12_20 fraction;
      IndexAndFraction(FpAbs(x), SCALE_63_75, index, fraction);
      FP12_20 slope = index > 253 ? tables.PeakSteps[254]
                                  : FpAdd(tables.PeakSteps[index], FpMul(fraction, tables.PeakCurvature[index]));
      return x < 0 ? FpNeg(slope) : slope;
    }
    case BINARY:
    case OR:
      return SlopeLookup(x);
    case AND:
      return SlopeLookup(FpSub(x, FP_ONE));
    case MAJORITY:
      return SlopeLookup(FpSub(x, FP_HALF));
    default:
      return 0;
  }
}

}  // namespace nx_transfer
