#include "neural/file.h"

#include <cerrno>
#include <cstdarg>
#include <cstring>
#include <utility>

#include "neural/exceptions.h"
#include "neural/regular_file.h"

NxFile::NxFile(std::string name, const char* mode, bool openNow) : FileName(std::move(name)) {
  if (openNow) FOpen(mode);
}

NxFile::NxFile(std::string name, std::FILE* borrowed, const char* mode) : FileName(std::move(name)) {
  if (!SpecifyAccess(mode)) throw XCFileInvalidMode(FileName, mode ? mode : "");
  Stream = borrowed;
  Borrowed = true;
}

NxFile::~NxFile() {
  if (Stream && !Borrowed) std::fclose(Stream);
  delete[] Buffer;
}

bool NxFile::SpecifyAccess(const char* mode) {
  if (!mode || (mode[0] != 'r' && mode[0] != 'w' && mode[0] != 'a')) return false;
  const bool reading = mode[0] == 'r';
  OpenFlags = reading ? READ_ONLY : WRITE_ONLY | CREATE | (mode[0] == 'w' ? TRUNCATE : APPEND);
  PermissionFlags = reading ? 0 : PERMIT_WRITE;
  // '+' may stand second, or third after 't' or 'b'; 't' or 'b' second, or
  // third after '+'.
  auto kind = [](char c) { return c == 't' ? TEXT : c == 'b' ? BINARY : 0u; };
  if (mode[1] == '+' || (kind(mode[1]) && mode[2] == '+')) {
    OpenFlags = (OpenFlags & ~WRITE_ONLY) | READ_WRITE;
    PermissionFlags = PERMIT_READ | PERMIT_WRITE;
  }
  OpenFlags |= kind(mode[1]) | (mode[1] == '+' ? kind(mode[2]) : 0u);
  return true;
}

void NxFile::FOpen(const char* mode) {
  if (Stream) return;
  if (!SpecifyAccess(mode)) throw XCFileInvalidMode(FileName, mode ? mode : "");
  // Text and binary are the same on this platform; only r, w, a and + matter.
  const std::string stdioMode = std::string(1, mode[0]) + (OpenFlags & READ_WRITE ? "+b" : "b");
  // A file opened for reading must already be a regular file: see
  // NxOpenRegularFile for what a FIFO or a device would do otherwise.
  std::string problem;
  if (mode[0] == 'r') {
    Stream = NxOpenRegularFile(FileName, OpenFlags & READ_WRITE, &problem);
  } else if (!(Stream = std::fopen(FileName.c_str(), stdioMode.c_str()))) {
    problem = std::strerror(errno);
  }
  OpenFailed = !Stream;
  if (OpenFailed) throw XCFileBad(FileName, problem);
}

void NxFile::FClose() {
  if (!Stream) return;
  std::FILE* closing = std::exchange(Stream, nullptr);
  // A borrowed stream stays open for its owner: only its data goes out.
  const int result = std::exchange(Borrowed, false) ? std::fflush(closing) : std::fclose(closing);
  if (result != 0) throw XCFileBad(FileName, std::strerror(errno));
}

void NxFile::FReopen(std::string name, const char* mode) {
  if (!SpecifyAccess(mode)) throw XCFileInvalidMode(name, mode ? mode : "");
  if (Stream) {
    if (!Borrowed) std::fclose(Stream);
    Stream = nullptr;
    Borrowed = false;
  }
  FileName = std::move(name);
  FOpen(mode);
}

void NxFile::VerifyFile() const {
  if (!Stream) throw XCFileClosed(FileName);
}

std::FILE* NxFile::OpenStream() const {
  VerifyFile();
  return Stream;
}

std::FILE* NxFile::ReadStream() const {
  VerifyFile();
  if ((OpenFlags & (WRITE_ONLY | READ_WRITE)) == WRITE_ONLY) throw XCFileWriteOnly(FileName);
  return Stream;
}

std::FILE* NxFile::WriteStream() const {
  VerifyFile();
  if ((OpenFlags & (WRITE_ONLY | READ_WRITE)) == READ_ONLY) throw XCFileReadOnly(FileName);
  return Stream;
}

unsigned NxFile::FRead(void* buffer, unsigned size, unsigned count) {
  return static_cast<unsigned>(std::fread(buffer, size, count, ReadStream()));
}

unsigned NxFile::FWrite(const void* buffer, unsigned size, unsigned count) {
  return static_cast<unsigned>(std::fwrite(buffer, size, count, WriteStream()));
}

// The stream is checked before the arguments are taken up, so that a refusal
// never leaves them started.
int NxFile::FPrintf(const char* format, ...) {
  std::FILE* stream = WriteStream();
  va_list args;
  va_start(args, format);
  int result = std::vfprintf(stream, format, args);
  va_end(args);
  return result;
}

int NxFile::FScanf(const char* format, ...) {
  std::FILE* stream = ReadStream();
  va_list args;
  va_start(args, format);
  int result = std::vfscanf(stream, format, args);
  va_end(args);
  return result;
}

int NxFile::FPuts(const char* text) { return std::fputs(text, WriteStream()); }

int NxFile::Putc(int c) { return std::putc(c, WriteStream()); }

char* NxFile::FGets(char* buffer, int size) { return std::fgets(buffer, size, ReadStream()); }

int NxFile::FGetc() { return std::fgetc(ReadStream()); }

int NxFile::Getc() { return std::getc(ReadStream()); }

int NxFile::Ungetc(int c) { return std::ungetc(c, ReadStream()); }

int NxFile::FSeek(long offset, int origin) {
  VerifyFile();
  if (origin < 0 || origin > 2) throw XCFileInvalidSeek(FileName);
  static const int whence[] = {SEEK_SET, SEEK_CUR, SEEK_END};
  return std::fseek(Stream, offset, whence[origin]);
}

long NxFile::FTell() { return std::ftell(OpenStream()); }

int NxFile::FSetpos(const long* position) { return std::fseek(OpenStream(), *position, SEEK_SET); }

int NxFile::FGetpos(long* position) {
  long where = std::ftell(OpenStream());
  if (where < 0) return -1;
  *position = where;
  return 0;
}

int NxFile::FFlush() { return std::fflush(OpenStream()); }

void NxFile::Rewind() { std::rewind(OpenStream()); }

void NxFile::Clearerr() { std::clearerr(OpenStream()); }

int NxFile::FEof() { return std::feof(OpenStream()); }

void NxFile::Setbuf(bool on) {
  VerifyFile();
  if (on) {
    if (!Buffer) Buffer = new char[BUFFER_SIZE];
    std::setvbuf(Stream, Buffer, _IOFBF, BUFFER_SIZE);
  } else {
    std::setvbuf(Stream, nullptr, _IONBF, 0);
    delete[] Buffer;
    Buffer = nullptr;
  }
}

int NxFile::FError() {
  if (Stream) return std::ferror(Stream);
  if (OpenFailed) return 1;
  throw XCFileClosed(FileName);
}

std::string NxFile::Errorstr() { return FError() ? std::strerror(errno) : std::string(); }

int NxFile::Errno() { return FError() ? errno : 0; }
