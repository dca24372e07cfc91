#include "neural/safe_save.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "neural/exceptions.h"
#include "net_fixture.h"
#include "test_files.h"
#include "test_support.h"

namespace {

namespace fs = std::filesystem;

}  // namespace

TEST(SafeSave, NothingPlantedAtATemporaryNameOrTheDestinationIsFollowed) {
  ScratchDirectory dir;
  const std::string victim = dir.Path("victim");
  std::ofstream(victim) << "keep";
  const std::string weights = dir.Path("net.wts");
  // Links at the names a plain save would use.
  for (const char* suffix : {".new", ".tmp", "~"}) fs::create_symlink(victim, weights + suffix);
  NetPtr net(CreateTempDiffNet(TwoLayerConfig({2, 1}, {1, 1}), 0.7));
  ASSERT_TRUE(net->WriteWeights(weights.c_str(), VERSION_0));
  EXPECT_EQ(FileText(victim), "keep");
  EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(weights)));
  EXPECT_EQ(dir.Names(), (std::set<std::string>{"victim", "net.wts", "net.wts.new", "net.wts.tmp", "net.wts~"}));

  // A link, a FIFO or a directory at the destination is refused and stays.
  const std::string link = dir.Path("link.wts"), fifo = dir.Path("fifo.wts"), folder = dir.Path("folder.wts");
  fs::create_symlink(victim, link);
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  fs::create_directory(folder);
  for (const std::string& path : {link, fifo, folder}) {
    try {
      net->WriteWeights(path.c_str(), VERSION_0);
      ADD_FAILURE() << path << " was written";
    } catch (const XCFileBad& error) {
      EXPECT_NE(std::string(error.what()).find(path), std::string::npos) << error.what();
    }
  }
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_TRUE(fs::is_fifo(fifo));
  EXPECT_TRUE(fs::is_directory(folder));
  EXPECT_EQ(FileText(victim), "keep");
  EXPECT_EQ(dir.Names().size(), 8u);  // no temporary file left behind
}

TEST(SafeSave, AReplacedFileKeepsItsPermissionsAndMessagesNameTheCallersFile) {
  ScratchDirectory dir;
  const std::string weights = dir.Path("net.wts");
  NetPtr net(CreateTempDiffNet(TwoLayerConfig({2, 1}, {1, 1}), 0.7));
  ASSERT_TRUE(net->WriteWeights(weights.c_str(), VERSION_0));
  ASSERT_EQ(chmod(weights.c_str(), 0640), 0);
  ASSERT_TRUE(net->WriteWeights(weights.c_str(), VERSION_1));
  struct stat info;
  ASSERT_EQ(stat(weights.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);

  const std::string missing = dir.Path("no-such-dir/x.wts");
  try {
    net->WriteWeights(missing.c_str(), VERSION_0);
    ADD_FAILURE() << "written into a missing directory";
  } catch (const XCFileBad& error) {
    EXPECT_EQ(std::string(error.what()).find(".new"), std::string::npos) << error.what();
    EXPECT_NE(std::string(error.what()).find(missing), std::string::npos) << error.what();
  }

  // A save dropped before its commit leaves the old file and nothing else.
  {
    NxSafeSave save(weights);
    ASSERT_TRUE(save.Opened());
    std::fputs("half", save.GetStream());
  }
  EXPECT_TRUE(net->ReadWeights(weights.c_str()));
  EXPECT_EQ(dir.Names(), std::set<std::string>{"net.wts"});
}
