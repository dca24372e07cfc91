#pragma once

/// @file file.h
/// @brief NxFile, the checked file stream the library reads and writes through.

#include <cstdio>
#include <string>

#include "neural/export.h"

/// A checked wrapper around a buffered file stream. Every operation verifies
/// that the file is open and that the access mode allows it, and reports
/// violations and system errors as XCFile exceptions naming the file.
/// The wrapped calls return what the C library's call of the same name
/// returns (a count, EOF, a negative value...); only the checks throw. Text
/// and binary modes are the same on this platform.
class NX_EXPORT NxFile {
 public:
  /// Access bits derived from the mode string.
  /// GetOpenFlags() combines them; READ_ONLY is the absence of the two
  /// write bits. PERMIT_READ and PERMIT_WRITE make up GetPermissionFlags().
  ///@{
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
  ///@}
  static constexpr unsigned BUFFER_SIZE = 512;  ///< bytes of the buffer Setbuf() gives the stream

  /// A file of that name, opened at once with `mode` (see FOpen()) when
  /// `openNow`, else left closed until FOpen().
  /// @throws as FOpen() does, when opened at once.
  NxFile(std::string name, const char* mode, bool openNow);
  /// Works on a stream the caller opened and keeps open (a safe save's
  /// temporary file): closing leaves the stream alone. Messages name `name`.
  /// @throws XCFileInvalidMode for a mode FOpen() would refuse.
  NxFile(std::string name, std::FILE* borrowed, const char* mode);
  /// Closes the stream unless it is borrowed. Errors on closing go unreported
  /// here: call FClose() to hear of them.
  ~NxFile();

  /// A file is one open stream and cannot be copied.
  ///@{
  NxFile(const NxFile&) = delete;
  NxFile& operator=(const NxFile&) = delete;
  ///@}

  /// Opens the file with an fopen() mode: 'r', 'w' or 'a', then optionally
  /// '+' and 't' or 'b' in either order. Reading requires a regular file.
  /// Nothing happens when the file is open already.
  /// @throws XCFileInvalidMode for another mode; XCFileBad when the file
  /// cannot be opened, with the system's reason.
  void FOpen(const char* mode);
  /// Closes the file; a borrowed stream is flushed and left open. Nothing
  /// happens when it is closed already.
  /// @throws XCFileBad when flushing or closing fails, e.g. on a full disk.
  void FClose();
  /// Closes the present file (without reporting errors) and opens `name`
  /// with `mode`, as FOpen() does.
  /// @throws XCFileInvalidMode, before anything changes, for a bad mode;
  /// XCFileBad as FOpen().
  void FReopen(std::string name, const char* mode);

  /// The stdio calls of the same names on the open stream.
  /// @throws XCFileClosed when the file is not open; XCFileWriteOnly for a
  /// read from a file opened only for writing, XCFileReadOnly for a write to
  /// one opened only for reading.
  ///@{
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
  ///@}

  /// Positioning and state of the open stream, as the stdio calls. FSeek()'s
  /// origin is 0 (start), 1 (current) or 2 (end); FSetpos() and FGetpos()
  /// take a byte offset, and FGetpos() returns -1 when there is none.
  /// Setbuf(true) buffers fully through a BUFFER_SIZE buffer, Setbuf(false)
  /// not at all.
  /// @throws XCFileClosed when the file is not open; XCFileInvalidSeek for
  /// another origin.
  ///@{
  int FSeek(long offset, int origin);
  long FTell();
  int FSetpos(const long* position);
  int FGetpos(long* position);
  int FFlush();
  void Rewind();
  void Clearerr();
  int FEof();
  void Setbuf(bool on);
  ///@}

  /// The stream's error indicator; 1 for a file whose last opening failed.
  /// @throws XCFileClosed for a file that is closed and did not fail to open.
  int FError();
  /// The system's text for errno when FError() is set, else ""; throws as FError().
  std::string Errorstr();
  /// errno when FError() is set, else 0; throws as FError().
  int Errno();

  /// @throws XCFileClosed when the file is not open.
  void VerifyFile() const;
  /// Sets the open and permission flags from a mode string, as FOpen()
  /// reads it; false, with the flags unchanged, for a mode it refuses.
  bool SpecifyAccess(const char* mode);

  bool IsOpen() const { return Stream != nullptr; }  ///< whether a stream is open
  const std::string& GetFileName() const { return FileName; }  ///< the name messages give
  unsigned GetOpenFlags() const { return OpenFlags; }  ///< the access bits of the last mode
  unsigned GetPermissionFlags() const { return PermissionFlags; }  ///< PERMIT_READ and PERMIT_WRITE of the last mode
  /// The underlying stream, for callers that need a descriptor (fsync).
  std::FILE* GetStream() const { return Stream; }

 private:
  /// The open stream, once VerifyFile() has passed, and for ReadStream() and
  /// WriteStream() also the check of the access mode.
  ///@{
  std::FILE* OpenStream() const;
  std::FILE* ReadStream() const;
  std::FILE* WriteStream() const;
  ///@}

  std::string FileName;
  std::FILE* Stream = nullptr;
  unsigned OpenFlags = 0;
  unsigned PermissionFlags = 0;
  bool OpenFailed = false;
  char* Buffer = nullptr;
  bool Borrowed = false;
};
