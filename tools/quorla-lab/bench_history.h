#pragma once

#include <string_view>
#include <vector>

// quorla-lab bench history: writing a history of play and reading its
// figures back, as the Statistics dialog does when it opens.
int RunBenchHistory(const std::vector<std::string_view>& args);
void PrintBenchHistoryHelp();
