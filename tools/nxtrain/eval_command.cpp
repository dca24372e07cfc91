#include <cmath>
#include <cstdio>
#include <stdexcept>

#include "arguments.h"
#include "commands.h"
#include "neural/backprop_net.h"

namespace {

void PrintValues(const double* values, unsigned count, const char* format) {
  for (unsigned k = 0; k < count; ++k) std::printf(format, values[k]);
}

}  // namespace

// Errors are measured against the targets as the output nodes hold them
// (clamped to 0..1 except on LINEAR nodes), as training measures them.
int RunEval(const std::vector<std::string_view>& args) {
  EvalOptions options = ParseEvalArguments(args);
  NxNeuralNet net(options.specFile.c_str());
  if (!net.ReadWeights(options.weightsFile.c_str()))
    throw std::runtime_error("weights file " + options.weightsFile + " does not fit the network of " +
                             options.specFile);
  net.ReadIOPatterns(options.patternFile.c_str(), 0);
  NxBackPropOutputLayer* outputLayer = net.GetOutputLayer();
  double sumError = 0;
  double maxError = 0;
  for (unsigned i = 0; i < net.GetNumPatterns(); ++i) {
    double* row = net.GetIOPatterns()[i];
    net.SetFullPattern(row);
    double* outputs = outputLayer->GetOutput();
    NxErrorTotals totals = outputLayer->GetTotalError();
    sumError += totals.MeanAbsError;
    maxError = std::fmax(maxError, totals.MaxError);
    std::printf("%5u  in", i);
    PrintValues(row, net.GetNumInputs(), " %g");
    std::printf("  target");
    PrintValues(row + net.GetNumInputs(), net.GetNumOutputs(), " %g");
    std::printf("  out");
    PrintValues(outputs, net.GetNumOutputs(), " %.6f");
    std::printf("\n");
  }
  std::printf("mean absolute error %.6f, max error %.6f over %u patterns\n", sumError / net.GetNumPatterns(),
              maxError, net.GetNumPatterns());
  return 0;
}
