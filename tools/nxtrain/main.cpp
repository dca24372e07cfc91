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
    "  nxtrain eval NET.spec FILE.wts PATTERNS.pat\n"
    "  nxtrain --help\n"
    "\n"
    "train builds the network from its network specification file, reads the patterns and\n"
    "trains until every output is within the tolerance of its target or the epoch\n"
    "limit is reached, printing a progress record every report interval as it goes\n"
    "(and a running progress line on stderr when that is a terminal), then the result.\n"
    "  --patterns N    read the first N patterns, N 1..4294967295 (default: every complete one)\n"
    "  --epochs N      epoch limit, 1..4294967295 (default 10000)\n"
    "  --report N      epochs between progress records, 1..4294967295 (default 10); it also\n"
    "                  paces training: every N epochs the learning rates are rescaled from\n"
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
    "  --save FILE     write the trained weights to FILE\n"
    "  --load FILE     start from the weights in FILE\n"
    "  --seed N        fix the random seed (0..4294967295), so that runs repeat exactly\n"
    "\n"
    "eval prints, per pattern, the inputs, the targets and the outputs of the\n"
    "network with the given weights, and the mean absolute error.\n"
    "\n"
    "Warnings print to stderr as \"Neural Network Warning: <text>\".\n"
    "Exit status: 0 converged (or eval done), 1 epoch limit reached, 2 error.\n";

void PrintWarning(const char* title, const char* text) { std::fprintf(stderr, "%s: %s\n", title, text); }

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
    std::fprintf(stderr, "nxtrain: %s\n", error.what());
  }
  return EXIT_ERROR;
}

}  // namespace

int main(int argc, char** argv) { return CheckedExit(Run(argc, argv)); }
