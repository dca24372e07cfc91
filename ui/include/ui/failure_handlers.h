#pragma once

#include <functional>
#include <string>

// Shows a failure that ends the program: a box with the exclamation icon.
using FailureReport = std::function<void(const std::string& caption, const std::string& text)>;

constexpr int FAILURE_EXIT_CODE = 1;

// Runs the whole program inside the three last-resort handlers: exhausted
// memory, a failure that carries a text, and anything else. Each reports
// its message and gives exit code 1; otherwise the run's own code is
// returned.
int RunWithFailureHandlers(const std::function<int()>& run, const FailureReport& report);
