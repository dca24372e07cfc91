#pragma once

#include <string_view>
#include <vector>

// Exit statuses of nxtrain.
constexpr int EXIT_CONVERGED = 0;
constexpr int EXIT_EPOCH_LIMIT = 1;
constexpr int EXIT_ERROR = 2;

struct TrainOptions;

int RunTrain(const std::vector<std::string_view>& args);
int RunStandardTrain(const TrainOptions& options);
int RunLayerTrain(const TrainOptions& options);
int RunEval(const std::vector<std::string_view>& args);
