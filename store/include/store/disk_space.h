#pragma once

#include <cstdint>
#include <string>

// The space a new configuration needs, by the display's colour resolution
// (the backdrop image it gets grows with it).
uint64_t ConfigurationSpaceNeeded(uint32_t bitsPerPixel);

// Bytes an unprivileged user may still write on the file system holding
// `path`; 0 when it cannot be asked.
uint64_t FreeBytes(const std::string& path);

// The mount point of the file system holding `path`: what stands for a
// drive in messages about free space.
std::string VolumeOf(const std::string& path);
