// nxtrain: trains and evaluates back-propagation networks described by a
// network specification file, on patterns from a pattern file.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string_view>
#include <vector>

#include "arguments.h"
#include "commands.h"
#include "neural/exceptions.h"
#include "neural/message_error.h"
#include "neural/warning.h"

namespace {

const char* const HELP_TEXT =
    "usage:\n"
    "  nxtrain train NET.spec PATTERNS.pat [options]\n"
    "  nxtrain eval NET.spec FILE.wts PATTERNS.pat [--summary]\n"
    "  nxtrain --help\n"
    "\n"
    "train builds the network from its network specification file, reads the patterns (one\n"
    "a line, checked against the network's inputs and outputs) and trains it, printing a\n"
    "record every report interval (and a running progress line on stderr when that is a\n"
    "terminal), then the result.\n"
    "  --algorithm A   rprop (default): iRPROP-, one step per epoch, no rate to choose;\n"
    "                  batch: gradient descent on each epoch's mean gradient;\n"
    "                  per-pattern: the weights change after every pattern, in a new order\n"
    "                  every epoch; standard: the library's own training (see below)\n"
    "  --patterns N    read the first N patterns, N 1..4294967295 (default: all of them)\n"
    "  --epochs N      epoch limit, 1..4294967295 (default 100; standard 10000)\n"
    "  --report N      epochs between progress records, 1..4294967295 (default 10)\n"
    "  --target-mse E  stop once the training mean squared error is below E, 0..1\n"
    "                  (default 0: train to the epoch limit)\n"
    "  --validation S  hold the share S (0..0.9) of the patterns out, stop when their error\n"
    "                  has not improved for --patience epochs (default 20), keep the best weights\n"
    "  --rate R        learning rate of batch and per-pattern, 0..10 (default 0.7)\n"
    "  --momentum M    momentum of batch and per-pattern, 0..1 (default 0)\n"
    "  --decay D       weight decay per pattern of rprop and batch, 0..1 (default 0.00002)\n"
    "  --no-scaling    train on the raw inputs; by default every input is scaled onto -1..1\n"
    "                  over the training patterns and the scaling is folded into the saved\n"
    "                  weights, which then take raw inputs (not with --load)\n"
    "  --save FILE     write the trained weights to FILE\n"
    "  --load FILE     start from the weights in FILE\n"
    "  --seed N        fix the random seed (0..4294967295), so that runs repeat exactly\n"
    "\n"
    "--algorithm standard trains until every output is within the tolerance of its target or\n"
    "the epoch limit is reached, and skips patterns already within it:\n"
    "  --report N      also paces training: every N epochs the learning rates are rescaled from\n"
    "                  the largest error of the period, and a little noise (within\n"
    "                  +-0.001) is added to the biases of sigmoid, linear and peaked nodes\n"
    "  --tolerance T   largest accepted |output - target|, 0 or more (default 0.1)\n"
    "  --rate R        one learning rate for every node, 0..10, which the rescaling keeps\n"
    "                  (binary nodes go back to 1 at the first rescaling); default: the\n"
    "                  standard set-up, a rate per node from its number of sources, which\n"
    "                  the rescaling raises as the largest error nears 0 or 1\n"
    "  --momentum M    one momentum for every node, 0..1 (default: the standard set-up,\n"
    "                  at most 0.5 per node); with --by-epoch the first rescaling sets 0.1\n"
    "  --by-epoch      change the weights once per epoch instead of per pattern\n"
    "  --shuffle       present the patterns in a new random order every epoch\n"
    "\n"
    "eval prints, per pattern, the inputs, the targets and the outputs of the\n"
    "network with the given weights (not with --summary), and the mean absolute error;\n"
    "for one-of-N targets also the accuracy and a confusion summary.\n"
    "\n"
    "Warnings print to stderr as \"Neural Network Warning: <text>\".\n"
    "Exit status: 0 done (standard: converged; with --target-mse: reached), 1 epoch limit\n"
    "reached first, 2 error.\n";

void PrintWarning(const char* title, const char* text) {
  std::fprintf(stderr, "%s: %s\n", title, PlainMessage(text).c_str());
}

int Dispatch(std::string_view command, const std::vector<std::string_view>& args) {
  if (command == "train") return RunTrain(args);
  if (command == "eval") return RunEval(args);
  throw UsageError("unknown command '" + std::string(command) + "'");
}

// Output that could not be written (a full disk, a closed pipe) is a
// failure whatever the command made of its work.
int CheckedExit(int status) {
  errno = 0;
  if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return status;
  std::fprintf(stderr, "nxtrain: cannot write the output: %s\n", errno ? std::strerror(errno) : "write error");
  return status != 0 ? status : EXIT_ERROR;
}

int Run(int argc, char** argv) {
  NxSetWarningHandler(PrintWarning);
  std::vector<std::string_view> args(argv + 1, argv + argc);
  for (std::string_view arg : args) {
    if (arg == "--help" || arg == "-h") {
      std::fputs(HELP_TEXT, stdout);
      return 0;
    }
  }
  if (args.empty()) {
    std::fputs(HELP_TEXT, stderr);
    return EXIT_ERROR;
  }
  try {
    return Dispatch(args[0], std::vector<std::string_view>(args.begin() + 1, args.end()));
  } catch (const UsageError& error) {
    std::fprintf(stderr, "nxtrain: %s (see nxtrain --help)\n", error.what());
  } catch (const std::exception& error) {
    std::fprintf(stderr, "nxtrain: %s\n", PlainMessage(error.what()).c_str());
  }
  return EXIT_ERROR;
}

}  // namespace

int main(int argc, char** argv) { return CheckedExit(Run(argc, argv)); }
