#pragma once

#include <cstdint>
#include <string>

// The frame title: "Quorla", the configuration in brackets unless it is
// "Default", and the variation.
std::string FrameTitle(const std::string& configuration, uint32_t variation);

// The introduction's line on the rules in force: the variation, the target
// and where to change them.
std::string IntroductionRulesText(uint32_t variation, uint32_t target);
