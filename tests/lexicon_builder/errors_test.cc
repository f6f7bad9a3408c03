// What quillaret-lexicon says when it cannot build, and that it then
// changes nothing; and the executable as users run it.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "lexicon_builder/builder_test_support.h"
#include "plugin/plugin_view.h"
#include "support/plugin_builder.h"
#include "support/run_program.h"

namespace quillaret::testing {
namespace {

using namespace builder;

const std::string kEnglish =
    record("WEAP", {subrecord("NAME", zstring("dagger")), subrecord("FNAM", zstring("Iron Dagger"))});
const std::string kFrench =
    record("WEAP", {subrecord("NAME", zstring("dagger")), subrecord("FNAM", zstring("Dague"))});

TEST(LexiconBuilderErrors, EachFailureIsExplainedAndChangesNothing) {
  TempDir dir;
  dir.write("en.esp", kEnglish);
  dir.write("fr.esp", kFrench);
  dir.write("other.esp", record("WEAP", {subrecord("NAME", zstring("sword"))}));
  dir.write("damaged.esp", kFrench + "XXXX" + std::string(12, '\0'));
  dir.write("file", "");
  PluginView damaged;
  std::string diagnostic;
  ASSERT_FALSE(damaged.open(dir.file("damaged.esp"), &diagnostic));

  const std::string en = dir.file("en.esp"), fr = dir.file("fr.esp");
  const auto head = [](const std::string& english, const std::string& french) {
    return "English: " + english + "\nFrench: " + french + "\n";
  };
  struct Case {
    std::vector<std::string> args;  // after the program
    std::string console;
  };
  const std::vector<Case> cases = {
      {{en},
       "usage: quillaret-lexicon ENGLISH FRENCH [FOLDER]\n"
       "Pairs the texts of an English plug-in with those of its French translation and\n"
       "adds them to lexique_enfr_dial.txt, lexique_enfr_fact.txt and lexique_enfr_name.txt\n"
       "in FOLDER (by default the current folder); details in lexique_enfr_report.txt.\n"},
      {{dir.file("missing.esp"), fr},
       head(dir.file("missing.esp"), fr) + "cannot read " + dir.file("missing.esp") + "\n"},
      {{en, dir.file("missing.esp")},
       head(en, dir.file("missing.esp")) + "cannot read " + dir.file("missing.esp") + "\n"},
      {{en, dir.file("damaged.esp")}, head(en, dir.file("damaged.esp")) + diagnostic + "\n"},
      {{en, dir.file("other.esp")},
       head(en, dir.file("other.esp")) + en + " and " + dir.file("other.esp") +
           " share no record ID: they are not a plug-in and its translation\n"},
      {{en, fr, dir.file("file")},
       head(en, fr) + "cannot write in " + dir.file("file") + ": not a folder that can be created\n"},
      {{en, fr, dir.file("file/sub")},
       head(en, fr) + "cannot write in " + dir.file("file/sub") + ": not a folder that can be created\n"},
  };
  const std::string before = dir.listing();
  for (const Case& c : cases) {
    std::vector<std::string> args = {"quillaret-lexicon"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const BuildRun run = build_lexicons(args);
    EXPECT_EQ(run.status, 1) << c.console;
    EXPECT_EQ(run.console, c.console);
    EXPECT_EQ(run.waits, 1) << c.console;
    EXPECT_EQ(dir.listing(), before) << c.console;
  }
  EXPECT_NE(diagnostic.find(" is damaged\nXXXX("), std::string::npos) << diagnostic;
}

// The executable as users get it: it reads its arguments, ends at once on
// an empty standard input, and reports a folder it may not write in.
TEST(LexiconBuilderErrors, Executable) {
  TempDir dir;
  std::filesystem::copy_file(QUILLARET_LEXICON_EXECUTABLE, dir.file("quillaret-lexicon"));
  dir.write("en.esp", kEnglish);
  dir.write("fr.esp", kFrench);
  std::filesystem::create_directory(dir.path() / "locked");
  std::filesystem::permissions(dir.path() / "locked", std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::remove);
  const std::string program = dir.file("quillaret-lexicon");
  const RunResult locked =
      run_program(program, {program, "en.esp", "fr.esp", "locked"}, dir.path().string(), true);
  EXPECT_EQ(locked.status, 1);
  EXPECT_EQ(locked.output,
            "English: en.esp\nFrench: fr.esp\ncannot write locked/lexique_enfr_report.txt; "
            "the lexicons were left as they were\n");
  const RunResult built = run_program(program, {program, "en.esp", "fr.esp"}, dir.path().string());
  EXPECT_EQ(built.status, 0);
  EXPECT_EQ(
      built.output,
      "English: en.esp\nFrench: fr.esp\nUnpaired cells and topics: 0\nReport: ./lexique_enfr_report.txt\n"
      "lexique_enfr_dial.txt: 0 added, 0 kept, 0 conflicting, 0 skipped\n"
      "lexique_enfr_fact.txt: 0 added, 0 kept, 0 conflicting, 0 skipped\n"
      "lexique_enfr_name.txt: 1 added, 0 kept, 0 conflicting, 0 skipped\n");
  EXPECT_EQ(dir.read("lexique_enfr_name.txt"), "\"Iron Dagger\"\r\n\"Dague\"\r\n");
}

}  // namespace
}  // namespace quillaret::testing
