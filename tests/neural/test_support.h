#pragma once

#include <string>
#include <vector>

#include "neural/warning.h"
#include "test_files.h"

// Records every warning the library shows while it is alive.
class WarningLog {
 public:
  WarningLog() : previous(NxSetWarningHandler(Record)) { Log().clear(); }
  ~WarningLog() { NxSetWarningHandler(previous); }

  const std::vector<std::string>& texts() const { return Log(); }
  const std::vector<std::string>& titles() const { return Titles(); }

 private:
  static std::vector<std::string>& Log() {
    static std::vector<std::string> log;
    return log;
  }
  static std::vector<std::string>& Titles() {
    static std::vector<std::string> titles;
    return titles;
  }
  static void Record(const char* title, const char* text) {
    Titles().push_back(title);
    Log().push_back(text);
  }

  NxWarningHandler previous;
};
