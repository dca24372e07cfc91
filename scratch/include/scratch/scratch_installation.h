#pragma once

#include <string>

#include "scratch/scratch_directory.h"

// A scratch directory set up as the program's installation and made the
// process's installation and configuration directory: the default networks
// (QLDEFLT.QLF) and, in PLAYER/, the player's learned networks (QLPLAY.QLF),
// both copies of `networks`, or freshly initialised networks seeded by `seed`
// when `networks` is empty. Failed() says when any of that went wrong.
class ScratchInstallation : public ScratchDirectory {
 public:
  explicit ScratchInstallation(const std::string& kind = "installation", const std::string& networks = "",
                               unsigned seed = 11);

  // A file of the player configuration, beside QLPLAY.QLF.
  std::string PlayerPath(const std::string& name) const { return Path(PLAYER_FOLDER) + "/" + name; }
  std::string PlayerDirectory() const { return Path(PLAYER_FOLDER) + "/"; }

  static constexpr const char* PLAYER_FOLDER = "PLAYER";

 private:
  // Empty when the data files are in place, otherwise what went wrong.
  std::string Fill(const std::string& networks, unsigned seed);
};
