#pragma once

#include <string_view>
#include <vector>

// quorla-lab bench game: whole hands through the flow with learning.
int RunBenchGame(const std::vector<std::string_view>& args);
void PrintBenchGameHelp();
