// The output file every program writes: it appears whole or not at all, and
// an earlier file survives every failure. Inputs that read back exactly, and
// outputs that cannot be created, are pinned end to end (every plug-in and
// lexicon the programs read; an unwritable folder).
#include "platform/files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/temp_dir.h"

namespace quillaret::testing {
namespace {

namespace fs = std::filesystem;

TEST(AtomicFile, ReplacesOnlyOnCommitAndLeavesNoTemporary) {
  struct Case {
    const char* name;
    bool commit;
    std::string expected;  // Out.txt afterwards
  };
  const std::string big(300000, 'b');  // past the write buffer's direct-write size
  for (const Case& c : {Case{"committed", true, "small" + big}, Case{"abandoned", false, "earlier"}}) {
    TempDir dir;
    dir.write("Out.txt", "earlier");
    {
      platform::AtomicFile file;
      ASSERT_TRUE(file.create(dir.file("Out.txt"))) << c.name;
      ASSERT_TRUE(file.write("small")) << c.name;
      ASSERT_TRUE(file.write(big)) << c.name;
      // Nothing shows under the final name before the commit.
      EXPECT_EQ(dir.read("Out.txt"), "earlier") << c.name;
      if (c.commit) {
        EXPECT_TRUE(file.commit()) << c.name;
      }
    }
    EXPECT_EQ(dir.read("Out.txt"), c.expected) << c.name;
    EXPECT_EQ(listing(dir.path()), "Out.txt\n") << c.name;
  }
}

}  // namespace
}  // namespace quillaret::testing
