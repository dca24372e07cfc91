#include <cmath>
#include <cstdio>
#include <stdexcept>
#include <vector>

#include "arguments.h"
#include "commands.h"
#include "confusion_summary.h"
#include "neural/backprop_net.h"
#include "neural/trainer.h"

namespace {

void PrintValues(std::span<const double> values, const char* format) {
  for (double value : values) std::printf(format, value);
}

}  // namespace

// Errors are measured against the targets as the output nodes hold them
// (clamped to 0..1 except on LINEAR nodes), as training measures them.
int RunEval(const std::vector<std::string_view>& args) {
  EvalOptions options = ParseEvalArguments(args);
  NxNeuralNet net(options.specFile.c_str());
  if (!net.ReadWeights(options.weightsFile.c_str()))
    throw std::runtime_error("weights file " + options.weightsFile + " does not fit the network of " +
                             options.specFile + ": " + net.GetErrorText());
  const nx::DataSet data = nx::DataSet::FromPatternFile(options.patternFile, net);
  NxBackPropOutputLayer* outputLayer = net.GetOutputLayer();
  double sumError = 0;
  double maxError = 0;
  std::vector<double> row;
  for (size_t i = 0; i < data.Size(); ++i) {
    row.assign(data.Row(i).begin(), data.Row(i).end());
    net.SetFullPattern(row.data());
    const std::span<const double> outputs(outputLayer->GetOutput(), net.GetNumOutputs());
    NxErrorTotals totals = outputLayer->GetTotalError();
    sumError += totals.MeanAbsError;
    maxError = std::fmax(maxError, totals.MaxError);
    if (options.summary) continue;
    std::printf("%5zu  in", i);
    PrintValues(data.Inputs(i), " %g");
    std::printf("  target");
    PrintValues(data.Targets(i), " %g");
    std::printf("  out");
    PrintValues(outputs, " %.6f");
    std::printf("\n");
  }
  std::printf("mean absolute error %.6f, max error %.6f over %zu patterns\n", sumError / data.Size(), maxError,
              data.Size());
  const nx::Evaluation evaluation = nx::Evaluate(net, data);
  if (evaluation.OneOfN) PrintConfusionSummary(evaluation, data.Size());
  return 0;
}
