// The backdrop reader's fuzzing entry point, apart from the others: it
// needs the Qt-free half of the window code, which the other readers' tests
// do not link.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz_entries.h"
#include "ui/backdrop_file.h"
#include "ui/bmp_file.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

// The headers alone must give the verdict the whole file gets, except that
// the pixel data may be missing.
void CheckHeadersAgree(const std::vector<uint8_t>& bytes) {
  const BmpCheck whole = CheckBmp(bytes);
  const std::vector<uint8_t> start(bytes.begin(), bytes.begin() + std::min(bytes.size(), BMP_HEADERS_BYTES));
  const BmpCheck headers = CheckBmpHeaders(start);
  if (whole.Problem == BmpProblem::DAMAGED) {
    Require(headers.Problem == BmpProblem::DAMAGED || headers.DeclaredBytes > bytes.size());
    return;
  }
  Require(headers.Problem == whole.Problem);
  if (whole.Problem == BmpProblem::NONE) Require(headers.DeclaredBytes <= bytes.size());
}

// Reading the file takes no more than the headers declare, and passes on
// only bytes the whole-file check accepts; read as the game's own backdrop
// file, an uncompressed picture passes only when it is all of the file.
void CheckFileRead(const std::vector<uint8_t>& bytes) {
  const std::string path = "/tmp/quorla-fuzz-" + std::to_string(getpid()) + ".bmp";
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return;
  if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
  const BmpFileRead read = ReadBmpFile(path);
  const BmpFileRead exact = ReadBmpFile(path, BmpLength::EXACT);
  std::remove(path.c_str());
  if (!exact.Cause && !exact.Compressed) Require(exact.Bytes == bytes && read.Bytes == bytes);
  Require(read.Bytes.size() <= bytes.size() && std::equal(read.Bytes.begin(), read.Bytes.end(), bytes.begin()));
  if (read.Cause || read.Compressed) return;
  Require(CheckBmp(read.Bytes).Problem == BmpProblem::NONE);
  DecodeBmpTrueColour(read.Bytes);
}

}  // namespace

int FuzzBmpReader(const uint8_t* data, size_t size) {
  const std::vector<uint8_t> bytes(data, data + size);
  CheckHeadersAgree(bytes);
  if (CheckBmp(bytes).Problem == BmpProblem::NONE) DecodeBmpTrueColour(bytes);
  CheckFileRead(bytes);
  return 0;
}
