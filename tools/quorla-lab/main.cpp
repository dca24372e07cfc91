// quorla-lab: the project's command-line workbench.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <vector>

#include "lab_command.h"

namespace {
const LabCommand* const COMMANDS[] = {&DeadwoodCommand(), &BenchCommand(), &InspectCommand(), &SnapshotCommand(), &ArenaCommand(), &TrainCommand(),
                                     &PlacesCommand()};

void PrintUsage() {
  std::printf("usage: quorla-lab <command> [options]\n\ncommands:\n");
  for (const LabCommand* command : COMMANDS)
    std::printf("  %-10.*s %.*s\n", static_cast<int>(command->Name.size()), command->Name.data(),
                static_cast<int>(command->Summary.size()), command->Summary.data());
  std::printf("\nquorla-lab <command> --help describes a command.\n");
}

// Output that could not be written (a full disk, a closed pipe) is a
// failure whatever the command made of its work.
int CheckedExit(int status) {
  errno = 0;
  if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return status;
  std::fprintf(stderr, "quorla-lab: cannot write the output: %s\n", errno ? std::strerror(errno) : "write error");
  return status != 0 ? status : 2;
}

int Run(int argc, char** argv) {
  if (argc < 2) {
    PrintUsage();
    return 2;
  }
  std::string_view name = argv[1];
  if (name == "--help" || name == "-h" || name == "help") {
    PrintUsage();
    return 0;
  }
  std::vector<std::string_view> args(argv + 2, argv + argc);
  for (const LabCommand* command : COMMANDS)
    if (command->Name == name) return command->Run(args);
  std::fprintf(stderr, "quorla-lab: unknown command '%s' (see quorla-lab --help)\n", argv[1]);
  return 2;
}

}  // namespace

int main(int argc, char** argv) { return CheckedExit(Run(argc, argv)); }
