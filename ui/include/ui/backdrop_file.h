#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "table/bitmap.h"
#include "ui/backdrop_message.h"
#include "ui/bmp_file.h"

// Reading scenery and backdrop files, and writing BACKIMG.QLF, without any
// toolkit: the window's side only decodes bytes this code has checked.

constexpr const char* BACKDROP_FILE_NAME = "BACKIMG.QLF";
constexpr size_t BACKDROP_MAX_FILE_BYTES = 160u * 1024u * 1024u;

struct BmpFileRead {
  std::vector<uint8_t> Bytes;
  BmpInfo Info;
  // The cause text of a failure ("Cannot access ...", "GDI error ...",
  // "Insufficient memory ..."); null when the bytes may be decoded.
  const char* Cause = nullptr;
  bool Compressed = false;  // run-length encoded; Cause is null then
};

// Reads a bitmap file, judging its length by `length` before reading its
// pixel data: EXACT for BACKIMG.QLF, which only the game writes, AT_LEAST
// for a bitmap chosen from elsewhere.
BmpFileRead ReadBmpFile(const std::string& path, BmpLength length = BmpLength::AT_LEAST);

// Whether the file begins as a Windows bitmap does ("BM"): such a file is
// read and judged as a bitmap, anything else as a picture of another format.
bool StartsAsBmp(const std::string& path);

// Pictures of other formats (PNG, JPEG, ...) are compressed: a file larger
// than this is never a backdrop worth decoding.
constexpr size_t PICTURE_MAX_FILE_BYTES = 64u * 1024u * 1024u;

struct PictureFileRead {
  std::vector<uint8_t> Bytes;
  const char* Cause = nullptr;  // as for BmpFileRead; null when the bytes may be decoded
};

// Reads a picture file whole, refusing what is no regular file or larger
// than PICTURE_MAX_FILE_BYTES before reading it.
PictureFileRead ReadPictureFile(const std::string& path);

// cause + path + ". Using default backdrop instead." under the scenery error caption.
BackdropMessage LoadFailureMessage(const char* cause, const std::string& path);
// cause + path + ". Continuing with current backdrop instead." under the new-scenery caption.
BackdropMessage ChoiceFailureMessage(const char* cause, const std::string& path);
BackdropMessage CompressedMessage();

// Writes the picture as a 24-bit bitmap through a sibling file, so that a
// failed write keeps the previous file. The message when writing failed.
std::optional<BackdropMessage> WriteBackdropFile(const std::string& path, const NxBitmap& picture);
