#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

// A directory of its own for one test, removed afterwards.
class ScratchDirectory {
 public:
  ScratchDirectory() {
    static int counter = 0;
    Root = std::filesystem::path(::testing::TempDir()) /
           ("quorla-store-" + std::to_string(getpid()) + "-" + std::to_string(++counter));
    std::filesystem::remove_all(Root);
    std::filesystem::create_directories(Root);
  }
  ~ScratchDirectory() { std::filesystem::remove_all(Root); }
  std::string Path(const std::string& name) const { return (Root / name).string(); }
  std::string Directory() const { return Root.string() + "/"; }

 private:
  std::filesystem::path Root;
};

inline std::string FileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteText(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}
