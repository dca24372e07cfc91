#include "test_files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <iterator>

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

const char* Describe(BadFile kind) {
  switch (kind) {
    case BadFile::FIFO: return "a named pipe";
    case BadFile::DIRECTORY: return "a directory";
    case BadFile::OVERSIZED: return "an oversized file";
    case BadFile::LINK_TO_FIFO: return "a link to a named pipe";
    case BadFile::DANGLING_LINK: return "a dangling link";
    case BadFile::LINK_TO_DEVICE: return "a link to /dev/zero";
  }
  return "?";
}

void PlantBadFile(BadFile kind, const std::string& path, size_t maxBytes) {
  const std::string target = path + ".target";
  std::filesystem::remove_all(path);
  std::filesystem::remove_all(target);
  switch (kind) {
    case BadFile::FIFO: ASSERT_EQ(mkfifo(path.c_str(), 0600), 0) << path; break;
    case BadFile::DIRECTORY: std::filesystem::create_directory(path); break;
    case BadFile::OVERSIZED: WriteText(path, "[Play]\n" + std::string(maxBytes, ';')); break;
    case BadFile::LINK_TO_FIFO:
      ASSERT_EQ(mkfifo(target.c_str(), 0600), 0) << target;
      std::filesystem::create_symlink(target, path);
      break;
    case BadFile::DANGLING_LINK: std::filesystem::create_symlink(target, path); break;
    case BadFile::LINK_TO_DEVICE: std::filesystem::create_symlink("/dev/zero", path); break;
  }
}

BlockingGuard::BlockingGuard(unsigned seconds) { alarm(seconds); }

BlockingGuard::~BlockingGuard() { alarm(0); }
