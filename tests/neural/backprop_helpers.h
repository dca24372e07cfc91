#pragma once

#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "neural/backprop_net.h"
#include "neural/warning.h"

// A text file that exists for the lifetime of the object.
class ScratchFile {
 public:
  explicit ScratchFile(const std::string& content) {
    static int counter = 0;
    Path = "/tmp/nx_scratch_" + std::to_string(getpid()) + "_" + std::to_string(counter++);
    std::FILE* file = std::fopen(Path.c_str(), "wb");
    std::fwrite(content.data(), 1, content.size(), file);
    std::fclose(file);
  }
  ~ScratchFile() { std::remove(Path.c_str()); }
  const char* Name() const { return Path.c_str(); }

 private:
  std::string Path;
};

// Collects the warnings shown while it lives.
class WarningRecorder {
 public:
  WarningRecorder() : Previous(NxSetWarningHandler(Record)) { Shown().clear(); }
  ~WarningRecorder() { NxSetWarningHandler(Previous); }

  struct Warning {
    std::string title;
    std::string text;
  };
  static std::vector<Warning>& Shown() {
    static std::vector<Warning> shown;
    return shown;
  }

 private:
  static void Record(const char* title, const char* text) { Shown().push_back({title, text}); }
  NxWarningHandler Previous;
};

// Input layer 0 of inputs nodes, optional hidden layer 2, output layer 1,
// fully connected in sequence.
inline NxNeuralBase::ConfigData LayeredConfig(int inputs, int hidden, int outputs, NODETYPE outputType = SIGMOID) {
  NxNeuralBase::ConfigData config;
  config.AddLayer(0, TSize{inputs, 1}, SIGMOID);
  config.AddLayer(1, TSize{outputs, 1}, outputType);
  TSize none{0, 0};
  if (hidden > 0) {
    config.AddLayer(2, TSize{hidden, 1}, SIGMOID);
    config.AddMapping(0, 2, TSize{inputs, 1}, none, none, 0);
    config.AddMapping(2, 1, TSize{hidden, 1}, none, none, 0);
  } else {
    config.AddMapping(0, 1, TSize{inputs, 1}, none, none, 0);
  }
  return config;
}

// Rows in the layout the net owns: new[] rows in a new[] table.
inline double** OwnedRows(const std::vector<std::vector<double>>& rows) {
  double** table = new double*[rows.size()];
  for (size_t i = 0; i < rows.size(); ++i) {
    table[i] = new double[rows[i].size()];
    for (size_t k = 0; k < rows[i].size(); ++k) table[i][k] = rows[i][k];
  }
  return table;
}

inline std::vector<std::vector<double>> XorRows() { return {{0, 0, 0}, {0, 1, 1}, {1, 0, 1}, {1, 1, 0}}; }
