#pragma once

#include <cstdio>
#include <string>

#include "neural/export.h"

/// A checked wrapper around a buffered file stream. Every operation verifies
/// that the file is open and that the access mode allows it, and reports
/// violations and system errors as XCFile exceptions naming the file.
class NX_EXPORT NxFile {
 public:
  /// Access bits derived from the mode string.
  static constexpr unsigned READ_ONLY = 0x0000;
  static constexpr unsigned WRITE_ONLY = 0x0001;
  static constexpr unsigned READ_WRITE = 0x0002;
  static constexpr unsigned CREATE = 0x0100;
  static constexpr unsigned TRUNCATE = 0x0200;
  static constexpr unsigned APPEND = 0x0800;
  static constexpr unsigned TEXT = 0x4000;
  static constexpr unsigned BINARY = 0x8000;
  static constexpr unsigned PERMIT_WRITE = 0x0080;
  static constexpr unsigned PERMIT_READ = 0x0100;
  static constexpr unsigned BUFFER_SIZE = 512;

  NxFile(std::string name, const char* mode, bool openNow);
  /// Works on a stream the caller opened and keeps open (a safe save's
  /// temporary file): closing leaves the stream alone. Messages name `name`.
  NxFile(std::string name, std::FILE* borrowed, const char* mode);
  ~NxFile();

  NxFile(const NxFile&) = delete;
  NxFile& operator=(const NxFile&) = delete;

  void FOpen(const char* mode);
  void FClose();
  void FReopen(std::string name, const char* mode);

  unsigned FRead(void* buffer, unsigned size, unsigned count);
  unsigned FWrite(const void* buffer, unsigned size, unsigned count);
  int FPrintf(const char* format, ...) __attribute__((format(printf, 2, 3)));
  int FScanf(const char* format, ...) __attribute__((format(scanf, 2, 3)));
  int FPuts(const char* text);
  int Putc(int c);
  char* FGets(char* buffer, int size);
  int FGetc();
  int Getc();
  int Ungetc(int c);

  int FSeek(long offset, int origin);
  long FTell();
  int FSetpos(const long* position);
  int FGetpos(long* position);
  int FFlush();
  void Rewind();
  void Clearerr();
  int FEof();
  void Setbuf(bool on);

  int FError();
  std::string Errorstr();
  int Errno();

  void VerifyFile() const;
  bool SpecifyAccess(const char* mode);

  bool IsOpen() const { return Stream != nullptr; }
  const std::string& GetFileName() const { return FileName; }
  unsigned GetOpenFlags() const { return OpenFlags; }
  unsigned GetPermissionFlags() const { return PermissionFlags; }
  /// The underlying stream, for callers that need a descriptor (fsync).
  std::FILE* GetStream() const { return Stream; }

 private:
  void VerifyRead() const;
  void VerifyWrite() const;

  std::string FileName;
  std::FILE* Stream;
  unsigned OpenFlags;
  unsigned PermissionFlags;
  bool OpenFailed;
  char* Buffer;
  bool Borrowed = false;
};
