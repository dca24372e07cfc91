#include "neural/file.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "neural/exceptions.h"
#include "test_support.h"

TEST(FileOpen, MissingFileThrowsBadWithSystemText) {
  std::string name = TempPath("does-not-exist.bin");
  std::remove(name.c_str());
  try {
    NxFile file(name, "rb", true);
    FAIL() << "expected XCFileBad";
  } catch (const XCFileBad& e) {
    EXPECT_EQ(e.GetMessage(), "Error in file " + name + ":\n\nNo such file or directory");
  }
  NxFile closed(name, "rb", false);
  EXPECT_THROW(closed.FOpen("rb"), XCFileBad);
  EXPECT_TRUE(closed.FError());  // a failed open counts as an error
}

// Reading a FIFO would wait for a writer and a device never ends: both
// read modes refuse anything but a regular file with the usual exception.
TEST(FileOpen, ReadModesRefuseWhatIsNoRegularFile) {
  ScratchDirectory scratch;
  const std::string name = scratch.Path("data.bin");
  BlockingGuard guard(20);
  for (BadFile kind : NOT_REGULAR_FILES) {
    PlantBadFile(kind, name);
    for (const char* mode : {"rb", "r+b", "rt"}) {
      try {
        NxFile file(name, mode, true);
        ADD_FAILURE() << Describe(kind) << " opened with " << mode;
      } catch (const XCFileBad& e) {
        EXPECT_EQ(e.GetMessage().rfind("Error in file " + name + ":\n\n", 0), 0u) << Describe(kind);
      }
    }
  }
  PlantBadFile(BadFile::FIFO, name);
  try {
    NxFile file(name, "rb", true);
  } catch (const XCFileBad& e) {
    EXPECT_EQ(e.GetMessage(), "Error in file " + name + ":\n\nNot a regular file");
  }
}

TEST(FileOpen, InvalidModeNamesTheModeString) {
  NxFile file(TempPath("x.bin"), "x", false);
  try {
    file.FOpen("x");
    FAIL();
  } catch (const XCFileInvalidMode& e) {
    EXPECT_EQ(e.GetMessage(), "Error in file " + TempPath("x.bin") + ":\n\nInvalid access mode string x");
  }
}

TEST(FileAccess, ModeStringSetsFlagsAndPermissions) {
  NxFile file("unused", "r", false);
  struct Case {
    const char* mode;
    unsigned flags;
    unsigned permissions;
  } cases[] = {
      {"r", 0x0000, 0x0000},       {"rb", 0x8000, 0x0000},  {"w", 0x0301, 0x0080},  {"a", 0x0901, 0x0080},
      {"r+b", 0x8002, 0x0180},     {"rb+", 0x8002, 0x0180}, {"wt", 0x4301, 0x0080}, {"w+", 0x0302, 0x0180},
      {"a+t", 0x4902, 0x0180},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(file.SpecifyAccess(c.mode)) << c.mode;
    EXPECT_EQ(file.GetOpenFlags(), c.flags) << c.mode;
    EXPECT_EQ(file.GetPermissionFlags(), c.permissions) << c.mode;
  }
  EXPECT_FALSE(file.SpecifyAccess("x"));
  EXPECT_FALSE(file.SpecifyAccess(""));
}

TEST(FileAccess, ReadAndWriteChecksFollowTheMode) {
  std::string name = TempPath("modes.bin");
  {
    NxFile file(name, "wb", true);
    int value = 42;
    EXPECT_EQ(file.FWrite(&value, sizeof value, 1), 1u);
    EXPECT_THROW(file.FRead(&value, sizeof value, 1), XCFileWriteOnly);
    EXPECT_THROW(file.FGetc(), XCFileWriteOnly);
  }
  {
    NxFile file(name, "rb", true);
    int value = 0;
    EXPECT_THROW(file.FWrite(&value, sizeof value, 1), XCFileReadOnly);
    EXPECT_THROW(file.FPuts("x"), XCFileReadOnly);
    EXPECT_EQ(file.FRead(&value, sizeof value, 1), 1u);
    EXPECT_EQ(value, 42);
    EXPECT_EQ(file.FRead(&value, sizeof value, 1), 0u);  // short reads are counted, not thrown
  }
  {
    NxFile file(name, "r+b", true);
    int value = 7;
    EXPECT_EQ(file.FWrite(&value, sizeof value, 1), 1u);
    file.Rewind();
    EXPECT_EQ(file.FRead(&value, sizeof value, 1), 1u);
    EXPECT_EQ(value, 7);
  }
}

TEST(FileAccess, ClosedFileAndBadSeekAreReported) {
  std::string name = TempPath("closed.bin");
  NxFile file(name, "wb", true);
  try {
    file.FSeek(0, 3);
    FAIL();
  } catch (const XCFileInvalidSeek& e) {
    EXPECT_EQ(e.GetMessage(), "Error in file " + name + ":\n\nIllegal file seek specification");
  }
  file.FClose();
  file.FClose();  // closing twice is harmless
  try {
    file.FTell();
    FAIL();
  } catch (const XCFileClosed& e) {
    EXPECT_EQ(e.GetMessage(), "Error in file " + name + ":\n\nAttempt to access closed file");
  }
  EXPECT_THROW(file.FError(), XCFileClosed);
  EXPECT_THROW(file.FPrintf("%d", 1), XCFileClosed);
}

TEST(FileText, FormattedWriteAndReadRoundTrip) {
  std::string name = TempPath("text.txt");
  {
    NxFile file(name, "wt", true);
    file.Setbuf(true);
    file.FPrintf("LAYER : %d\n", 3);
  }
  NxFile file(name, "rt", true);
  char word[16];
  double value = 0;
  EXPECT_EQ(file.FScanf("%15s : %lf", word, &value), 2);
  EXPECT_STREQ(word, "LAYER");
  EXPECT_EQ(value, 3.0);
}

TEST(Exceptions, ComposedTexts) {
  EXPECT_EQ(XCLayerMismap(2, 0, "Y").GetMessage(), "Incompatible mapping of source layer 0 to target layer 2 in dimensionY");
  EXPECT_EQ(XCLayerOffset(3, 1, "X").GetMessage(), "Invalid pattern offset for source layer 1 and target layer 3 in dimensionX");
  EXPECT_EQ(XCNodeSpec(MULTIPLICATIVE, "NxNode or NxTDNode").GetMessage(),
            "Invalid MULTIPLICATIVE node type specification \tfor NxNode or NxTDNode object");
  EXPECT_EQ(XCNodeSourceType(OR, LINEAR).GetMessage(), "Nodes of type OR cannot have source \tnodes of type ");
  XCBase base("plain");
  EXPECT_THROW(base.Raise(), XCBase);
}
