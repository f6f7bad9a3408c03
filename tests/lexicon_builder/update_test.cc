// Building into a folder that already holds lexicons: what the user wrote
// stays byte for byte, new pairs follow, and a failed run changes nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "lexicon_builder/builder_test_support.h"
#include "support/plugin_builder.h"

namespace quillaret::testing {
namespace {

using namespace builder;
using namespace std::string_literals;

std::string weapon(const char* id, const char* name) {
  return record("WEAP", {subrecord("NAME", zstring(id)), subrecord("FNAM", zstring(name))});
}

struct Folder {
  TempDir dir;
  std::string build(const std::string& english, const std::string& french, int status = 0) {
    dir.write("en.esp", english);
    dir.write("fr.esp", french);
    const BuildRun run =
        build_lexicons({"quillaret-lexicon", dir.file("en.esp"), dir.file("fr.esp"), dir.file("lex")});
    EXPECT_EQ(run.status, status) << run.console;
    EXPECT_EQ(run.waits, 1);
    return run.console;
  }
  std::string read(const char* name) const { return dir.read(std::string("lex/") + name); }
  void write(const char* name, std::string_view bytes) const { dir.write(std::string("lex/") + name, bytes); }
};

const std::string kEnglish = weapon("dagger", "Iron Dagger") + weapon("key", "Iron Key");
const std::string kFrench = weapon("dagger", "Dague de fer") + weapon("key", "Clef de fer");

TEST(LexiconUpdate, KeepsTheUsersPairsAndAppendsNewOnes) {
  Folder folder;
  std::filesystem::create_directory(folder.dir.path() / "lex");
  // A corrected pair, a comment, LF line ends and no final line end.
  const std::string names =
      "; corrected by hand\n\"Iron Dagger\"\n\"Dague de fer (corrig\xe9"
      "e)\"";
  folder.write("lexique_enfr_name.txt", names);
  // A lexicon that gains nothing stays as it is, even without a final line end.
  folder.write("lexique_enfr_fact.txt", "\"Guild\"\n\"Guilde\"");
  const std::string console = folder.build(kEnglish, kFrench);
  EXPECT_EQ(folder.read("lexique_enfr_fact.txt"), "\"Guild\"\n\"Guilde\"");
  const std::string appended = names + "\r\n\"Iron Key\"\r\n\"Clef de fer\"\r\n";
  EXPECT_EQ(folder.read("lexique_enfr_name.txt"), appended);
  EXPECT_TRUE(console.ends_with("lexique_enfr_name.txt: 1 added, 0 kept, 1 conflicting, 0 skipped\n"))
      << console;
  EXPECT_NE(folder.read("lexique_enfr_report.txt")
                .find("  \"Iron Dagger\": kept \"Dague de fer (corrig\xe9"
                      "e)\" from the lexicon\r\n"
                      "    the files give \"Dague de fer\": WEAP \"dagger\"\r\n"),
            std::string::npos);
  // The translator reads the user's pair and the new one.
  const Lexicon loaded(appended);
  ASSERT_EQ(loaded.file_entries().size(), 2u);
  EXPECT_EQ(loaded.find_exact("Iron Dagger")->target,
            "Dague de fer (corrig\xe9"
            "e)");
  EXPECT_EQ(loaded.find_exact("Iron Key")->target, "Clef de fer");

  // Again: nothing new, every file as it was.
  const std::string again = folder.build(kEnglish, kFrench);
  EXPECT_EQ(folder.read("lexique_enfr_name.txt"), appended);
  EXPECT_EQ(folder.read("lexique_enfr_dial.txt"), "");
  EXPECT_TRUE(again.ends_with("lexique_enfr_name.txt: 0 added, 1 kept, 1 conflicting, 0 skipped\n")) << again;

  // Another pair into the same folder (a master after the game's own):
  // its pairs follow.
  folder.build(weapon("tri", "Tribunal Dagger"), weapon("tri", "Dague du Tribunal"));
  EXPECT_EQ(folder.read("lexique_enfr_name.txt"),
            appended + "\"Tribunal Dagger\"\r\n\"Dague du Tribunal\"\r\n");
}

// Every file of the folder, by name.
std::vector<std::pair<std::string, std::string>> contents(const TempDir& dir) {
  std::vector<std::pair<std::string, std::string>> files;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path() / "lex")) {
    const std::string name = entry.path().filename().string();
    files.emplace_back(name, entry.is_regular_file() ? read_file(entry.path().string()) : "<folder>");
  }
  std::sort(files.begin(), files.end());
  return files;
}

TEST(LexiconUpdate, AFailedRunLeavesEveryFileAsItWas) {
  struct Case {
    const char* name;
    const char* file;      // written into the folder first
    std::string contents;  // "" for a folder in its place
    std::string message;   // in the run's last console line
  };
  const std::vector<Case> cases = {
      {"a NUL byte", "lexique_enfr_fact.txt", "\"A\"\n\"B\"\n\0\"C\"\n\"D\"\n"s,
       "holds a NUL byte, after which the translator reads nothing: correct it, then run again"},
      {"an unclosed string", "lexique_enfr_fact.txt", "\"A\"\n\"B",
       "ends inside a string: its last double quote is missing: correct it, then run again"},
      {"a source without target", "lexique_enfr_fact.txt", "\"A\"\n\"B\"\n\"C\"\n",
       "ends with an English text without its French text: correct it, then run again"},
      {"an unreadable lexicon", "lexique_enfr_dial.txt", "", "cannot read "},
      {"a report that cannot be replaced", "lexique_enfr_report.txt", "",
       "lexique_enfr_report.txt; the lexicons were left as they were"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Folder folder;
    std::filesystem::create_directory(folder.dir.path() / "lex");
    folder.write("lexique_enfr_name.txt", "\"Iron Dagger\"\r\n\"Dague\"\r\n");
    if (c.contents.empty()) {
      std::filesystem::create_directory(folder.dir.path() / "lex" / c.file);
    } else {
      folder.write(c.file, c.contents);
    }
    const auto before = contents(folder.dir);
    const std::string console = folder.build(kEnglish, kFrench, 1);
    EXPECT_NE(console.substr(console.rfind('\n', console.size() - 2)).find(c.message), std::string::npos)
        << console;
    // No temporary file is left either.
    EXPECT_EQ(contents(folder.dir), before);
  }
}

}  // namespace
}  // namespace quillaret::testing
