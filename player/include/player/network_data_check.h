#pragma once

#include <cstdint>
#include <string>

class NxFile;
class NxNeuralBase;

// The layout of a network data file, judged in one place so that the game
// and the lab's inspect never disagree on which file is sound: NUM_LEVELS
// blocks of LEVEL_BLOCK_BYTES and nothing after them; block k holds level
// k's low then high weights record, both ending within the block (what is
// left of it is unused).
namespace network_data {

// Bytes of a file of `fileBytes` past its four level blocks: the game never
// writes them, so a file that has any is not one it wrote.
long BytesPastLevelBlocks(long fileBytes);

struct BlockCheck {
  long FileBytes = 0;
  bool Reached = false;   // the file reaches the block's start
  bool LowRead = false;   // the low network's record was valid and taken
  bool HighRead = false;  // after it, so was the high network's
  bool Overruns = false;  // the records read run past the block's end
  long TrailingBytes() const { return BytesPastLevelBlocks(FileBytes); }
  bool Sound() const { return TrailingBytes() == 0 && Reached && LowRead && HighRead && !Overruns; }
};

// Reads `level`'s block of `file` into `low` and `high` (a network takes a
// record only when all of it is valid) and judges the block and the file's
// length. Throws what NxFile throws.
BlockCheck ReadLevelBlock(NxFile& file, uint32_t level, NxNeuralBase& low, NxNeuralBase& high);

// Whether `level`'s block of the data file at `path` is sound, on networks
// of the game's own: empty when it is, otherwise what is wrong (naming the
// file and the level as the user counts it, 1..4).
std::string CheckLevelBlock(const std::string& path, uint32_t level);

}  // namespace network_data
