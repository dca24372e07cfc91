#pragma once

#include <cstdint>
#include <string>

// The frame title: "Quorla", the configuration in brackets unless it is
// "Default", and the variation.
std::string FrameTitle(const std::string& configuration, uint32_t variation);
