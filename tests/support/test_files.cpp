#include "test_files.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <iterator>

ScratchDirectory::ScratchDirectory() {
  static int counter = 0;
  Root = std::filesystem::path(::testing::TempDir()) /
         ("quorla-scratch-" + std::to_string(getpid()) + "-" + std::to_string(++counter));
  std::filesystem::remove_all(Root);
  std::filesystem::create_directories(Root);
}

ScratchDirectory::~ScratchDirectory() {
  std::error_code ignored;
  std::filesystem::remove_all(Root, ignored);
}

std::set<std::string> ScratchDirectory::Names() const {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(Root)) names.insert(entry.path().filename().string());
  return names;
}

std::string TempPath(const std::string& name) { return std::string(::testing::TempDir()) + name; }

std::string FileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteText(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

std::vector<unsigned char> ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteAll(const std::string& path, const std::vector<unsigned char>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}
