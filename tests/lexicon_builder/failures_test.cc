// Each way quillaret-lexicon can fail: its message, its exit status, and
// every file left as it was; and the executable as users run it.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>

#include "lexicon_builder/builder_test_support.h"

namespace quillaret::testing {
namespace {

using namespace builder;
namespace fs = std::filesystem;
using namespace std::string_literals;

// Every file under `folder` with its bytes.
std::map<std::string, std::string> snapshot(const fs::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    files[entry.path().string()] = entry.is_regular_file() ? read_file(entry.path().string()) : "/";
  }
  return files;
}

TEST(LexiconBuilderFailures, EachIsExplainedAndChangesNothing) {
  TempDir dir;
  dir.write("en.esp", named("WEAP", "dagger", "Iron Dagger"));
  dir.write("fr.esp", named("WEAP", "dagger", "Dague"));
  dir.write("other.esp", named("WEAP", "sword", "Epee"));
  dir.write("damaged.esp", named("WEAP", "dagger", "Dague", {subrecord("XXXX", "")}));
  dir.write("cut.esp", named("WEAP", "dagger", "Dague").substr(0, 30));
  const std::string en = dir.file("en.esp"), fr = dir.file("fr.esp"), lex = dir.file("lex");

  const auto lexicon = [&](const char* name, std::string bytes) {
    return [=, &dir] { dir.write("lex/"s + name, bytes); };
  };
  const auto folder = [&](const char* name) { return [=] { fs::create_directory(fs::path(lex) / name); }; };
  struct Case {
    std::vector<std::string> args;  // after the program
    std::function<void()> prepare;  // of the folder `lex`
    std::string message;            // the console's last lines
  };
  const std::vector<Case> cases = {
      {{en}, [] {}, "in FOLDER (by default the current folder); details in lexique_enfr_report.txt."},
      {{en, dir.file("missing.esp"), lex}, [] {}, "cannot read " + dir.file("missing.esp")},
      {{en, dir.file("damaged.esp"), lex}, [] {},
       dir.file("damaged.esp") + " is damaged\nXXXX(3), size=0, prev=2, next=-1, parent=0, left=0"},
      {{en, dir.file("cut.esp"), lex}, [] {}, dir.file("cut.esp") + " is damaged"},  // no reader's line
      {{en, dir.file("other.esp"), lex}, [] {},
       en + " and " + dir.file("other.esp") + " share no record ID: they are not a plug-in and its translation"},
      {{en, fr, en}, [] {}, "cannot write in " + en + ": not a folder that can be created"},
      {{en, fr, lex}, lexicon("lexique_enfr_fact.txt", "\"A\"\n\"B\"\n\0\"C\"\n\"D\"\n"s),
       "lexique_enfr_fact.txt holds a NUL byte, after which the translator reads nothing: correct it, then "
       "run again"},
      {{en, fr, lex}, lexicon("lexique_enfr_fact.txt", "\"A\"\n\"B"),
       "lexique_enfr_fact.txt ends inside a string: its last double quote is missing: correct it, then run "
       "again"},
      {{en, fr, lex}, lexicon("lexique_enfr_dial.txt", "\"A\"\n\"B\"\n\"C\"\n"),
       "lexique_enfr_dial.txt ends with an English text without its French text: correct it, then run again"},
      {{en, fr, lex}, folder("lexique_enfr_fact.txt"), "cannot read " + lex + "/lexique_enfr_fact.txt"},
      // The last step: every file is written, none has replaced its predecessor yet.
      {{en, fr, lex}, folder("lexique_enfr_report.txt"),
       "lexique_enfr_report.txt; the lexicons were left as they were"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    fs::remove_all(lex);
    fs::create_directory(lex);
    dir.write("lex/lexique_enfr_name.txt", "\"Iron Dagger\"\r\n\"Dague de fer\"\r\n");
    c.prepare();
    const auto before = snapshot(dir.path());
    std::vector<std::string> args = {"quillaret-lexicon"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const RunResult run = build_lexicons(args);
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.output.ends_with(c.message + "\n")) << run.output;
    EXPECT_EQ(snapshot(dir.path()), before);  // no temporary file either
  }
}

// The executable as users get it, run by a user who may not write in the folder.
TEST(LexiconBuilderFailures, ExecutableInAFolderItMayNotWriteIn) {
  TempDir dir;
  fs::copy_file(QUILLARET_LEXICON_EXECUTABLE, dir.file("quillaret-lexicon"));
  dir.write("en.esp", named("WEAP", "dagger", "Iron Dagger"));
  dir.write("fr.esp", named("WEAP", "dagger", "Dague"));
  fs::create_directory(dir.path() / "locked");
  fs::permissions(dir.path() / "locked", fs::perms::owner_write, fs::perm_options::remove);
  const std::string program = dir.file("quillaret-lexicon");
  const RunResult run =
      run_program(program, {program, "en.esp", "fr.esp", "locked"}, dir.path().string(), true);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.output, "English: en.esp\nFrench: fr.esp\ncannot write locked/lexique_enfr_report.txt; the lexicons "
                        "were left as they were\n");
  EXPECT_EQ(listing(dir.path() / "locked"), "");
}

}  // namespace
}  // namespace quillaret::testing
