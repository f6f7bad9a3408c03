// Building into a folder that already holds lexicons: what the user wrote
// stays byte for byte and wins, new pairs follow it.
#include <gtest/gtest.h>

#include "lexicon_builder/builder_test_support.h"

namespace quillaret::testing {
namespace {

using namespace builder;

TEST(LexiconUpdate, KeepsTheUsersPairsAndAppendsNewOnes) {
  TempDir dir;
  const std::string english = named("WEAP", "dagger", "Iron Dagger") + named("WEAP", "key", "Iron Key");
  const std::string french = named("WEAP", "dagger", "Dague de fer") + named("WEAP", "key", "Clef de fer");
  // A corrected pair, a comment, LF line ends and no final line end; and a
  // lexicon that gains nothing, which stays as it is.
  const std::string corrected = "Dague de fer (corrig\xe9" "e)";
  const std::string names = "; corrected by hand\n\"Iron Dagger\"\n\"" + corrected + "\"";
  dir.write("lexique_enfr_name.txt", names);
  dir.write("lexique_enfr_fact.txt", "\"Guild\"\n\"Guilde\"");
  const std::string console = build_from(dir, english, french).output;
  const std::string appended = names + "\r\n\"Iron Key\"\r\n\"Clef de fer\"\r\n";
  EXPECT_EQ(dir.read("lexique_enfr_name.txt"), appended);
  EXPECT_EQ(dir.read("lexique_enfr_fact.txt"), "\"Guild\"\n\"Guilde\"");
  EXPECT_TRUE(console.ends_with("lexique_enfr_name.txt: 1 added, 0 kept, 1 conflicting, 0 skipped\n")) << console;
  EXPECT_NE(dir.read("lexique_enfr_report.txt")
                .find("  \"Iron Dagger\": kept \"" + corrected + "\" from the lexicon\r\n"
                      "    the files give \"Dague de fer\": WEAP \"dagger\"\r\n"),
            std::string::npos);
  // Again: nothing new, nothing changed.
  EXPECT_TRUE(build_from(dir, english, french)
                  .output.ends_with("lexique_enfr_name.txt: 0 added, 1 kept, 1 conflicting, 0 skipped\n"));
  EXPECT_EQ(dir.read("lexique_enfr_name.txt"), appended);
  // Another pair into the same folder, as a master after the game's own.
  build_from(dir, named("WEAP", "tri", "Tribunal Dagger"), named("WEAP", "tri", "Dague du Tribunal"));
  EXPECT_EQ(dir.read("lexique_enfr_name.txt"), appended + "\"Tribunal Dagger\"\r\n\"Dague du Tribunal\"\r\n");
}

}  // namespace
}  // namespace quillaret::testing
