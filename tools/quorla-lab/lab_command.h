#pragma once

#include <string_view>
#include <vector>

// One subcommand of quorla-lab. Each lives in its own file and is listed in
// main.cpp.
struct LabCommand {
  std::string_view Name;
  std::string_view Summary;
  // Arguments after the command name. Returns the exit status.
  int (*Run)(const std::vector<std::string_view>& args);
  void (*PrintHelp)();
};

const LabCommand& DeadwoodCommand();
const LabCommand& BenchCommand();
const LabCommand& InspectCommand();
const LabCommand& SnapshotCommand();
const LabCommand& ArenaCommand();
const LabCommand& TrainCommand();
const LabCommand& PlacesCommand();
