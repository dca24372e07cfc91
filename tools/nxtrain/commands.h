#pragma once

#include <string_view>
#include <vector>

// Exit statuses of nxtrain.
constexpr int EXIT_CONVERGED = 0;
constexpr int EXIT_EPOCH_LIMIT = 1;
constexpr int EXIT_ERROR = 2;

int RunTrain(const std::vector<std::string_view>& args);
int RunEval(const std::vector<std::string_view>& args);
