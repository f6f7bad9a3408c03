// The files every program relies on: an output appears whole or not at all,
// and an earlier file survives every failure; inputs read back exactly.
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

TEST(AtomicFile, FailsWhereItCannotBeCreated) {
  TempDir dir;
  platform::AtomicFile file;
  EXPECT_FALSE(file.create(dir.file("missing/Out.txt")));
  EXPECT_FALSE(file.write("x"));
  EXPECT_FALSE(file.commit());
}

// Missing files and folders, as plug-ins and as lexicons, are refused in
// the translator's malformed-input table.
TEST(InputFile, ReadsFilesWhole) {
  TempDir dir;
  const std::string bytes = std::string("plug\0in", 7) + std::string(100000, 'x');
  dir.write("Mod.esp", bytes);
  dir.write("Empty.esp", "");
  for (const auto& [name, expected] :
       {std::pair<std::string, std::string>{"Mod.esp", bytes}, {"Empty.esp", ""}}) {
    platform::InputFile input;
    ASSERT_TRUE(input.read(dir.file(name))) << name;
    EXPECT_EQ(input.bytes(), expected) << name;
    std::string contents = "stale";
    ASSERT_TRUE(platform::read_file(dir.file(name), &contents)) << name;
    EXPECT_EQ(contents, expected) << name;
  }
}

}  // namespace
}  // namespace quillaret::testing
